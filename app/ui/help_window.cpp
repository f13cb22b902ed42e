#include "app/ui/help_window.h"

#include <QCoreApplication>
#include <QTextBrowser>
#include <QUrl>
#include <system_error>

#include "app/ui/qt_convert.h"

namespace vek::ui {

HelpWindow::HelpWindow(const std::filesystem::path& helpDirectory)
    : m_browser(new QTextBrowser(this)), m_helpDirectory(helpDirectory) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Vekstudio Help"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({fromPath(helpDirectory)});
    setCentralWidget(m_browser);
    resize(760, 600);
}

void HelpWindow::showContents() {
    m_browser->setSource(QUrl::fromLocalFile(fromPath(m_helpDirectory / "index.html")));
    show();
    raise();
}

std::filesystem::path findHelpDirectory(const std::filesystem::path& programDirectory) {
    std::error_code error;
    if (std::filesystem::exists(programDirectory / "help" / "index.html", error))
        return programDirectory / "help";
    return toPath(QCoreApplication::applicationDirPath()) / "help";
}

}  // namespace vek::ui
