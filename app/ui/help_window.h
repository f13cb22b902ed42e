#pragma once

#include <QMainWindow>
#include <filesystem>

class QTextBrowser;

namespace vek::ui {

// The user manual: HTML pages that lie beside the program, shown in a browser window.
class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit HelpWindow(const std::filesystem::path& helpDirectory);

    // Shows the contents page.
    void showContents();

  private:
    QTextBrowser* m_browser;
    std::filesystem::path m_helpDirectory;
};

// Where the manual lies: beside the program, or in the program directory.
std::filesystem::path findHelpDirectory(const std::filesystem::path& programDirectory);

}  // namespace vek::ui
