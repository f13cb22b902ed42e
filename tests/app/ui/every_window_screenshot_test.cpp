#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/ui/qt_convert.h"
#include "app/ui/vek_window.h"
#include "support/ui/workbench_fixture.h"

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
