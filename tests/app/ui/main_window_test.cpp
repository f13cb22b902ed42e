#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolButton>
#include <filesystem>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/ui/help_window.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "gamelink/ui/command_interface_window.h"
#include "objects/ui/object_compiler_window.h"
#include "sprites/ui/sprite_editor_window.h"
#include "support/ui/workbench_fixture.h"
#include "utilities/ui/sound_player_window.h"
#include "world/ui/map_window.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;

namespace {

QToolButton* button(TestWorkbench& bench, const char* name) {
    return bench.windows().main->findChild<QToolButton*>(QLatin1String(name));
}

QStringList eggMenuCaptions(TestWorkbench& bench) {
    QStringList captions;
    for (QAction* item :
         bench.windows().main->findChild<QMenu*>(QStringLiteral("PopupMenu2"))->actions()) {
        if (!item->isSeparator()) captions << item->text();
    }
    return captions;
}

// Records every title the main window shows while it is on screen, in order, and each time it
// paints ("<paint>"); a title set while the window is hidden counts as not shown.
class TitleRecorder : public QObject {
  public:
    QStringList titles;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched->objectName() != QLatin1String("TForm8") || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowTitleChange && window->isVisible())
            titles << window->windowTitle();
        if (event->type() == QEvent::Paint && !titles.isEmpty() && titles.last() != kPaint)
            titles << kPaint;
        return false;
    }
    QStringList shownTitles() const {
        QStringList shown = titles;
        shown.removeAll(kPaint);
        return shown;
    }
    static inline const QString kPaint = QStringLiteral("<paint>");
};

bool containsInOrder(const QStringList& list, const QStringList& wanted) {
    qsizetype from = 0;
    for (const QString& text : wanted) {
        from = list.indexOf(text, from);
        if (from < 0) return false;
        ++from;
    }
    return true;
}

TestWorkbench::Options withIni(const char* text) {
    TestWorkbench::Options options;
    options.vekIniText = text;
    return options;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void firstStartIsEnglishAndWritesTheDefaults() {
        TestWorkbench bench;
        const QString ini = QString::fromStdString(bench.vekIniText());
        QVERIFY(ini.contains(QStringLiteral("Language=english")));
        QVERIFY(ini.contains(QStringLiteral("SBGC=$000000")));
        QCOMPARE(bench.context().look.spriteBackground(),
                 0xFFFFFFu);  // black only from the next start
        QVERIFY(button(bench, "SpeedButton12")->isChecked());
        QCOMPARE(eggMenuCaptions(bench),
                 (QStringList{QStringLiteral("&More Eggs"), QStringLiteral("&Grendel Egg-Disk"),
                              QStringLiteral("NornEl Egg-Disk (Grendel &Dads)"),
                              QStringLiteral("GreNorn Egg-Disk (Grendel &Mums)")}));
    }

    void theGermanButtonSwitchesEveryWindowAndIsRemembered() {
        std::string storedIni;
        {
            TestWorkbench bench;
            QTest::mouseClick(button(bench, "SpeedButton13"), Qt::LeftButton);
            QCOMPARE(QString::fromStdString(bench.context().look.language()),
                     QStringLiteral("deutsch"));
            QVERIFY(button(bench, "SpeedButton13")->isChecked());
            QVERIFY(!button(bench, "SpeedButton12")->isChecked());
            QCOMPARE(
                eggMenuCaptions(bench),
                (QStringList{QStringLiteral("&Neue Ei-Disk"), QStringLiteral("&Grendel Ei-Disk"),
                             QStringLiteral("NornEl Ei-Disk (Grendel &Väter)"),
                             QStringLiteral("GreNorn Ei-Disk (Grendel &Mütter)")}));
            QCOMPARE(button(bench, "SpeedButton1")->toolTip(),
                     QStringLiteral("Startet den Sprite Editor"));
            // Another window follows too, and image buttons keep their (empty) captions.
            QCOMPARE(bench.windows()
                         .spriteEditor->findChild<QAction*>(QStringLiteral("OpenSpriteFile1"))
                         ->text(),
                     QStringLiteral("Sprite Datei &öffnen..."));
            QVERIFY(button(bench, "SpeedButton1")->text().isEmpty());
            storedIni = bench.vekIniText();
            QVERIFY(QString::fromStdString(storedIni).contains(QStringLiteral("Language=deutsch")));

            QTest::mouseClick(button(bench, "SpeedButton12"), Qt::LeftButton);
            QCOMPARE(eggMenuCaptions(bench).first(), QStringLiteral("&More Eggs"));
            QCOMPARE(button(bench, "SpeedButton1")->toolTip(),
                     QStringLiteral("Starts the Sprite Editor"));
            QTest::mouseClick(button(bench, "SpeedButton13"), Qt::LeftButton);
            storedIni = bench.vekIniText();
        }
        TestWorkbench next(withIni(storedIni.c_str()));
        QCOMPARE(eggMenuCaptions(next).first(), QStringLiteral("&Neue Ei-Disk"));
        QVERIFY(button(next, "SpeedButton13")->isChecked());
    }

    void anUnknownStoredLanguageKeepsTheDesignedTexts() {
        TestWorkbench bench(withIni("[Language]\nLanguage=klingon\n"));
        QCOMPARE(eggMenuCaptions(bench),
                 (QStringList{QStringLiteral("grendel eggs"), QStringLiteral("grendel"),
                              QStringLiteral("grenorn"), QStringLiteral("nornel")}));
        QVERIFY(button(bench, "SpeedButton12")->isChecked());
    }

    void backgroundColourFormsAgreeAndGarbageFallsBack() {
        TestWorkbench decimal(withIni("[Color]\nSBGC=16711680\n[Language]\nLanguage=english\n"));
        TestWorkbench hexadecimal(withIni("[Color]\nSBGC=$FF0000\n[Language]\nLanguage=english\n"));
        QCOMPARE(decimal.context().look.spriteBackground(),
                 hexadecimal.context().look.spriteBackground());
        QCOMPARE(decimal.context().look.spriteBackground(), 0xFF0000u);
        TestWorkbench garbage(
            withIni("junk\n=\n[Color]\nSBGC=1.5\n[[Language]\nLanguage=english\n"));
        QCOMPARE(garbage.context().look.spriteBackground(), 0xFFFFFFu);
        QVERIFY(garbage.windows().main != nullptr);
    }

    void debugModeTracesStartUpAndRestoresTheTitle() {
        TitleRecorder recorder;
        qApp->installEventFilter(&recorder);
        TestWorkbench::Options options;
        options.debugMode = true;
        TestWorkbench bench(options);
        qApp->removeEventFilter(&recorder);
        // Each trace text is painted before the next one replaces it.
        QVERIFY2(containsInOrder(recorder.titles,
                                 {QStringLiteral("Testing Sound System..."), TitleRecorder::kPaint,
                                  QStringLiteral("Create Script list..."), TitleRecorder::kPaint}),
                 qPrintable(recorder.titles.join(QLatin1Char('|'))));
        QVERIFY2(
            containsInOrder(
                recorder.shownTitles(),
                {QStringLiteral("Testing Sound System..."), QStringLiteral("Create Script list..."),
                 QStringLiteral("Set Status/Buttons/Basics..."),
                 QStringLiteral("COB Source Creator init macpath..."),
                 QStringLiteral("COB Source Creator init tree..."),
                 QStringLiteral("Compiler setup..."), QStringLiteral("Sprite Converter setup..."),
                 QStringLiteral("Albia Map setup (loading map if possible)..."),
                 QStringLiteral("About setup..."), QStringLiteral("Vekstudio V1.5")}),
            qPrintable(recorder.titles.join(QLatin1Char('|'))));
        QCOMPARE(bench.windows().main->windowTitle(), QStringLiteral("Vekstudio V1.5"));
        QVERIFY(bench.windows().main->isVisible());
    }

    void noApplicationNameIsAddedToTheDesignedTitles() {
        // Qt appends a display name of the application's own to every window title; left
        // unset, the display name follows the application's name and nothing is appended.
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        const QString displayName = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(displayName, QStringLiteral("probe"));
    }

    void withoutDebugModeNoTraceIsShown() {
        TitleRecorder recorder;
        qApp->installEventFilter(&recorder);
        TestWorkbench bench;
        qApp->removeEventFilter(&recorder);
        QVERIFY(!recorder.titles.contains(QStringLiteral("Testing Sound System...")));
        QCOMPARE(bench.windows().main->windowTitle(), QStringLiteral("Vekstudio V1.5"));
        QCOMPARE(bench.sound().played.front().filename().string(), std::string("vek.wav"));
    }

    void oneToolWindowAtATime() {
        TestWorkbench bench;
        MainWindow* main = bench.windows().main;
        QTest::mouseClick(button(bench, "SpeedButton3"), Qt::LeftButton);
        QVERIFY(bench.windows().map->isVisible());
        QVERIFY(button(bench, "SpeedButton3")->isChecked());

        QTest::mouseClick(button(bench, "SpeedButton1"), Qt::LeftButton);
        QVERIFY(!bench.windows().map->isVisible());
        QVERIFY(!button(bench, "SpeedButton3")->isChecked());
        QVERIFY(bench.windows().spriteEditor->isVisible());
        QVERIFY(button(bench, "SpeedButton1")->isChecked());
        QTRY_COMPARE(bench.windows().spriteEditor->pos(),
                     QPoint(0, main->frameGeometry().height()));

        QTest::mouseClick(button(bench, "SpeedButton1"), Qt::LeftButton);
        for (QWidget* window : {static_cast<QWidget*>(bench.windows().spriteEditor),
                                static_cast<QWidget*>(bench.windows().map),
                                static_cast<QWidget*>(bench.windows().soundPlayer),
                                static_cast<QWidget*>(bench.windows().objectCompiler),
                                static_cast<QWidget*>(bench.windows().commandInterface)}) {
            QVERIFY(!window->isVisible());
        }
        QVERIFY(!button(bench, "SpeedButton1")->isChecked());
    }

    void closingAToolWindowReleasesItsButton() {
        TestWorkbench bench;
        QTest::mouseClick(button(bench, "SpeedButton9"), Qt::LeftButton);
        QVERIFY(bench.windows().commandInterface->isVisible());
        bench.windows().commandInterface->close();
        QVERIFY(!button(bench, "SpeedButton9")->isChecked());
        QTest::mouseClick(button(bench, "SpeedButton9"), Qt::LeftButton);
        QVERIFY(bench.windows().commandInterface->isVisible());
        QVERIFY(button(bench, "SpeedButton9")->isChecked());
    }

    void theSoundPlayerKeepsItsOwnPosition() {
        TestWorkbench bench;
        bench.windows().soundPlayer->move(300, 400);
        QTest::mouseClick(button(bench, "SpeedButton4"), Qt::LeftButton);
        QTRY_COMPARE(bench.windows().soundPlayer->pos(), QPoint(300, 400));
    }

    void theButtonBarSpansTheScreen() {
        TestWorkbench bench;
        MainWindow* main = bench.windows().main;
        const int width = QGuiApplication::primaryScreen()->geometry().width();
        QTRY_COMPARE(main->pos(), QPoint(0, 0));
        QTRY_COMPARE(main->width(), width);
        QTRY_COMPARE(button(bench, "SpeedButton6")->x(), width - 34);
        QTRY_COMPARE(button(bench, "SpeedButton8")->x(), width - 62);
        QCOMPARE(button(bench, "SpeedButton9")->x(), 84);
    }

    // The help shows the manual of the interface language, and a switch while it is open
    // shows the same page in the other language.
    void theHelpSpeaksTheInterfaceLanguage() {
        TestWorkbench::Options options;
        options.privateDemo = true;
        TestWorkbench bench(options);
        const fs::path manual = toPath(qEnvironmentVariable("VEK_BINARY_DIR")) / "help";
        fs::copy(manual, bench.context().files.directory() / "help", fs::copy_options::recursive);
        MainWindow* main = bench.windows().main;
        main->SpeedButton13Click();
        main->SpeedButton6Click();
        QTextBrowser* help = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QStringLiteral("HelpWindow"))
                help = window->findChild<QTextBrowser*>();
        QVERIFY(help);
        QVERIFY2(help->toPlainText().contains(QStringLiteral("Inhalt")),
                 qPrintable(help->source().toString()));
        QCOMPARE(help->window()->windowTitle(), QStringLiteral("Vekstudio-Hilfe"));
        help->setSource(QUrl(QStringLiteral("sprites.html")));
        QVERIFY(help->toPlainText().contains(QStringLiteral("Der Sprite Editor")));
        saveScreenshot(help->window(), QStringLiteral("help-deutsch"));
        main->SpeedButton12Click();
        QCOMPARE(help->source().fileName(), QStringLiteral("sprites.html"));
        QVERIFY(help->toPlainText().contains(QStringLiteral("The sprite editor")));
        QVERIFY(!help->source().toLocalFile().contains(QStringLiteral("/de/")));
        saveScreenshot(help->window(), QStringLiteral("help-english"));
        help->window()->close();
    }

    // Without its folder the help says which folder is missing, in either language.
    void aMissingHelpFolderIsNamed() {
        const fs::path missing = fs::temp_directory_path() / "vek-no-help-here";
        for (const bool german : {false, true}) {
            HelpWindow help(missing, german);
            help.showContents();
            const fs::path folder = german ? missing / "de" : missing;
            const QString shown = help.findChild<QTextBrowser*>()->toPlainText();
            QCOMPARE(shown,
                     toQString(std::string(fill(Msg::HelpFolderMissing, {pathToUtf8(folder)})
                                               .in(german ? kLanguageGerman : kLanguageEnglish))));
            saveScreenshot(&help, german ? QStringLiteral("help-missing-deutsch")
                                         : QStringLiteral("help-missing-english"));
            help.close();
        }
    }

    void theStatusBarShowsTheHintOfAnyWindowsControl() {
        TestWorkbench bench;
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(button(bench, "SpeedButton4"), &enter);
        QCOMPARE(bench.windows().main->statusBar1()->currentMessage(),
                 QStringLiteral("Switches to the Sound Player"));
        QWidget* elsewhere =
            bench.windows().spriteEditor->findChild<QWidget*>(QStringLiteral("ListBox1"));
        QVERIFY(elsewhere);
        QCoreApplication::sendEvent(elsewhere, &enter);
        QCOMPARE(bench.windows().main->statusBar1()->currentMessage(), elsewhere->statusTip());
        QVERIFY(!elsewhere->statusTip().isEmpty());
    }

    void aMissingGameDirectoryIsReportedAndTheProgramGoesOn() {
        TestWorkbench::Options options;
        options.gameInstalled = false;
        options.startupAnswers = {Answer::Cancel};
        TestWorkbench bench(options);
        QVERIFY(!bench.context().startup.pathsRead());
        QVERIFY(!bench.context().startup.quitAfterStartup());
        const auto messages = bench.dialogs().messages();
        QCOMPARE(messages.size(), std::size_t{1});
        QCOMPARE(messages.front().text, QStringLiteral("Install Creatures before using VEK!"));
        QCOMPARE(messages.front().caption, QStringLiteral("Creatures not found on your HD!"));
        // Closing without the game plays no closing sound.
        bench.sound().played.clear();
        bench.windows().main->close();
        QVERIFY(bench.sound().played.empty());
    }

    void closingAfterEditingASourceAsksOnceAndNoClosesWithoutSaving() {
        TestWorkbench bench;
        auto* source =
            bench.windows().objectCompiler->findChild<QPlainTextEdit*>(QStringLiteral("Memo2"));
        QTest::keyClicks(source, QStringLiteral("name Ball"));
        bench.dialogs().messageAnswers = {Answer::No};
        bench.windows().main->close();
        const auto messages = bench.dialogs().messages();
        QCOMPARE(messages.size(), std::size_t{1});
        QCOMPARE(messages.front().caption, QStringLiteral("WARNING! Source not saved!"));
        QCOMPARE(messages.front().buttons, Buttons::YesNo);
        QVERIFY(bench.dialogs().ofKind(QStringLiteral("save")).empty());
    }

    void closingWithAnUnchangedSourceAsksNothingAndYesSaves() {
        TestWorkbench quiet;
        quiet.windows().main->close();
        QVERIFY(quiet.dialogs().messages().empty());

        TestWorkbench bench;
        QTest::mouseClick(button(bench, "SpeedButton13"), Qt::LeftButton);
        auto* source =
            bench.windows().objectCompiler->findChild<QPlainTextEdit*>(QStringLiteral("Memo2"));
        QTest::keyClicks(source, QStringLiteral("name Ball"));
        const QString file = vek::ui::fromPath(bench.scratch() / "ball.cos");
        bench.dialogs().fileAnswers = {file};
        bench.windows().main->close();
        QCOMPARE(bench.dialogs().messages().front().caption,
                 QStringLiteral("WARNUNG! Source nicht gespeichert!"));
        QVERIFY(std::filesystem::exists(bench.scratch() / "ball.cos"));
    }

    void aGameDirectoryThatDoesNotExistIsReportedOnceAndCountsAsNoGame() {
        TestWorkbench::Options options;
        options.gameDirectory = std::filesystem::path("/nonexistent/vek/game");
        options.startupAnswers = {Answer::Cancel};
        TestWorkbench bench(options);
        const auto errors = bench.dialogs().errors();
        QCOMPARE(errors.size(), std::size_t{1});
        QVERIFY(errors.front().text.contains(QStringLiteral("/nonexistent/vek/game")));
        QVERIFY(!bench.context().startup.pathsRead());
        QCOMPARE(bench.dialogs().messages().front().text,
                 QStringLiteral("Install Creatures before using VEK!"));
    }

    void closingPlaysTheClosingSoundOfTheGame() {
        TestWorkbench bench;
        bench.sound().played.clear();
        bench.windows().main->close();
        QCOMPARE(bench.sound().played.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(bench.sound().played.front().filename().string()),
                 QStringLiteral("zzzz.wav"));
    }
};

VEK_UI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
