#pragma once

#include <QString>
#include <filesystem>
#include <string_view>

#include "app/file_lookup.h"
#include "app/recent_files.h"
#include "app/window_places.h"

namespace vek::ui {

// The program's own files (vek.wav, rpsw.kev, classes.vek, mac/, help/ ...), and the files the
// user opened or wrote lately and the windows' last places, kept beside VEK.INI.
class ProgramFiles {
  public:
    ProgramFiles(std::filesystem::path programDirectory, const std::filesystem::path& iniFile);

    const std::filesystem::path& directory() const { return m_directory; }
    // The program directory's file or folder of that name, in whatever letter case it has.
    std::filesystem::path file(std::string_view name) const {
        return findIgnoringCase(m_directory, name);
    }

    const RecentFiles& recent() const { return m_recent; }
    // A file of this kind was opened or written.
    void remember(RecentKind kind, const QString& file);
    // The folder a dialog for this kind of file starts in: the one last used, else `fallback`.
    QString startFolder(RecentKind kind, const QString& fallback) const;

    WindowPlaces& windowPlaces() { return m_windowPlaces; }

  private:
    std::filesystem::path m_directory;
    RecentFiles m_recent;
    WindowPlaces m_windowPlaces;
};

}  // namespace vek::ui
