#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <set>

#include "app/text_table.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "app/ui/vek_window.h"
#include "support/ui/workbench_fixture.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

// What the language switch sets as a control's caption; nothing for kinds it gives none.
std::optional<QString> captionOf(QObject* control) {
    if (control->property("vekImage").toBool()) return std::nullopt;
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* action = qobject_cast<QAction*>(control)) return action->text();
    if (auto* group = qobject_cast<QGroupBox*>(control)) return group->title();
    if (auto* stack = qobject_cast<QStackedWidget*>(control->parent())) {
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parent()))
            return tabs->tabText(tabs->indexOf(static_cast<QWidget*>(control)));
    }
    return std::nullopt;
}

struct Tagged {
    QString name;  // window and control
    QObject* control;
    int tag;
};

std::vector<Tagged> taggedControls(TestWorkbench& bench) {
    std::vector<Tagged> tagged;
    for (VekWindow* window : bench.workbench().allWindows()) {
        for (QObject* control : window->findChildren<QObject*>()) {
            if (tagOf(control) != 0)
                tagged.push_back({window->objectName() + QLatin1Char(' ') + control->objectName(),
                                  control, tagOf(control)});
        }
    }
    return tagged;
}

}  // namespace

// Captions and hints come from the interface text table; only designed texts that differ from
// the table's stand in the code.
class InterfaceTextsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyTagUsedHasARowInTheTable() {
        TestWorkbench bench;
        const std::vector<int> rows = TextTable::builtIn().tags();
        const std::set<int> tableTags(rows.begin(), rows.end());
        const std::vector<Tagged> tagged = taggedControls(bench);
        QVERIFY(tagged.size() > 100);
        for (const Tagged& control : tagged) {
            QVERIFY2(tableTags.contains(control.tag),
                     qPrintable(control.name + QStringLiteral(" has tag %1").arg(control.tag)));
        }
    }

    // With a stored language that is neither value no language is applied: every tagged
    // control shows the table's English texts, except the few designed otherwise.
    void withoutALanguageTheTableTextsShowButTheDesignedOnes() {
        TestWorkbench::Options options;
        options.vekIniText = "[Language]\nLanguage=neither\n";
        TestWorkbench bench(options);
        const std::map<QString, QString> designed = {
            {QStringLiteral("TForm8 NewEggs1"), QStringLiteral("grendel eggs")},
            {QStringLiteral("TForm8 grenorneggs1"), QStringLiteral("grendel")},
            {QStringLiteral("TForm8 norneleggs1"), QStringLiteral("grenorn")},
            {QStringLiteral("TForm8 nornel1"), QStringLiteral("nornel")},
            {QStringLiteral("TForm10 MACfiles1"), QStringLiteral("MAC files")},
            {QStringLiteral("TForm10 Extractallmakrosandsaveasmakfiles1"),
             QStringLiteral("Extract all makros and save as .mak files")},
            {QStringLiteral("TForm10 Label2"), QStringLiteral("Send to Creatures:")},
            {QStringLiteral("TForm10 Label3"), QStringLiteral("Answer from Creatures:")},
            {QStringLiteral("TForm10 Button1"), QStringLiteral("Send it")},
        };
        const TextTable& table = TextTable::builtIn();
        for (const Tagged& control : taggedControls(bench)) {
            const auto found = designed.find(control.name);
            const QString wanted =
                found != designed.end() ? found->second : toQString(table.caption(control.tag, 0));
            // Image buttons show no caption; line edits and lists take hints only.
            if (const auto caption = captionOf(control.control);
                caption && !qobject_cast<QToolButton*>(control.control)) {
                QCOMPARE(*caption, wanted);
            }
            QCOMPARE(hintOf(control.control), toQString(table.hint(control.tag, 0)));
        }
    }
};

VEK_UI_TEST_MAIN(InterfaceTextsTest)
#include "interface_texts_test.moc"
