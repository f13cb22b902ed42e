#include "gamelink/app_exec.h"

#include <array>
#include <filesystem>
#include <utility>

#include "app/file_io.h"
#include "app/vek_error.h"

namespace vek {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 17> kLauncherErrors = {{
    {-1, "Pas d'exécution"},
    {0, "Système dépassé en capacité mémoire, exécutable corrompu, ou réallocations invalides"},
    {2, "Creatures not found! You must install Creatures to use VEK!"},
    {3, "Chemin non trouvé"},
    {5,
     "Tentative de liaison dynamique à une tâche, ou erreur de partage, ou erreur de protection "
     "réseau"},
    {6, "Librairie nécessitant des segments de données séparés pour chaque tâche"},
    {8, "Mémoire insuffisante pour démarrer l'application"},
    {10, "Version de Windows incorrecte"},
    {11, "Exécutable invalide, application non Windows, ou erreur dans l'image du fichier .EXE"},
    {12, "Application écrite pour un système d'exploitation différent"},
    {13, "Application écrite pour MS-DOS 4.0"},
    {14, "Type d'exécutable inconnu"},
    {15,
     "Tentative de chargement d'une application en mode réel (développée pour une version "
     "antérieure de "
     "Windows)"},
    {16,
     "Tentative de chargement d'une seconde instance d'un exécutable contenant plusieurs segments "
     "de "
     "données non marqués en lecture seule"},
    {19,
     "Tentative de chargement d'un exécutable compressé. Le fichier doit être décompressé avant de "
     "pouvoir "
     "être chargé"},
    {20,
     "Fichier Dynamic-link library (DLL) invalide. Une des DLLs requises pour exécuter cette "
     "application "
     "est corrompue"},
    {21, "Application nécessitant des extensions 32-bit"},
}};

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isRoot(std::string_view path) {
    return (path.size() == 1 && isSeparator(path[0])) ||
           (path.size() == 3 && path[1] == ':' && isSeparator(path[2]));
}

}  // namespace

std::string_view launcherErrorText(int errorNumber) {
    if (errorNumber >= 32) return "Pas d'erreur";
    for (const auto& [number, text] : kLauncherErrors) {
        if (number == errorNumber) return text;
    }
    return {};
}

VekError inOutError(int code) { return VekError::runtime("E/A-Fehler " + std::to_string(code)); }

void TAppExec::Clear() {
    m_errorNumber = -1;
    ExeName.clear();
    m_exePath.clear();
    ExeParams.clear();
}

void TAppExec::setExePath(std::string_view path) {
    if (!path.empty() && isSeparator(path.back()) && !isRoot(path)) path.remove_suffix(1);
    m_exePath = path;
}

std::string TAppExec::commandLine() const {
    return commandLineOf({.exeName = ExeName, .params = ExeParams});
}

void TAppExec::Execute() {
    ProcessLaunch launch{
        .exeName = ExeName, .params = ExeParams, .windowState = windowState, .detach = !Wait};
    if (ChangeDir && !m_exePath.empty()) {
        std::error_code error;
        if (!std::filesystem::is_directory(pathFromUtf8(m_exePath), error))
            throw inOutError(kPathNotFound);
        launch.workingDirectory = m_exePath;
    }
    Process program;
    if (const int code = launchProcess(launch, program); code != 0) {
        m_errorNumber = code;
        throw VekError::runtime(launcherErrorText(code));
    }
    if (Wait) {
        program.wait();
        m_errorNumber = 0;
    }
}

}  // namespace vek
