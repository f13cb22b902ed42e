#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/vek_error.h"

namespace vek {

// Whole-file reading in one read; a missing or unreadable file throws "Datei nicht gefunden".
// A file larger than `limit` (the most a file of its kind holds) is refused before it is read.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path,
                                        std::uint64_t limit = UINT64_MAX);
std::string readFileText(const std::filesystem::path& path, std::uint64_t limit = UINT64_MAX);

// Text lines of a file, without their CR LF or LF endings.
std::vector<std::string> readFileLines(const std::filesystem::path& path,
                                       std::uint64_t limit = UINT64_MAX);
// The lines of a text the same way, as views into it; a last line break ends no further line.
std::vector<std::string_view> splitLines(std::string_view text);

// Writes a file anew through a temporary file in the same folder that is renamed over the
// target when complete, so a failure never leaves a half-written or lost file; the file and then
// its folder are synced to the disk. The name "-" writes to standard output. Temporary files of
// ours that a killed write left in that folder, untouched for kStaleTemporaryAge, are removed.
inline constexpr std::chrono::hours kStaleTemporaryAge{24};
void writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
void writeFileAtomically(const std::filesystem::path& path, std::string_view text);
// The same for contents too large to assemble in memory: `writeContents` streams them. An
// exception it throws removes the temporary file and leaves the target as it was.
void writeFileAtomically(const std::filesystem::path& path,
                         const std::function<void(std::ostream&)>& writeContents);

// A whole copy of `source` written through a temporary file beside `target`. A file copied onto
// itself stays as it is.
void copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);

// Whole-file writes keep the replaced file's permissions and owner, and refuse a file that is
// read-only for the user. A replaced file that had other hard links is told to this sink (the
// links keep the old contents); by default nobody listens.
void setWriteNoticeSink(
    std::function<void(const BilingualText&, const std::filesystem::path&)> sink);

// Throws when `output` names the same file as `input` (also through links), which writing the
// output would destroy.
void refuseOutputOverInput(const std::filesystem::path& input, const std::filesystem::path& output);

// A new empty hidden folder in `parent` under a short name nobody can predict.
std::filesystem::path makeTemporaryFolder(const std::filesystem::path& parent);

// The run-time library's error for a file that cannot be written: "Kann nicht nach %s schreiben".
VekError cannotWriteError(const std::filesystem::path& file);

// Lines joined with CR LF after every line, as the game's text files are.
std::string joinCrLf(const std::vector<std::string>& lines);

// Paths are handled as UTF-8 text at the interfaces.
std::filesystem::path pathFromUtf8(std::string_view text);
std::string pathToUtf8(const std::filesystem::path& path);

}  // namespace vek
