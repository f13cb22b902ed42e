#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "bench/script_source.h"
#include "language/ui/macro_highlighter.h"
#include "language/ui/source_model_link.h"
#include "objects/object_check.h"
#include "objects/object_document.h"
#include "objects/source_lines.h"

namespace {

// A script source of `lines` lines in a text box.
void fillBox(QPlainTextEdit& box, std::size_t lines) {
    QStringList text;
    for (const std::string& line : vek::bench::scriptSource(lines))
        text << QString::fromStdString(line);
    box.setPlainText(text.join(QLatin1Char('\n')));
}

// Types a key at the end of the "mvby" line of a script half-way down (after four header lines,
// scripts of eleven) and takes it back on the next round, once an iteration; the box is drawn
// first as a whole.
void typeHalfWayDown(benchmark::State& state, QPlainTextEdit& box,
                     const vek::ui::SourceModelLink& link) {
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
    if (!link.model().findings().empty())
        state.SkipWithError(link.model().findings().front().text.english.c_str());
}

// One key typed in a line half-way down a 10,000-line source shown in a text box: the check of
// the edited section and the drawing of what changed, as the source page does on each key press.
void highlightEditedSection(benchmark::State& state) {
    QPlainTextEdit box;
    fillBox(box, static_cast<std::size_t>(state.range(0)));
    vek::ui::SourceModelLink link(box.document(), vek::sourceLineReading,
                                  std::make_unique<vek::SourceCheck>());
    vek::ui::MacroHighlighter highlighter(box.document(), link);
    typeHalfWayDown(state, box, link);
}
BENCHMARK(highlightEditedSection)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same key as the source page handles it: besides the highlighter, the document takes the
// whole text after each key (one typing step of the undo stack).
void keyIntoSourcePage(benchmark::State& state) {
    // The document outlives the box, whose last signals still reach it.
    vek::ObjectDocument document;
    QPlainTextEdit box;
    fillBox(box, static_cast<std::size_t>(state.range(0)));
    vek::ui::SourceModelLink link(box.document(), vek::sourceLineReading,
                                  std::make_unique<vek::SourceCheck>());
    vek::ui::MacroHighlighter highlighter(box.document(), link);
    QObject::connect(&box, &QPlainTextEdit::textChanged,
                     [&] { document.typeSource(box.toPlainText().toUtf8().toStdString()); });
    typeHalfWayDown(state, box, link);
}
BENCHMARK(keyIntoSourcePage)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
