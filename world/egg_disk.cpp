#include "world/egg_disk.h"

#include <cstdint>
#include <optional>
#include <system_error>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/scope_exit.h"
#include "app/text_names.h"
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
        throw VekError(Msg::DriveANotReady, ErrorDetail::ofFile(disk));
    }
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        throw VekError(Msg::DiskWriteProtected, ErrorDetail::ofFile(disk));
    }
}

#ifndef _WIN32
// Drive A: on Linux is a folder the user named; one that is not there is a clear error.
fs::path existingFolder(const fs::path& folder, std::string_view what) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        throw VekError(fill(Msg::DriveAFolderMissing, {what}), ErrorDetail::ofFile(folder));
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

namespace {

// Every genetics file the disk needs, read before anything on the disk changes; the ones that
// cannot be read are named in one message.
std::vector<std::vector<std::uint8_t>> readSources(const std::vector<EggCopy>& copies,
                                                   const fs::path& disk) {
    std::vector<std::vector<std::uint8_t>> contents;
    std::string missing;
    for (const EggCopy& copy : copies) {
        try {
            contents.push_back(readFileBytes(copy.source));
        } catch (const VekError&) {
            const std::string name = "\n" + pathToUtf8(copy.source);
            if (missing.find(name) == std::string::npos) missing += name;
        }
    }
    if (!missing.empty()) {
        throw VekError(fill(Msg::EggDiskGeneticsUnreadable, {missing}), ErrorDetail::ofFile(disk));
    }
    return contents;
}

// Moves the finished files from `staging` onto the disk, one rename each. The files they
// replace wait in the staging folder until every move is done; a failed move puts them back.
void moveIntoPlace(const fs::path& staging, const fs::path& disk,
                   const std::vector<fs::path>& files) {
    const fs::path kept = staging / ".replaced";
    fs::create_directory(kept);
    struct Move {
        fs::path target;
        std::optional<fs::path> replaced;
    };
    std::vector<Move> done;
    std::vector<fs::path> madeFolders;
    try {
        for (const fs::path& file : files) {
            const fs::path target = disk / file;
            if (fs::create_directory(target.parent_path()))
                madeFolders.push_back(target.parent_path());
            Move move{target, {}};
            if (fs::exists(fs::symlink_status(target))) {
                move.replaced = kept / std::to_string(done.size());
                fs::rename(target, *move.replaced);
            }
            done.push_back(move);
            fs::rename(staging / file, target);
        }
    } catch (const std::exception&) {
        std::error_code ignored;
        for (auto move = done.rbegin(); move != done.rend(); ++move) {
            if (!move->replaced) {
                fs::remove(move->target, ignored);
            } else {
                fs::rename(*move->replaced, move->target, ignored);
            }
        }
        for (const fs::path& folder : madeFolders) fs::remove(folder, ignored);
        throw;
    }
}

}  // namespace

void writeEggDisk(EggDiskKind kind, const fs::path& geneticsDirectory, const fs::path& disk) {
    requireWritableFolder(disk);
    const fs::path genetics =
        knownGameFolder(pathToUtf8(geneticsDirectory), kGeneticsDirectoryValue);
    const std::vector<EggCopy> copies = eggDiskCopies(kind, genetics, disk);
    const std::vector<std::vector<std::uint8_t>> contents = readSources(copies, disk);

    // The disk is built whole in a hidden folder on the same drive and then moved into place,
    // so that a full disk or a failed write leaves the old disk as it was.
    const fs::path staging = makeTemporaryFolder(disk);
    const ScopeExit removeStaging([&staging] {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
    });
    try {
        std::vector<fs::path> files = {"header.dat"};
        writeFileAtomically(staging / files.front(), eggDiskHeader());
        for (std::size_t i = 0; i < copies.size(); ++i) {
            files.push_back(copies[i].target.lexically_relative(disk));
            fs::create_directories(staging / files.back().parent_path());
            writeFileAtomically(staging / files.back(), contents[i]);
        }
        moveIntoPlace(staging, disk, files);
    } catch (const std::exception& failure) {
        throw VekError(fill(Msg::EggDiskNotWritten, {failureText(failure)}),
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
                throw VekError(Msg::WineDriveADangling, ErrorDetail::ofFile(link));
            }
            return existingFolder(target, "dosdevices/a:");
        }
    }
    throw VekError(Msg::NoDriveA);
#endif
}

}  // namespace vek
