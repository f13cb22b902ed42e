#include "generators/simple_object_source.h"

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "objects/cob_fields.h"
#include "objects/macro_insertion.h"
#include "objects/script_events.h"

namespace vek {

namespace {

// The file's one script between its quotes: every line indented by a TAB but the last, whose
// "endm" stands at the left margin. A one-line file loses both quotes and stands unindented.
void appendMacroScript(const MacroScript& script, std::vector<std::string>& out) {
    const std::string_view event = scriptEventTable().lookup(macroEventNumber(script.fileName));
    out.push_back("* script " + std::string(event));
    out.push_back(macroScrpLine(script.fileName));
    const std::size_t count = script.lines.size();
    for (std::size_t k = 0; k < count; ++k) {
        std::string_view line = script.lines[k];
        if (k == 0 && !line.empty()) line.remove_prefix(1);
        if (k + 1 == count) {
            if (!line.empty()) line.remove_suffix(1);
            out.emplace_back(line);
        } else {
            out.push_back(std::string(1, '\t').append(line));
        }
    }
    out.emplace_back();
}

void appendEmptyScript(std::size_t position, const ClassParts& parts,
                       std::vector<std::string>& out) {
    const std::string_view entry = scriptEventList().at(position);
    const std::int32_t event = parseWholeNumber(entry.substr(0, 2));
    out.push_back("* script " + std::string(entry));
    out.push_back("scrp " + std::to_string(parts.family) + " " + std::to_string(parts.genus) + " " +
                  std::to_string(parts.species) + " " + std::to_string(event));
    out.emplace_back("endm");
    out.emplace_back();
}

}  // namespace

std::vector<BilingualBox> checkSimpleObject(const SimpleObjectForm& form,
                                            const ClassSelection& selection) {
    std::vector<BilingualBox> failures;
    if (!selection.classNumber) {
        failures.push_back(kNoClassBox);
    } else if (selection.parts.family != 2) {
        failures.push_back(kNotSimpleObjectBox);
    }
    // Characters, not bytes: the form's texts are UTF-8.
    if (characterCount(form.file) != 4) failures.push_back(kSpriteFileLengthBox);
    return failures;
}

std::vector<std::string> simpleObjectSource(const SimpleObjectForm& form,
                                            const ClassSelection& selection) {
    std::vector<std::string> out = {"* Object Type: SIMPLE OBJECT", "* Object Name: " + form.name,
                                    "", "* Installation Routine:"};
    if (!form.name.empty()) out.push_back("name " + form.name);
    if (!form.file.empty() && !form.start.empty())
        out.push_back("sprite " + form.file + " " + form.start);
    out.emplace_back("quantity 12");
    out.emplace_back();
    out.emplace_back("inst");
    out.push_back("\tnew: simp " + form.file + " " + form.count + " " + form.start + " " +
                  form.plane + " " + (form.cloneSprites ? "1" : "0"));
    out.push_back("\tsetv clas " + std::to_string(selection.classNumber.value_or(0)));
    out.push_back("\tsetv attr " + std::to_string(form.attributes));
    out.push_back("\tbhvr " + std::to_string(form.click) + " " + std::to_string(form.creatures));
    if (form.edit) out.emplace_back("\tedit");
    out.emplace_back("endm");
    out.emplace_back();
    for (const MacroScript& script : form.macroScripts) appendMacroScript(script, out);
    for (const std::size_t position : form.emptyScripts)
        appendEmptyScript(position, selection.parts, out);
    return out;
}

MacroScript readMacroScript(const std::filesystem::path& file) {
    MacroScript script{pathToUtf8(file.filename()), readFileLines(file)};
    for (std::string& line : script.lines) line = ansiToUtf8(line);
    return script;
}

}  // namespace vek
