#include "objects/macro_insertion.h"

#include <algorithm>
#include <cctype>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/file_lookup.h"
#include "objects/cob_fields.h"

namespace vek {

namespace {

std::int32_t twoDigitsAt(std::string_view fileName, std::size_t at) {
    return parseWholeNumber(at < fileName.size() ? fileName.substr(at, 2) : std::string_view());
}

}  // namespace

std::string_view macroFileCommand(std::string_view line) {
    if (line.starts_with('"')) line.remove_prefix(1);
    if (line.ends_with('"')) line.remove_suffix(1);
    return line;
}

std::string macroScrpLine(std::string_view fileName) {
    std::string line = "scrp";
    // "02050501-002005105.MAC": the class in full after the dash, for numbers above 99.
    const bool full = fileName.size() > 18 && fileName[8] == '-' &&
                      std::all_of(fileName.begin() + 9, fileName.begin() + 18, [](char c) {
                          return std::isdigit(static_cast<unsigned char>(c));
                      });
    for (std::size_t part = 0; part < 3; ++part) {
        line += ' ';
        line += std::to_string(full ? parseWholeNumber(fileName.substr(9 + 3 * part, 3))
                                    : twoDigitsAt(fileName, 2 * part));
    }
    line += ' ';
    line += std::to_string(twoDigitsAt(fileName, 6));
    return line;
}

int macroEventNumber(std::string_view fileName) { return twoDigitsAt(fileName, 6); }

std::vector<std::string> macroInsertionLines(std::string_view fileName,
                                             std::span<const std::string> fileLines) {
    std::vector<std::string> lines = {"", std::string(kMacroInsertedComment), "",
                                      macroScrpLine(fileName)};
    lines.reserve(lines.size() + fileLines.size());
    for (const std::string& fileLine : fileLines) {
        std::string line(macroFileCommand(fileLine));
        if (line != "endm") line.insert(line.begin(), '\t');
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> readMacroForInsertion(const std::filesystem::path& path) {
    std::vector<std::string> fileLines = readFileLines(path);
    for (std::string& line : fileLines) line = ansiToUtf8(line);
    return macroInsertionLines(pathToUtf8(path.filename()), fileLines);
}

std::filesystem::path macroDirectory(const std::filesystem::path& programDirectory) {
    return findIgnoringCase(programDirectory, "mac");
}

std::vector<std::string> fileNamesIn(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (entry.is_regular_file(error)) names.push_back(pathToUtf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> macroFileNames(const std::filesystem::path& directory) {
    std::vector<std::string> names = fileNamesIn(directory);
    std::erase_if(names, [](std::string_view name) {
        return name.size() <= 4 || !equalsIgnoringCase(name.substr(name.size() - 4), ".mac");
    });
    return names;
}

std::string joinInsertedLines(std::span<const std::string> lines) {
    std::string text;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) text += '\n';
        text += lines[k];
    }
    return text;
}

std::string macroInsertionText(const std::filesystem::path& path) {
    return joinInsertedLines(readMacroForInsertion(path)) + '\n';
}

}  // namespace vek
