#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <optional>

#include "app/ui/qt_convert.h"
#include "app/ui/vek_window.h"
#include "support/ui/workbench_fixture.h"
#include "utilities/ui/about_window.h"
#include "utilities/ui/sound_player_window.h"

using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

// A stored value that is neither language keeps the designed texts.
const char* const kLanguages[] = {"english", "deutsch", "neither"};

TestWorkbench::Options inLanguage(const char* language) {
    TestWorkbench::Options options;
    options.vekIniText = std::string("[Language]\nLanguage=") + language + "\n";
    return options;
}

// One picture for each page of the window's page control, or one of the window.
void saveEveryPage(QWidget* window, const QString& name) {
    auto* pages = window->findChild<QTabWidget*>();
    if (!pages) return saveScreenshot(window, name);
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        saveScreenshot(window, name + QStringLiteral("-page%1").arg(page));
    }
}

// A control's text as shown (without the mnemonic's "&") and the width it has for it: a push
// button's frame and a check or radio button's indicator take their part. Nothing for controls
// whose text may wrap or that show a picture.
struct TextRoom {
    QString text;
    int room;
};
std::optional<TextRoom> textRoom(QWidget* control) {
    const auto shown = [](QString text) { return text.remove(QLatin1Char('&')); };
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->wordWrap() || !label->pixmap().isNull() || Qt::mightBeRichText(label->text()))
            return std::nullopt;
        return TextRoom{label->text(), label->contentsRect().width()};
    }
    if (auto* button = qobject_cast<QPushButton*>(control))
        return TextRoom{shown(button->text()), button->width() - 6};
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control)) {
        auto* button = static_cast<QAbstractButton*>(control);
        return TextRoom{shown(button->text()), button->width() - 18};
    }
    return std::nullopt;
}

// Every visible control of the window whose text is wider than its room.
QStringList cutTexts(QWidget* window) {
    QStringList cut;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window)) continue;
        const auto text = textRoom(control);
        if (!text || text->text.isEmpty()) continue;
        int widest = 0;
        for (const QString& line : text->text.split(QLatin1Char('\n')))
            widest = std::max(widest, control->fontMetrics().horizontalAdvance(line));
        if (widest > text->room)
            cut << QStringLiteral("%1 %2 \"%3\" needs %4, has %5")
                       .arg(window->objectName(), control->objectName(), text->text)
                       .arg(widest)
                       .arg(text->room);
    }
    return cut;
}

}  // namespace

// Pictures of every window, its pages and its menus in both languages, for a person to look at;
// set VEK_SCREENSHOT_DIR to a folder to take them.
class EveryWindowScreenshotTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyWindowInBothLanguages() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at every window");
        for (const char* language : kLanguages) {
            TestWorkbench bench(inLanguage(language));
            for (VekWindow* window : bench.workbench().allWindows()) {
                const QString name =
                    window->objectName() + QLatin1Char('-') + QLatin1String(language);
                window->show();
                saveEveryPage(window, name);
                for (QMenu* menu : window->findChildren<QMenu*>()) {
                    if (menu->objectName().isEmpty()) continue;
                    menu->adjustSize();
                    saveScreenshot(menu, name + QLatin1Char('-') + menu->objectName());
                }
                window->close();
            }
            showLoaded(bench, QLatin1String(language));
            showCataloguePicks(bench, QLatin1String(language));
        }
    }

    // No text of any window is cut off, in either language, on any page.
    void everyTextFitsItsControl() {
        QStringList cut;
        for (const char* language : {"english", "deutsch"}) {
            TestWorkbench bench(inLanguage(language));
            for (VekWindow* window : bench.workbench().allWindows()) {
                window->show();
                QCoreApplication::processEvents();
                auto* pages = window->findChild<QTabWidget*>();
                for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
                    if (pages) pages->setCurrentIndex(page);
                    QCoreApplication::processEvents();
                    cut << cutTexts(window);
                }
                window->close();
            }
        }
        cut.removeDuplicates();
        QVERIFY2(cut.isEmpty(),
                 qPrintable(fontSetName() + QStringLiteral(":\n") + cut.join(QLatin1Char('\n'))));
    }

    // The about window with its report (debug mode) and the sound player with its list.
    void theReportAndTheSoundList() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at every window");
        TestWorkbench::Options options = inLanguage("deutsch");
        options.debugMode = true;
        TestWorkbench bench(options);
        bench.windows().about->show();
        saveScreenshot(bench.windows().about, QStringLiteral("TForm9-debug"));
        bench.windows().about->close();
        bench.windows().soundPlayer->show();
        bench.windows().soundPlayer->FormActivate();
        saveScreenshot(bench.windows().soundPlayer, QStringLiteral("TForm3-listed"));
    }

  private:
    // The New Object Source window with a simple object picked, and the Add window for a genus.
    static void showCataloguePicks(TestWorkbench& bench, const QString& language) {
        QWidget* source = nullptr;
        for (VekWindow* window : bench.workbench().allWindows())
            if (window->objectName() == QStringLiteral("TForm11")) source = window;
        auto* tree = source->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
        auto pick = [&](const QString& text) {
            tree->setCurrentItem(
                tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0));
            QMetaObject::invokeMethod(source, "TreeView1Click");
        };
        source->show();
        tree->expandAll();
        pick(QStringLiteral("2 5 3 {Bouncing ball}"));
        saveScreenshot(source, QStringLiteral("TForm11-picked-") + language);
        pick(QStringLiteral("2 5 {Toys}"));
        source->findChild<QPushButton*>(QStringLiteral("Button4"))->click();
        for (VekWindow* window : bench.workbench().allWindows()) {
            if (window->objectName() != QStringLiteral("TForm12")) continue;
            saveScreenshot(window, QStringLiteral("TForm12-species-") + language);
            window->close();
        }
        source->close();
    }

    // The sprite editor with a sprite open and the object compiler with an object loaded, both
    // reached through their own menus.
    static void showLoaded(TestWorkbench& bench, const QString& language) {
        const std::filesystem::path game = bench.demo().gameDirectory();
        const std::pair<const char*, std::filesystem::path> loads[] = {
            {"OpenSpriteFile1", game / "Images" / "vekshow.spr"}, {"LoadCOB1", game / "SPTOP.COB"}};
        for (const auto& [action, file] : loads) {
            for (VekWindow* window : bench.workbench().allWindows()) {
                auto* item = window->findChild<QAction*>(QLatin1String(action));
                if (!item) continue;
                bench.dialogs().fileAnswers.push_back(fromPath(file));
                window->show();
                item->trigger();
                saveEveryPage(window, window->objectName() + QStringLiteral("-loaded-") + language);
                window->close();
            }
        }
    }
};

VEK_UI_TEST_MAIN(EveryWindowScreenshotTest)
#include "every_window_screenshot_test.moc"
