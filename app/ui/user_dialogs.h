#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace vek::ui {

// The filter of the dialogs that open or save pictures: bitmaps (the default) or PNG pictures.
inline QString pictureFilter() {
    return QStringLiteral("*.BMP (*.BMP *.bmp);;*.PNG (*.PNG *.png)");
}

// YesNoDefaultNo: a question whose Return key answers No, for what must not happen by mistake.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class Answer { Ok, Cancel, Yes, No };

// Every message box, question, file dialog and colour dialog of the program goes through this
// interface. The application installs the Qt one; tests install a scripted one.
class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // A message box with the given buttons; returns the button pressed. Return presses the
    // first button (Ok or Yes), or No for YesNoDefaultNo.
    virtual Answer message(const QString& text, const QString& caption, Buttons buttons) = 0;
    // The application's default error report for a failed command.
    virtual void errorReport(const QString& text) = 0;
    // Open and save dialogs: the chosen file, or nothing when cancelled. `filter` is in Qt's
    // form ("Sprite files (*.spr)").
    virtual std::optional<QString> openFile(const QString& title, const QString& directory,
                                            const QString& filter) = 0;
    virtual std::optional<QStringList> openFiles(const QString& title, const QString& directory,
                                                 const QString& filter) = 0;
    // A name typed without an extension gets `defaultExtension` ("SPR"), before the dialog asks
    // whether to replace an existing file, so that the question is about the real file.
    virtual std::optional<QString> saveFile(const QString& title, const QString& directory,
                                            const QString& filter, const QString& defaultExtension,
                                            const QString& suggestedName = {}) = 0;
    virtual std::optional<QString> chooseDirectory(const QString& title,
                                                   const QString& directory) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // A whole number from `minimum` to `maximum`, starting at `initial`; nothing when cancelled.
    virtual std::optional<int> askNumber(const QString& title, const QString& label, int initial,
                                         int minimum, int maximum) = 0;
    // A width and a height, each from 1 to the maximum's, starting at `initial`; nothing when
    // cancelled.
    virtual std::optional<QSize> askSize(const QString& title, const QString& label,
                                         const QSize& initial, const QSize& maximum) = 0;
    // A line of text, starting as `initial`; nothing when cancelled.
    virtual std::optional<QString> askText(const QString& title, const QString& label,
                                           const QString& initial) = 0;
};

}  // namespace vek::ui
