#include "app/ui/program_files.h"

#include "app/ui/qt_convert.h"

namespace vek::ui {

ProgramFiles::ProgramFiles(std::filesystem::path programDirectory,
                           const std::filesystem::path& iniFile)
    : m_directory(std::move(programDirectory)),
      m_recent(recentFilesBeside(iniFile)),
      m_windowPlaces(windowPlacesBeside(iniFile)) {}

void ProgramFiles::remember(RecentKind kind, const QString& file) {
    m_recent.add(kind, toPath(file));
}

QString ProgramFiles::startFolder(RecentKind kind, const QString& fallback) const {
    const auto folder = m_recent.lastFolder(kind);
    return folder ? fromPath(*folder) : fallback;
}

}  // namespace vek::ui
