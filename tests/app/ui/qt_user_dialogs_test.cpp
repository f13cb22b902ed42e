#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/qt_user_dialogs.h"
#include "support/ui/workbench_fixture.h"

using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

template <typename Widget>
Widget* shown() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<Widget*>(widget); found && found->isVisible()) return found;
    }
    return nullptr;
}

// Types `name` into the save dialog once it shows and accepts it; a replace question that comes
// up meanwhile is recorded and answered.
void typeIntoSaveDialog(const QString& name, QMessageBox::StandardButton answer,
                        QString& question) {
    QTimer::singleShot(0, [=, &question] {
        QFileDialog* dialog = shown<QFileDialog>();
        QVERIFY(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        QTimer::singleShot(0, [=, &question] {
            if (QMessageBox* box = shown<QMessageBox>()) {
                question = box->text();
                box->button(answer)->click();
            }
            if (QFileDialog* stillOpen = shown<QFileDialog>()) stillOpen->reject();
        });
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
}

}  // namespace

class QtUserDialogsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // In German a question's buttons come from Qt's German catalogue, in English again from Qt.
    void aQuestionsButtonsSpeakTheInterfaceLanguage() {
        TestWorkbench bench;
        QtUserDialogs qtDialogs;
        const auto buttonsOfAQuestion = [&qtDialogs] {
            QStringList texts;
            QTimer::singleShot(0, [&texts] {
                QMessageBox* box = shown<QMessageBox>();
                QVERIFY(box);
                for (QAbstractButton* button : box->buttons())
                    texts << button->text().remove(QLatin1Char('&'));
                box->button(QMessageBox::Cancel)->click();
            });
            const Answer answer =
                qtDialogs.message(QStringLiteral("?"), QStringLiteral("?"), Buttons::YesNoCancel);
            if (answer != Answer::Cancel) texts << QStringLiteral("(not cancelled)");
            texts.sort();
            return texts;
        };
        bench.windows().main->SpeedButton13Click();
        QCOMPARE(buttonsOfAQuestion(), (QStringList{"Abbrechen", "Ja", "Nein"}));
        bench.windows().main->SpeedButton12Click();
        QCOMPARE(buttonsOfAQuestion(), (QStringList{"Cancel", "No", "Yes"}));
    }

    // Return presses Yes in a plain question and No where the question defaults to No; while
    // a long job shows the busy pointer, the box shows the normal one.
    void returnPressesTheQuestionsDefault() {
        QtUserDialogs qtDialogs;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        for (const auto& [buttons, expected] : {std::pair{Buttons::YesNo, Answer::Yes},
                                                std::pair{Buttons::YesNoDefaultNo, Answer::No}}) {
            std::optional<Qt::CursorShape> pointer;
            QTimer::singleShot(0, [&pointer] {
                QMessageBox* box = shown<QMessageBox>();
                QVERIFY(box);
                pointer = QApplication::overrideCursor()->shape();
                QTest::keyClick(box, Qt::Key_Return);
            });
            QCOMPARE(
                qtDialogs.message(QStringLiteral("Send anyway?"), QStringLiteral("?"), buttons),
                expected);
            QCOMPARE(pointer, std::optional<Qt::CursorShape>(Qt::ArrowCursor));
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QApplication::restoreOverrideCursor();
    }

    // The default extension is added before the dialog asks about replacing a file.
    void aNameWithoutExtensionIsAskedAboutAsTheRealFile() {
        QTemporaryDir folder;
        vek::writeFileAtomically(toPath(folder.filePath(QStringLiteral("new1.SPR"))),
                                 std::string_view("old"));
        QtUserDialogs qtDialogs;
        UserDialogs& dialogs = qtDialogs;
        const QString filter = QStringLiteral("*.SPR (*.SPR *.spr)");

        QString question;
        typeIntoSaveDialog(QStringLiteral("new1"), QMessageBox::Yes, question);
        const auto replaced =
            dialogs.saveFile(QStringLiteral("Save"), folder.path(), filter, QStringLiteral("SPR"));
        QVERIFY2(question.contains(QStringLiteral("new1.SPR")), qPrintable(question));
        QCOMPARE(replaced, QDir::toNativeSeparators(folder.filePath(QStringLiteral("new1.SPR"))));

        question.clear();
        typeIntoSaveDialog(QStringLiteral("new1"), QMessageBox::No, question);
        QVERIFY(!dialogs.saveFile(QStringLiteral("Save"), folder.path(), filter,
                                  QStringLiteral("SPR")));
        QVERIFY(!question.isEmpty());

        question.clear();
        typeIntoSaveDialog(QStringLiteral("fresh"), QMessageBox::Yes, question);
        const auto fresh =
            dialogs.saveFile(QStringLiteral("Save"), folder.path(), filter, QStringLiteral("SPR"));
        QVERIFY(question.isEmpty());
        QCOMPARE(fresh, QDir::toNativeSeparators(folder.filePath(QStringLiteral("fresh.SPR"))));
    }
};

VEK_UI_TEST_MAIN(QtUserDialogsTest)
#include "qt_user_dialogs_test.moc"
