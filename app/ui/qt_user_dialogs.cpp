#include "app/ui/qt_user_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <algorithm>

#include "app/messages.h"
#include "app/ui/qt_convert.h"

namespace vek::ui {

namespace {

QWidget* dialogParent() { return QApplication::activeWindow(); }

QMessageBox::StandardButtons standardButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
        case Buttons::YesNoDefaultNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

Answer answerOf(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Ok;
    }
}

// A box shows a name or a token from a file with its control characters escaped, as the
// command line prints it.
QString shownEscaped(const QString& text) {
    return toQString(escapeControlCharacters(toStdString(text)));
}

std::optional<QString> chosen(const QString& file) {
    if (file.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(file);
}

}  // namespace

Answer QtUserDialogs::message(const QString& text, const QString& caption, Buttons buttons) {
    QMessageBox box(QMessageBox::NoIcon, caption, shownEscaped(text), standardButtons(buttons),
                    dialogParent());
    // Return presses the safe answer where the question says so.
    if (buttons == Buttons::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
    // A box during a long job waits for the user, not for the job.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int pressed = box.exec();
    if (busy) QApplication::restoreOverrideCursor();
    return answerOf(pressed);
}

void QtUserDialogs::errorReport(const QString& text) {
    QMessageBox::critical(dialogParent(), QApplication::applicationName(), shownEscaped(text));
}

std::optional<QString> QtUserDialogs::openFile(const QString& title, const QString& directory,
                                               const QString& filter) {
    return chosen(QFileDialog::getOpenFileName(dialogParent(), title, directory, filter));
}

std::optional<QStringList> QtUserDialogs::openFiles(const QString& title, const QString& directory,
                                                    const QString& filter) {
    QStringList files = QFileDialog::getOpenFileNames(dialogParent(), title, directory, filter);
    if (files.isEmpty()) return std::nullopt;
    for (QString& file : files) file = QDir::toNativeSeparators(file);
    return files;
}

std::optional<QString> QtUserDialogs::saveFile(const QString& title, const QString& directory,
                                               const QString& filter,
                                               const QString& defaultExtension,
                                               const QString& suggestedName) {
    const QString start =
        suggestedName.isEmpty() ? directory : QDir(directory).filePath(suggestedName);
    QFileDialog dialog(dialogParent(), title, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return chosen(dialog.selectedFiles().front());
}

std::optional<QString> QtUserDialogs::chooseDirectory(const QString& title,
                                                      const QString& directory) {
    return chosen(QFileDialog::getExistingDirectory(dialogParent(), title, directory));
}

std::optional<QColor> QtUserDialogs::chooseColor(const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, dialogParent());
    if (!color.isValid()) return std::nullopt;
    return color;
}

std::optional<int> QtUserDialogs::askNumber(const QString& title, const QString& label, int initial,
                                            int minimum, int maximum) {
    bool ok = false;
    const int number =
        QInputDialog::getInt(dialogParent(), title, label, initial, minimum, maximum, 1, &ok);
    if (!ok) return std::nullopt;
    return number;
}

std::optional<QString> QtUserDialogs::askText(const QString& title, const QString& label,
                                              const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), title, label, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QSize> QtUserDialogs::askSize(const QString& title, const QString& label,
                                            const QSize& initial, const QSize& maximum) {
    QDialog dialog(dialogParent());
    dialog.setWindowTitle(title);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(new QLabel(label, &dialog));
    const auto addSide = [&dialog, layout](const QString& name, int value, int most) {
        auto* side = new QSpinBox(&dialog);
        side->setObjectName(name);
        side->setRange(1, std::max(most, 1));
        side->setValue(value);
        layout->addRow(name + QStringLiteral(":"), side);
        return side;
    };
    QSpinBox* width = addSide(QStringLiteral("X"), initial.width(), maximum.width());
    QSpinBox* height = addSide(QStringLiteral("Y"), initial.height(), maximum.height());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    width->selectAll();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return QSize(width->value(), height->value());
}

}  // namespace vek::ui
