#include "objects/cob_compiler.h"

#include <algorithm>
#include <new>
#include <optional>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/text_names.h"
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

void setPicture(const SpriteImage& image, CompileOutput& out) {
    setCobPicture(out.cob, image);
    out.fields.width = std::to_string(out.cob.pictureWidth);
    out.fields.height = std::to_string(out.cob.pictureHeight);
}

void takeSprite(std::string_view line, const CompileSettings& settings, CompileOutput& out) {
    const std::string file = pathToUtf8(findIgnoringCase(pathFromUtf8(settings.imagePath),
                                                         valueFrom(line, 8).substr(0, 4) + ".spr"));
    const std::int32_t position = parseWholeNumber(valueFrom(line, 13));
    settings.pictures.openSpriteFileByName(file);
    settings.pictures.selectSprite(position);
    setPicture(settings.pictures.currentSprite(), out);
}

void addEntry(std::vector<std::string>& list, std::string text, std::string& countField,
              const Bilingual& what) {
    if (list.size() == kMaxCobEntries) {
        const BilingualText limit = untranslated(std::to_string(kMaxCobEntries));
        throw VekError(fill(Msg::SourceListTooLong, {limit, textOf(what)}));
    }
    list.push_back(std::move(text));
    countField = std::to_string(list.size());
}

void finishSection(std::string& accumulator, CompileOutput& out) {
    std::string text = accumulator.substr(1) + ",endm";
    if (startsWith(text, "scrp")) {
        addEntry(out.cob.scripts, std::move(text), out.fields.scriptCount, Msg::CobScriptsList);
    } else if (startsWith(text, "inst")) {
        addEntry(out.cob.imports, std::move(text), out.fields.importCount,
                 Msg::CobInstallationRoutinesList);
    }
}

// A header value that is no number names the line that set it: the first such value in the
// order the values are taken.
void locateHeaderError(const CompileOutput& out, VekError& error) {
    for (std::string CobFields::*field : {&CobFields::quantity, &CobFields::month, &CobFields::day,
                                          &CobFields::year, &CobFields::used}) {
        for (std::size_t k = 0; k < std::size(kHeaderKeywords); ++k) {
            if (kHeaderKeywords[k].field != field || out.headerLines[k] == 0) continue;
            try {
                parseWholeNumber(out.fields.*field);
            } catch (const VekError&) {
                error.locateAtLine(out.headerLines[k]);
                return;
            }
        }
    }
}

}  // namespace

void compileSourceInto(std::span<const std::string_view> lines, const CompileSettings& settings,
                       CompileOutput& out) {
    bool inSection = false;
    std::string accumulator;
    for (std::size_t number = 1; number <= lines.size(); ++number) {
        const SourceLine line = readSourceLine(lines[number - 1], inSection);
        if (line.kind == SourceLineKind::Outside || line.kind == SourceLineKind::SectionStart) {
            for (std::size_t k = 0; k < std::size(kHeaderKeywords); ++k) {
                const HeaderKeyword& header = kHeaderKeywords[k];
                if (!startsWith(line.text, header.keyword)) continue;
                out.fields.*header.field = valueFrom(line.text, header.valueStart);
                out.headerLines[k] = number;
            }
            const std::optional<std::string_view> picture = pictureLineName(line.text);
            if (startsWith(line.text, "sprite") || picture) {
                try {
                    if (picture) {
                        setPicture(readNamedPicture(*picture, settings.pictureFolder), out);
                    } else {
                        takeSprite(line.text, settings, out);
                    }
                } catch (VekError& error) {
                    // An error in the sprite file itself names that file, not this line.
                    if (error.detail().file.empty()) error.locateAtLine(number);
                    throw;
                }
            }
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

bool isHeaderLine(std::string_view text) {
    const auto isKeyword = [&](const HeaderKeyword& header) {
        return startsWith(text, header.keyword);
    };
    return std::any_of(std::begin(kHeaderKeywords), std::end(kHeaderKeywords), isKeyword) ||
           startsWith(text, "sprite") || pictureLineName(text).has_value();
}

std::vector<std::string_view> lineViews(std::span<const std::string> lines) {
    return {lines.begin(), lines.end()};
}

CompiledObject compileSource(std::span<const std::string_view> lines,
                             const CompileSettings& settings) {
    CompileOutput out;
    compileSourceInto(lines, settings, out);
    try {
        takeFieldValues(out.fields, out.cob);
    } catch (VekError& error) {
        locateHeaderError(out, error);
        throw;
    }
    return {out.cob, out.fields, out.cob.name + ".COB"};
}

void refuseNonSourceText(std::string_view bytes, const std::filesystem::path& file) {
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    // Tab, line and page breaks and the old end-of-file mark (26) are the controls text may hold.
    const auto binary = std::find_if(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' &&
               byte != '\v' && byte != 26;
    });
    if (!utf16 && binary == bytes.end()) return;
    throw VekError(
        utf16 ? Msg::SourceIsUtf16 : Msg::SourceIsBinary,
        ErrorDetail::ofFile(file, utf16 ? 0 : static_cast<std::uint64_t>(binary - bytes.begin())));
}

std::vector<std::string> readSourceFile(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    try {
        lines = readFileLines(path, kMaxSourceFileSize);
    } catch (const VekError& error) {
        throw VekError::runtime(fill(Msg::RuntimeCannotOpenFile, {pathToUtf8(path)}),
                                reasonOf(error));
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        throw VekError::runtime(fill(Msg::RuntimeCannotOpenFile, {pathToUtf8(path)}));
    }
    for (std::string& line : lines) {
        // Most lines are plain ASCII, the same in both encodings.
        if (std::any_of(line.begin(), line.end(), [](char c) { return (c & 0x80) != 0; }))
            line = ansiToUtf8(line);
    }
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
    } catch (const VekError& error) {
        throw VekError::runtime(fill(Msg::RuntimeCannotCreateFile, {pathToUtf8(path)}),
                                reasonOf(error));
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        throw VekError::runtime(fill(Msg::RuntimeCannotCreateFile, {pathToUtf8(path)}));
    }
}

}  // namespace vek
