#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/game_paths.h"
#include "app/messages.h"

namespace vek {

enum class EggDiskKind {
    Game,     // the game's own six egg pairs
    Grendel,  // Grendel mothers and fathers
    NornEl,   // Norn mothers, Grendel fathers
    GreNorn,  // Grendel mothers, Norn fathers
};

struct EggDiskKindInfo {
    EggDiskKind kind;
    std::string_view name;  // the command line's word
    BilingualBox question;  // "Insert an empty disk into drive A: then click OK!"
};

inline constexpr std::string_view kInsertDiskEnglish =
    "Insert an empty disk into drive A: then click OK!";
inline constexpr std::string_view kInsertDiskGermanOk =
    "Bitte geben Sie eine leere Diskette in Laufwerk A: und klicken Sie OK";
inline constexpr std::string_view kInsertDiskGermanYes =
    "Bitte geben Sie eine leere Diskette in Laufwerk A: und klicken Sie Ja";

inline constexpr std::array<EggDiskKindInfo, 4> kEggDiskKinds = {{
    {EggDiskKind::Game,
     "game",
     {{kInsertDiskEnglish, kInsertDiskGermanOk},
      {"Create a new Egg-Disk!", "Erstellen einer neuen Eier-Diskette"}}},
    {EggDiskKind::Grendel,
     "grendel",
     {{kInsertDiskEnglish, kInsertDiskGermanYes},
      {"Create a Grendel Egg-Disk!", "Erstellen einer Grendel Eier-Diskette"}}},
    {EggDiskKind::NornEl,
     "nornel",
     {{kInsertDiskEnglish, kInsertDiskGermanYes},
      {"Create a NornEl Egg-Disk!", "Erstellen einer NornEl Eier-Diskette"}}},
    {EggDiskKind::GreNorn,
     "grenorn",
     {{kInsertDiskEnglish, kInsertDiskGermanYes},
      {"Create a GreNorn Egg-Disk!", "Erstellen einer GreNorn Eier-Diskette"}}},
}};

const EggDiskKindInfo& eggDiskKindInfo(EggDiskKind kind);

// header.dat: seven lines ended by CR LF, the same for every kind.
std::string eggDiskHeader();

struct EggCopy {
    std::filesystem::path source;
    std::filesystem::path target;
};

// The twelve copies in their order: egg 1 mother, egg 1 father, ... egg 6 father.
std::vector<EggCopy> eggDiskCopies(EggDiskKind kind, const std::filesystem::path& geneticsDirectory,
                                   const std::filesystem::path& disk);

// Writes header.dat, the folders egg1 ... egg6 and the twelve copies. Every source is read
// first (the ones missing are named together); the disk is built in a hidden folder on the same
// drive and moved into place when whole, so a failure leaves the old disk as it was. An unknown
// genetics directory is refused. Throws VekError.
void writeEggDisk(EggDiskKind kind, const std::filesystem::path& geneticsDirectory,
                  const std::filesystem::path& disk);

// The folder that is the game's drive A:: on Windows a:\; elsewhere --floppy DIR, else
// VEK_FLOPPY_DIR, else the target of the Wine prefix's dosdevices/a:. Throws VekError saying how
// to set one when there is none, or when the one named is not a folder.
std::filesystem::path floppyDrive(const GamePathSources& sources);

}  // namespace vek
