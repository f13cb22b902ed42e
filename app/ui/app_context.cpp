#include "app/ui/app_context.h"

#include "app/ui/qt_convert.h"

#include "app/settings.h"

namespace vek::ui {

AppContext::AppContext(UserDialogs& userDialogs, GameInstallation& installedGame, VekIni& vekIni,
                       SoundOutput& soundOutput, std::filesystem::path programDir)
    : dialogs(userDialogs),
      game(installedGame),
      settings(vekIni),
      sound(soundOutput),
      programDirectory(std::move(programDir)),
      recent(recentFilesBeside(vekIni.file())) {}

void AppContext::remember(RecentKind kind, const QString& file) { recent.add(kind, toPath(file)); }

QString AppContext::startFolder(RecentKind kind, const QString& fallback) const {
    const auto folder = recent.lastFolder(kind);
    return folder ? fromPath(*folder) : fallback;
}

QString AppContext::text(const Bilingual& message) const { return toQString(message.in(language)); }

Answer AppContext::ask(const BilingualBox& box, Buttons buttons) const {
    return dialogs.message(text(box.text), text(box.caption), buttons);
}

QString AppContext::gameDirectory(const std::string& gamePath) const { return toQString(gamePath); }

}  // namespace vek::ui
