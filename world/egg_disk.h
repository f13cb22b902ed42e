#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/game_paths.h"
#include "app/messages.h"
#include "app/text_names.h"

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

inline constexpr std::array<EggDiskKindInfo, 4> kEggDiskKinds = {{
    {EggDiskKind::Game, "game", {Msg::EggDiskInsertOk, Msg::EggDiskGameCaption}},
    {EggDiskKind::Grendel, "grendel", {Msg::EggDiskInsertYes, Msg::EggDiskGrendelCaption}},
    {EggDiskKind::NornEl, "nornel", {Msg::EggDiskInsertYes, Msg::EggDiskNornElCaption}},
    {EggDiskKind::GreNorn, "grenorn", {Msg::EggDiskInsertYes, Msg::EggDiskGreNornCaption}},
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
