#include "objects/cob_compiler.h"

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/file_lookup.h"

namespace vek {

namespace {

constexpr std::string_view kBlanks = " \t";

bool startsWith(std::string_view line, std::string_view keyword) {
    return line.substr(0, keyword.size()) == keyword;
}

std::string_view stripped(std::string_view line) {
    const std::size_t first = line.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
}

// The value of a header line from a character position counted from 1, to the end of the line.
std::string valueFrom(std::string_view line, std::size_t position) {
    return position - 1 < line.size() ? std::string(line.substr(position - 1)) : std::string();
}

struct HeaderKeyword {
    std::string_view keyword;
    std::size_t valueStart;
    std::string CobFields::*field;
};

// Tested independently, in this order, on every line outside a section.
constexpr HeaderKeyword kHeaderKeywords[] = {
    {"name", 6, &CobFields::name}, {"quantity", 9, &CobFields::quantity},
    {"used", 6, &CobFields::used}, {"month", 7, &CobFields::month},
    {"day", 5, &CobFields::day},   {"year", 6, &CobFields::year},
};

void takeSprite(std::string_view line, const CompileSettings& settings, CompileOutput& out) {
    const std::string file = pathToUtf8(findIgnoringCase(pathFromUtf8(settings.imagePath),
                                                         valueFrom(line, 8).substr(0, 4) + ".spr"));
    const std::int32_t position = parseWholeNumber(valueFrom(line, 13));
    settings.pictures.openSpriteFileByName(file);
    settings.pictures.selectSprite(position);
    setCobPicture(out.cob, settings.pictures.currentSprite());
    out.fields.width = std::to_string(out.cob.pictureWidth);
    out.fields.height = std::to_string(out.cob.pictureHeight);
}

void addEntry(std::vector<std::string>& list, std::string text, std::string& countField,
              std::string_view english, std::string_view german) {
    if (list.size() == kMaxCobEntries) {
        const std::string limit = std::to_string(kMaxCobEntries);
        throw VekError("The source holds more than " + limit + " " + std::string(english) +
                           "; an object holds at most " + limit + ".",
                       "Der Source hat mehr als " + limit + " " + std::string(german) +
                           "; ein Objekt hat höchstens " + limit + ".");
    }
    list.push_back(std::move(text));
    countField = std::to_string(list.size());
}

void finishSection(std::string& accumulator, CompileOutput& out) {
    std::string text = accumulator.substr(1) + ",endm";
    if (startsWith(text, "scrp")) {
        addEntry(out.cob.scripts, std::move(text), out.fields.scriptCount, "scripts", "Scripts");
    } else if (startsWith(text, "inst")) {
        addEntry(out.cob.imports, std::move(text), out.fields.importCount, "installation routines",
                 "Installationsroutinen");
    }
}

}  // namespace

void compileSourceInto(std::span<const std::string_view> lines, const CompileSettings& settings,
                       CompileOutput& out) {
    bool inSection = false;
    std::string accumulator;
    for (const std::string_view rawLine : lines) {
        // A comment's star must be the very first character, before any stripping.
        if (rawLine.empty() || rawLine.front() == '*') continue;
        const std::string_view line = stripped(rawLine);
        if (!inSection) {
            for (const HeaderKeyword& header : kHeaderKeywords) {
                if (startsWith(line, header.keyword))
                    out.fields.*header.field = valueFrom(line, header.valueStart);
            }
            if (startsWith(line, "sprite")) takeSprite(line, settings, out);
            if (startsWith(line, "scrp") || startsWith(line, "inst")) {
                accumulator.clear();
                inSection = true;
            }
        }
        if (!inSection) continue;
        if (startsWith(line, "endm")) {
            finishSection(accumulator, out);
            inSection = false;
        } else if (!line.empty()) {
            accumulator += ',';
            accumulator += line;
        }
    }
}

std::vector<std::string_view> lineViews(std::span<const std::string> lines) {
    return {lines.begin(), lines.end()};
}

CompiledObject compileSource(std::span<const std::string_view> lines,
                             const CompileSettings& settings) {
    CompileOutput out;
    compileSourceInto(lines, settings, out);
    takeFieldValues(out.fields, out.cob);
    return {out.cob, out.fields, out.cob.name + ".COB"};
}

std::vector<std::string> readSourceFile(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    try {
        lines = readFileLines(path);
    } catch (const std::exception&) {
        throw VekError::runtime("Kann Datei " + pathToUtf8(path) + " nicht öffnen");
    }
    for (std::string& line : lines) line = ansiToUtf8(line);
    return lines;
}

void writeSourceFile(const std::filesystem::path& path, std::span<const std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += utf8ToAnsi(line);
        text += "\r\n";
    }
    try {
        writeFileAtomically(path, text);
    } catch (const std::exception&) {
        throw VekError::runtime("Kann Datei " + pathToUtf8(path) + " nicht erstellen");
    }
}

}  // namespace vek
