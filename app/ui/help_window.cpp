#include "app/ui/help_window.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <system_error>

#include "app/file_io.h"
#include "app/install_layout.h"
#include "app/messages.h"
#include "app/text_names.h"
#include "app/ui/qt_convert.h"

namespace vek::ui {

namespace {

const QString kContents = QStringLiteral("index.html");
}  // namespace

HelpWindow::HelpWindow(const std::filesystem::path& helpDirectory, bool german)
    : m_browser(new QTextBrowser(this)), m_helpDirectory(helpDirectory), m_german(german) {
    setObjectName(QStringLiteral("HelpWindow"));
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);
    resize(760, 600);
}

void HelpWindow::showContents() {
    showPage(kContents, {});
    show();
    raise();
}

void HelpWindow::showTopic(const QString& page) {
    showPage(page, {});
    show();
    raise();
}

void HelpWindow::showLanguage(bool german) {
    m_german = german;
    const QUrl shown = m_browser->source();
    if (!shown.isEmpty()) showPage(QFileInfo(shown.path()).fileName(), shown.fragment());
}

void HelpWindow::showPage(const QString& page, const QString& anchor) {
    const std::filesystem::path folder = m_german ? m_helpDirectory / "de" : m_helpDirectory;
    setWindowTitle(toQString(m_german ? Msg::HelpTitle.german : Msg::HelpTitle.english));
    m_browser->setSearchPaths({fromPath(folder)});
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        // Without its folder the browser would stay empty without a word.
        const BilingualText missing = fill(Msg::HelpFolderMissing, {pathToUtf8(folder)});
        m_browser->setPlainText(
            toQString(std::string(missing.in(m_german ? kLanguageGerman : kLanguageEnglish))));
        return;
    }
    QUrl url = QUrl::fromLocalFile(fromPath(folder / toPath(page)));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    m_browser->setSource(url);
}

std::filesystem::path findHelpDirectory(const std::filesystem::path& programDirectory) {
    std::error_code error;
    if (std::filesystem::exists(programDirectory / "help" / "index.html", error))
        return programDirectory / "help";
    return installedDataDirectory(executableDirectory()) / "help";
}

}  // namespace vek::ui
