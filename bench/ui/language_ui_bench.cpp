#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "bench/script_source.h"
#include "language/ui/macro_highlighter.h"
#include "objects/object_check.h"
#include "objects/object_document.h"
#include "objects/source_lines.h"

namespace {

// One key typed in a line half-way down a 10,000-line source shown in a text box: the check of
// the edited section and the drawing of what changed, as the source page does on each key press.
void highlightEditedSection(benchmark::State& state) {
    QStringList text;
    for (const std::string& line :
         vek::bench::scriptSource(static_cast<std::size_t>(state.range(0))))
        text << QString::fromStdString(line);
    QPlainTextEdit box;
    box.setPlainText(text.join(QLatin1Char('\n')));
    vek::ui::MacroHighlighter highlighter(box.document(), vek::sourceLineReading,
                                          std::make_unique<vek::SourceCheck>());
    box.resize(600, 400);
    box.show();
    QApplication::processEvents();  // the first drawing of the whole text
    // The "mvby" line of a script half-way down: after four header lines, scripts of eleven.
    const int line = 4 + static_cast<int>(state.range(0)) / 2 / 11 * 11 + 7;
    const QTextBlock block = box.document()->findBlockByNumber(line);
    int typed = 0;
    for (auto _ : state) {
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        if (++typed % 2 == 1) {
            cursor.insertText(QStringLiteral("1"));
        } else {
            cursor.deletePreviousChar();
        }
    }
    if (!highlighter.findings().empty())
        state.SkipWithError(highlighter.findings().front().text.english.c_str());
}
BENCHMARK(highlightEditedSection)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same key as the source page handles it: besides the highlighter, the document takes the
// whole text after each key (one typing step of the undo stack).
void keyIntoSourcePage(benchmark::State& state) {
    // The document outlives the box, whose last signals still reach it.
    vek::ObjectDocument document;
    QStringList text;
    for (const std::string& line :
         vek::bench::scriptSource(static_cast<std::size_t>(state.range(0))))
        text << QString::fromStdString(line);
    QPlainTextEdit box;
    box.setPlainText(text.join(QLatin1Char('\n')));
    vek::ui::MacroHighlighter highlighter(box.document(), vek::sourceLineReading,
                                          std::make_unique<vek::SourceCheck>());
    QObject::connect(&box, &QPlainTextEdit::textChanged,
                     [&] { document.typeSource(box.toPlainText().toUtf8().toStdString()); });
    box.resize(600, 400);
    box.show();
    QApplication::processEvents();
    const int line = 4 + static_cast<int>(state.range(0)) / 2 / 11 * 11 + 7;
    const QTextBlock block = box.document()->findBlockByNumber(line);
    int typed = 0;
    for (auto _ : state) {
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        if (++typed % 2 == 1) {
            cursor.insertText(QStringLiteral("1"));
        } else {
            cursor.deletePreviousChar();
        }
    }
    if (!highlighter.findings().empty())
        state.SkipWithError(highlighter.findings().front().text.english.c_str());
}
BENCHMARK(keyIntoSourcePage)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
