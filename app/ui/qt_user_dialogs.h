#pragma once

#include "app/ui/user_dialogs.h"

class QWidget;

namespace vek::ui {

// The real dialogs: Qt's message boxes and file and colour dialogs.
class QtUserDialogs final : public UserDialogs {
  public:
    Answer message(const QString& text, const QString& caption, Buttons buttons) override;
    void errorReport(const QString& text) override;
    std::optional<QString> openFile(const QString& title, const QString& directory,
                                    const QString& filter) override;
    std::optional<QStringList> openFiles(const QString& title, const QString& directory,
                                         const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& directory,
                                    const QString& filter, const QString& defaultExtension,
                                    const QString& suggestedName) override;
    std::optional<QString> chooseDirectory(const QString& title, const QString& directory) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<int> askNumber(const QString& title, const QString& label, int initial,
                                 int minimum, int maximum) override;
    std::optional<QSize> askSize(const QString& title, const QString& label, const QSize& initial,
                                 const QSize& maximum) override;
    std::optional<QString> askText(const QString& title, const QString& label,
                                   const QString& initial) override;
};

}  // namespace vek::ui
