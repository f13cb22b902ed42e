#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "gamelink/creatures.h"
#include "sprites/sprite_file.h"
#include "sprites/ui/sprite_file_creator_window.h"
#include "support/ui/workbench_fixture.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

SpriteFileCreatorWindow* creator(TestWorkbench& bench) { return bench.windows().spriteFileCreator; }

template <typename Control = QWidget>
Control* control(TestWorkbench& bench, const char* name) {
    auto* found = creator(bench)->findChild<Control*>(QLatin1String(name));
    if (!found) qFatal("no control %s", name);
    return found;
}

void fill(TestWorkbench& bench, const QString& count, const QString& width, const QString& height) {
    control<QLineEdit>(bench, "Edit1")->setText(count);
    control<QLineEdit>(bench, "Edit2")->setText(width);
    control<QLineEdit>(bench, "Edit3")->setText(height);
}

void clickArrow(TestWorkbench& bench, const char* upDown, const char* arrow, int times) {
    auto* button = control(bench, upDown)->findChild<QToolButton*>(QLatin1String(arrow));
    for (int i = 0; i < times; ++i) button->click();
}

}  // namespace

class SpriteFileCreatorWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void isBuiltAsDesigned() {
        TestWorkbench bench;
        SpriteFileCreatorWindow* window = creator(bench);
        QCOMPARE(window->objectName(), QStringLiteral("TForm4"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Sprite File Creator"));
        // The designed size is the least: the window grows where the font needs more room.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->size().expandedTo({229, 54}), window->size());
        QTRY_COMPARE(control(bench, "Edit1")->size(), QSize(36, 21));
        window->close();
        QCOMPARE(control<QLabel>(bench, "Label1")->text(), QStringLiteral("Number of Sprites"));
        QCOMPARE(tagOf(control(bench, "Label1")), 73);
        QCOMPARE(tagOf(control(bench, "Label3")), 76);
        QCOMPARE(control<QLabel>(bench, "Label2")->alignment() & Qt::AlignRight, Qt::AlignRight);
        QCOMPARE(control<QPushButton>(bench, "Button1")->text(),
                 QStringLiteral("Create Sprite File"));
        QCOMPARE(hintOf(control(bench, "Button1")), QStringLiteral("Creates the Sprite File"));
        QCOMPARE(hintOf(control(bench, "Edit2")), QStringLiteral("X Dimension of the dprite(s)"));
        QCOMPARE(tagOf(control(bench, "Edit2")), 0);
        for (const char* edit : {"Edit1", "Edit2", "Edit3"})
            QCOMPARE(control<QLineEdit>(bench, edit)->text(), "1");
        if (!screenshotFolder().isEmpty()) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            saveScreenshot(window, QStringLiteral("sprite_file_creator"));
            window->close();
        }
    }

    void speaksGerman() {
        TestWorkbench bench;
        bench.windows().main->SpeedButton13Click();
        QCOMPARE(control<QLabel>(bench, "Label1")->text(), QStringLiteral("Anzahl der Sprites:"));
        QCOMPARE(control<QLabel>(bench, "Label3")->text(), QStringLiteral("Hoehe:"));
        QCOMPARE(control<QPushButton>(bench, "Button1")->text(),
                 QStringLiteral("Sprite Datei erzeugen"));
        QCOMPARE(hintOf(control(bench, "Edit1")),
                 QStringLiteral("Select the number of sprites that you wqant in the new file"));
        bench.dialogs().fileAnswers.push_back(std::nullopt);
        creator(bench)->Button1Click();
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral(".SPR Datei erzeugen"));
    }

    void createsTheUniformFileAfterTheFileIsChosen() {
        TestWorkbench bench;
        fill(bench, "2", "3", "4");
        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "new"));
        creator(bench)->Button1Click();
        const auto asked = bench.dialogs().asked.back();
        QCOMPARE(asked.kind, QStringLiteral("save"));
        QCOMPARE(asked.text, QStringLiteral("Create .SPR file"));
        QCOMPARE(asked.caption, toQString(bench.context().game.paths().CImagePath));
        const Bytes bytes = readFileBytes(bench.scratch() / "new.SPR");
        QCOMPARE(bytes.size(), std::size_t{42});
        QCOMPARE(readSpriteTable(bench.scratch() / "new.SPR").entries[1], (SpriteEntry{30, 3, 4}));

        fill(bench, "1", "1", "1");
        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "one.spr"));
        creator(bench)->Button1Click();
        QCOMPARE(readFileBytes(bench.scratch() / "one.spr"),
                 (Bytes{1, 0, 10, 0, 0, 0, 1, 0, 1, 0, 0}));

        fill(bench, "0", "1", "1");
        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "none.spr"));
        creator(bench)->Button1Click();
        QCOMPARE(readFileBytes(bench.scratch() / "none.spr"), (Bytes{0, 0}));
        QVERIFY(bench.dialogs().errors().empty());
    }

    void cancelOrABadFieldWritesNothing() {
        TestWorkbench bench;
        fill(bench, "x", "1", "1");
        creator(bench)->Button1Click();  // cancelled before the fields are read
        QVERIFY(bench.dialogs().errors().empty());

        const fs::path target = bench.scratch() / "bad.spr";
        writeFileAtomically(target, Bytes{9, 9});
        bench.dialogs().fileAnswers.push_back(fromPath(target));
        creator(bench)->Button1Click();
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("'x' ist kein gültiger Integerwert"));
        QCOMPARE(readFileBytes(target), (Bytes{9, 9}));

        fill(bench, "70000", "1", "1");
        bench.dialogs().fileAnswers.push_back(fromPath(target));
        creator(bench)->Button1Click();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{2});
        QCOMPARE(readFileBytes(target), (Bytes{9, 9}));
    }

    void arrowsStepWithinTheirRangesAndFieldsKeepTheirValues() {
        TestWorkbench bench;
        clickArrow(bench, "UpDown1", "down", 1);
        QCOMPARE(control<QLineEdit>(bench, "Edit1")->text(), QStringLiteral("1"));
        control<QLineEdit>(bench, "Edit1")->setText("198");
        clickArrow(bench, "UpDown1", "up", 5);
        QCOMPARE(control<QLineEdit>(bench, "Edit1")->text(), QStringLiteral("200"));
        clickArrow(bench, "UpDown2", "up", 4);
        QCOMPARE(control<QLineEdit>(bench, "Edit2")->text(), QStringLiteral("5"));
        control<QLineEdit>(bench, "Edit3")->setText("299");
        clickArrow(bench, "UpDown3", "up", 3);
        QCOMPARE(control<QLineEdit>(bench, "Edit3")->text(), QStringLiteral("300"));
        // Typed values beyond the arrows' range are taken as typed.
        control<QLineEdit>(bench, "Edit2")->setText("500");
        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "wide.spr"));
        creator(bench)->Button1Click();
        QCOMPARE(readSpriteTable(bench.scratch() / "wide.spr").entries[0].width,
                 std::uint16_t{500});
        creator(bench)->close();
        creator(bench)->show();
        QCOMPARE(control<QLineEdit>(bench, "Edit2")->text(), QStringLiteral("500"));
        creator(bench)->close();
    }
};

VEK_UI_TEST_MAIN(SpriteFileCreatorWindowTest)
#include "sprite_file_creator_window_test.moc"
