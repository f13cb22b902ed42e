#include "world/egg_disk.h"

#include <system_error>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

constexpr int kEggCount = 6;

bool motherFromGrendel(EggDiskKind kind) {
    return kind == EggDiskKind::Grendel || kind == EggDiskKind::GreNorn;
}
bool fatherFromGrendel(EggDiskKind kind) {
    return kind == EggDiskKind::Grendel || kind == EggDiskKind::NornEl;
}

// A floppy that cannot be written is seen before anything is tried on it.
void requireWritableFolder(const fs::path& disk) {
    std::error_code error;
    const fs::file_status status = fs::status(disk, error);
    if (error || !fs::is_directory(status)) {
        throw VekError("Drive A: is not ready", "Laufwerk A: ist nicht bereit",
                       ErrorDetail::ofFile(disk));
    }
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        throw VekError("The disk in drive A: is write-protected",
                       "Die Diskette in Laufwerk A: ist schreibgeschützt",
                       ErrorDetail::ofFile(disk));
    }
}

#ifndef _WIN32
// Drive A: on Linux is a folder the user named; one that is not there is a clear error.
fs::path existingFolder(const fs::path& folder, std::string_view what) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        throw VekError("The folder for drive A: does not exist (" + std::string(what) + ")",
                       "Der Ordner für Laufwerk A: existiert nicht (" + std::string(what) + ")",
                       ErrorDetail::ofFile(folder));
    }
    return folder;
}
#endif

}  // namespace

const EggDiskKindInfo& eggDiskKindInfo(EggDiskKind kind) {
    for (const EggDiskKindInfo& info : kEggDiskKinds) {
        if (info.kind == kind) return info;
    }
    return kEggDiskKinds.front();
}

std::string eggDiskHeader() {
    std::vector<std::string> lines = {std::string("0").append(12, 'x')};
    for (int egg = 1; egg <= kEggCount; ++egg) {
        const std::string digit = std::to_string(egg);
        lines.push_back(std::string("mum").append(digit).append(" dad").append(digit));
    }
    return joinCrLf(lines);
}

std::vector<EggCopy> eggDiskCopies(EggDiskKind kind, const fs::path& geneticsDirectory,
                                   const fs::path& disk) {
    const fs::path grendel = findIgnoringCase(geneticsDirectory, "gren.gen");
    std::vector<EggCopy> copies;
    for (int egg = 1; egg <= kEggCount; ++egg) {
        const std::string digit = std::to_string(egg);
        const fs::path folder = disk / ("egg" + digit);
        const std::string mother = "mum" + digit + ".gen";
        const std::string father = "dad" + digit + ".gen";
        copies.push_back(
            {motherFromGrendel(kind) ? grendel : findIgnoringCase(geneticsDirectory, mother),
             folder / mother});
        copies.push_back(
            {fatherFromGrendel(kind) ? grendel : findIgnoringCase(geneticsDirectory, father),
             folder / father});
    }
    return copies;
}

void writeEggDisk(EggDiskKind kind, const fs::path& geneticsDirectory, const fs::path& disk) {
    requireWritableFolder(disk);
    writeFileAtomically(disk / "header.dat", eggDiskHeader());
    for (int egg = 1; egg <= kEggCount; ++egg) {
        std::error_code ignored;  // an existing folder, or one that cannot be made, is passed over
        fs::create_directory(disk / ("egg" + std::to_string(egg)), ignored);
    }
    std::string failedEnglish;
    std::string failedGerman;
    for (const EggCopy& copy : eggDiskCopies(kind, geneticsDirectory, disk)) {
        try {
            copyFileAtomically(copy.source, copy.target);
        } catch (const std::exception& failure) {
            const auto* own = dynamic_cast<const VekError*>(&failure);
            const std::string line = "\n" + pathToUtf8(copy.target.lexically_relative(disk)) +
                                     " <- " + pathToUtf8(copy.source) + ": ";
            failedEnglish +=
                line + (own ? std::string(own->text(kLanguageEnglish)) : failure.what());
            failedGerman += line + (own ? std::string(own->text(kLanguageGerman)) : failure.what());
        }
    }
    if (!failedEnglish.empty()) {
        throw VekError("These copies of the egg disk failed:" + failedEnglish,
                       "Diese Kopien der Ei-Disk sind fehlgeschlagen:" + failedGerman,
                       ErrorDetail::ofFile(disk));
    }
}

fs::path floppyDrive(const GamePathSources& sources) {
#ifdef _WIN32
    (void)sources;
    return fs::path("a:\\");
#else
    if (sources.floppyOption) return existingFolder(*sources.floppyOption, "--floppy");
    if (sources.floppyEnvironment)
        return existingFolder(pathFromUtf8(*sources.floppyEnvironment), "VEK_FLOPPY_DIR");
    if (sources.winePrefix) {
        const fs::path link = *sources.winePrefix / "dosdevices" / "a:";
        std::error_code error;
        if (fs::is_symlink(fs::symlink_status(link, error))) {
            const fs::path target = fs::canonical(link, error);
            if (error) {
                throw VekError("The Wine prefix's drive A: points to nothing",
                               "Laufwerk A: des Wine-Präfixes zeigt ins Leere",
                               ErrorDetail::ofFile(link));
            }
            return existingFolder(target, "dosdevices/a:");
        }
    }
    throw VekError(
        "No drive A: is set. Name the folder of the floppy with --floppy DIR or the environment "
        "variable VEK_FLOPPY_DIR, or link it as dosdevices/a: in the game's Wine prefix.",
        "Kein Laufwerk A: ist eingerichtet. Nennen Sie den Ordner der Diskette mit --floppy DIR "
        "oder der Umgebungsvariablen VEK_FLOPPY_DIR, oder verknüpfen Sie ihn als dosdevices/a: im "
        "Wine-Präfix des Spiels.");
#endif
}

}  // namespace vek
