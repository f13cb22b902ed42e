#include "objects/cob_compiler.h"

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/file_lookup.h"
#include "objects/source_lines.h"

namespace vek {

namespace {

bool startsWith(std::string_view line, std::string_view keyword) {
    return line.substr(0, keyword.size()) == keyword;
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
        const SourceLine line = readSourceLine(rawLine, inSection);
        if (line.kind == SourceLineKind::Outside || line.kind == SourceLineKind::SectionStart) {
            for (const HeaderKeyword& header : kHeaderKeywords) {
                if (startsWith(line.text, header.keyword))
                    out.fields.*header.field = valueFrom(line.text, header.valueStart);
            }
            if (startsWith(line.text, "sprite")) takeSprite(line.text, settings, out);
        }
        if (line.kind == SourceLineKind::SectionStart) accumulator.clear();
        if (line.kind == SourceLineKind::SectionEnd) {
            finishSection(accumulator, out);
        } else if ((line.kind == SourceLineKind::SectionStart ||
                    line.kind == SourceLineKind::SectionLine) &&
                   !line.text.empty()) {
            accumulator += ',';
            accumulator += line.text;
        }
        inSection = sectionOpenAfter(line.kind, inSection);
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
