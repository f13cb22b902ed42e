#pragma once

#include <QMainWindow>
#include <filesystem>

class QTextBrowser;

namespace vek::ui {

// The user manual: HTML pages that lie beside the program, shown in a browser window, in the
// interface language. The German pages lie in the folder "de" beside the English ones.
class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    HelpWindow(const std::filesystem::path& helpDirectory, bool german);

    // Shows the contents page.
    void showContents();
    // Shows one page of the manual, by its file name.
    void showTopic(const QString& page);
    // Switches to the manual of the other language, at the page that is shown.
    void showLanguage(bool german);

  private:
    void showPage(const QString& page, const QString& anchor);

    QTextBrowser* m_browser;
    std::filesystem::path m_helpDirectory;
    bool m_german;
};

// Where the manual lies: beside the program, or in the program directory.
std::filesystem::path findHelpDirectory(const std::filesystem::path& programDirectory);

}  // namespace vek::ui
