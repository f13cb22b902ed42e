#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// The warning the inserted text starts with: the class comes from the file's name.
inline constexpr std::string_view kMacroInsertedComment =
    "*Macro inserted from file - be carefull with the Class!";

// The source lines that insert a macro file: a short heading, the "scrp" line built from the
// first eight characters of the file name (family, genus, species, event, two digits each), then
// the file's lines without their enclosing quotes, each but "endm" indented by a tab. A name that
// does not start with four two-digit numbers throws the conversion error.
std::vector<std::string> macroInsertionLines(std::string_view fileName,
                                             std::span<const std::string> fileLines);

// A line of a macro file without the quote the extraction puts before the first command and
// after the last one.
std::string_view macroFileCommand(std::string_view line);

// The "scrp" line of a macro file: its name's first eight characters read as family, genus,
// species and event, two digits each ("02050301.MAC" gives "scrp 2 5 3 1"). A name that does
// not start with four two-digit numbers throws the conversion error. A name with the class in
// full after a dash ("02050501-002005105.MAC") gives it whole ("scrp 2 5 105 1").
std::string macroScrpLine(std::string_view fileName);
// The event number of a macro file: its name's characters 7 and 8.
int macroEventNumber(std::string_view fileName);

// The same for a .MAC file on disk (ANSI text); a file that cannot be read throws.
std::vector<std::string> readMacroForInsertion(const std::filesystem::path& path);

// The program directory's macro folder ("MAC", found in any letter case); the plain "mac" when
// there is none yet.
std::filesystem::path macroDirectory(const std::filesystem::path& programDirectory);
// The names of the folder's files, sorted; none when it does not exist.
std::vector<std::string> fileNamesIn(const std::filesystem::path& directory);
// Those of them that end in ".MAC" (any letter case).
std::vector<std::string> macroFileNames(const std::filesystem::path& directory);

// The lines as one text: separated by line breaks, none after the last.
std::string joinInsertedLines(std::span<const std::string> lines);

// The text that inserts a .MAC file at the caret: its lines, the last one ended too, so that
// what follows the caret stays on a line of its own rather than running into "endm".
std::string macroInsertionText(const std::filesystem::path& path);

}  // namespace vek
