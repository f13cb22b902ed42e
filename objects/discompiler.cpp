#include "objects/discompiler.h"

#include <algorithm>
#include <array>

#include "objects/script_events.h"
#include "objects/source_picture.h"

namespace vek {

namespace {

constexpr std::size_t kMaxTabs = 100;

using Keywords = std::span<const std::string_view>;
constexpr std::array<std::string_view, 8> kClosers = {"else", "endi", "endm", "next",
                                                      "repe", "ever", "untl", "retn"};
constexpr std::array<std::string_view, 7> kScriptOpeners = {"doif", "scrp", "enum", "reps",
                                                            "loop", "subr", "else"};
constexpr std::array<std::string_view, 8> kRoutineOpeners = {"inst", "doif", "scrp", "enum",
                                                             "reps", "loop", "subr", "else"};

// Only the first four characters of an element are compared.
bool isKeyword(std::string_view element, Keywords keywords) {
    const std::string_view head = element.substr(0, 4);
    return std::find(keywords.begin(), keywords.end(), head) != keywords.end();
}

// The event number stands in the last two characters of the "scrp" element.
std::string eventLine(std::string_view scrpElement) {
    const std::string_view digits = scrpElement.substr(scrpElement.size() - 2);
    const std::int32_t event = parseWholeNumber(digits);
    return "* Script " + std::string(scriptEventTable().lookup(event));
}

void writeMacro(std::string_view text, Keywords openers, bool withEventLines,
                std::vector<std::string>& lines) {
    if (!compilingKeeps(text)) lines.emplace_back(kDroppedByCompilingComment);
    std::size_t level = 0;
    std::size_t start = 0;
    // The text is read with one comma appended: every element ends at a comma.
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view element = text.substr(start, comma - start);
        start = comma + 1;
        if (withEventLines && element.starts_with("scrp")) lines.push_back(eventLine(element));
        if (isKeyword(element, kClosers) && level > 0) --level;
        std::string line(std::min(level, kMaxTabs), '\t');
        line += element;
        lines.push_back(std::move(line));
        if (isKeyword(element, openers)) ++level;
    }
    lines.emplace_back();
}

}  // namespace

bool compilingKeeps(std::string_view macro) {
    const std::string_view first = macro.substr(0, macro.find(','));
    const std::size_t start = first.find_first_not_of(" \t");
    if (start == std::string_view::npos || first.front() == '*') return false;
    const std::string_view head = first.substr(start);
    return head.starts_with("scrp") || head.starts_with("inst");
}

std::size_t countDroppedByCompiling(const CobData& cob) {
    const auto dropped = [](const std::vector<std::string>& macros) {
        return static_cast<std::size_t>(std::count_if(
            macros.begin(), macros.end(), [](const std::string& m) { return !compilingKeeps(m); }));
    };
    return dropped(cob.scripts) + dropped(cob.imports);
}

std::string discompiledFromLine(std::string_view objectFileName) {
    return "* Discompiled from " + std::string(objectFileName) + " using VEK DUVIvodezoroze V1.5";
}

void discompileInto(const CobData& cob, const CobFields& fields, std::string_view objectFileName,
                    std::vector<std::string>& lines) {
    lines.push_back(discompiledFromLine(objectFileName));
    lines.emplace_back();
    lines.emplace_back("* Parameters");
    lines.push_back("name " + fields.name);
    lines.push_back("quantity " + fields.quantity);
    lines.push_back("used " + fields.used);
    lines.push_back("day " + fields.day);
    lines.push_back("month " + fields.month);
    lines.push_back("year " + fields.year);
    if (const auto picture = pictureFileNameOf(cob, objectFileName, fields.name))
        lines.push_back(pictureLine(*picture));
    lines.emplace_back();
    for (const std::string& routine : cob.imports) {
        lines.emplace_back("* Installation routine");
        writeMacro(routine, kRoutineOpeners, false, lines);
    }
    for (const std::string& script : cob.scripts) writeMacro(script, kScriptOpeners, true, lines);
}

std::vector<std::string> discompile(const CobData& cob, const CobFields& fields,
                                    std::string_view objectFileName) {
    std::vector<std::string> lines;
    discompileInto(cob, fields, objectFileName, lines);
    return lines;
}

}  // namespace vek
