#include "gamelink/macro_extraction.h"

#include <charconv>
#include <cstdio>
#include <unordered_set>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/messages.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

int toInteger(std::string_view piece) {
    int value = 0;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (piece.empty() || error != std::errc() || end != piece.data() + piece.size()) {
        throw invalidIntegerError(piece);
    }
    return value;
}

// Family, genus and species are bytes in the game; anything else is no class of its world and
// would name no macro file of eight digits.
int classNumber(std::string_view piece) {
    const int value = toInteger(piece);
    if (value < 0 || value > 255) {
        const std::string text(piece);
        throw VekError(fill(Msg::ClassNumberOutOfRange, {text}));
    }
    return value;
}

std::string lastTwoDigits(int number) {
    const std::string text = "00" + std::to_string(number);
    return text.substr(text.size() - 2);
}

}  // namespace

ClassList parseClassKeys(std::string_view answer) {
    const std::string text = std::string(answer) + "|";
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        pieces.push_back(std::string_view(text).substr(start, bar - start));
        start = bar + 1;
    }
    // Every piece must be a number, except the empty ones of a short last group: the game
    // closes each value with a bar, so the answer always ends in one such piece.
    const std::size_t complete = pieces.size() - pieces.size() % 3;
    for (std::size_t i = complete; i < pieces.size(); ++i) {
        if (!pieces[i].empty()) toInteger(pieces[i]);
    }
    ClassList list;
    std::unordered_set<std::string> seen;
    for (std::size_t i = 0; i < complete; i += 3) {
        ClassKey key{std::string(pieces[i]) + " " + std::string(pieces[i + 1]) + " " +
                         std::string(pieces[i + 2]) + " ",
                     classNumber(pieces[i]), classNumber(pieces[i + 1]),
                     classNumber(pieces[i + 2])};
        if (!seen.insert(key.text).second) continue;
        if (list.keys.size() < kMaxClassKeys) {
            list.keys.push_back(std::move(key));
        } else {
            ++list.dropped;
        }
    }
    return list;
}

std::string scriptRequestMacro(const ClassKey& key, int event) {
    return "inst,dde: scrp " + key.text + std::to_string(event) + ",endm";
}

std::string macroFileName(int family, int genus, int species, int event) {
    return lastTwoDigits(family) + lastTwoDigits(genus) + lastTwoDigits(species) +
           lastTwoDigits(event) + ".MAC";
}

std::string distinctMacroFileName(int family, int genus, int species, int event) {
    char full[40];
    std::snprintf(full, sizeof full, "-%03d%03d%03d", family, genus, species);
    std::string name = macroFileName(family, genus, species, event);
    return name.insert(8, full);
}

std::vector<std::string> macroFileLines(std::string_view script) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = script.find(',', start);
        lines.emplace_back(script.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    lines.front().insert(lines.front().begin(), '"');
    lines.back() += "\"";
    return lines;
}

ExtractionResult extractAllMacros(const MacroQuestion& sendMacro,
                                  const std::filesystem::path& macDirectory,
                                  std::string_view language,
                                  const std::function<void(const std::string&)>& progress) {
    ExtractionResult result;
    progress(std::string(Msg::ExtractionBePatient.in(language)));
    ++result.requests;
    // A game that cannot be reached gives no classes: the run ends after its first line.
    const ClassList classes = parseClassKeys(sendMacro(kEnumerationMacro).value_or(""));
    result.classes = classes.keys.size();
    if (classes.dropped > 0) {
        progress(std::string(
            fill(Msg::ExtractionClassesDropped, {std::to_string(classes.dropped)}).in(language)));
    }
    // Classes 5 and 105 share their eight-digit names; a file of this run is never replaced.
    std::unordered_set<std::string> written;
    const std::string total = std::to_string(classes.keys.size());
    for (std::size_t n = 0; n < classes.keys.size(); ++n) {
        const ClassKey& key = classes.keys[n];
        progress(std::string(
            fill(Msg::ExtractionScanningObject, {std::to_string(n + 1), total, key.text})
                .in(language)));
        for (int event = 0; event < kScriptEventCount; ++event) {
            ++result.requests;
            const std::optional<std::string> script = sendMacro(scriptRequestMacro(key, event));
            if (!script) {
                result.stopped = true;
                progress(std::string(Msg::ExtractionRunStopped.in(language)));
                return result;
            }
            if (script->empty()) continue;
            std::string name = macroFileName(key.family, key.genus, key.species, event);
            if (written.contains(name))
                name = distinctMacroFileName(key.family, key.genus, key.species, event);
            const std::filesystem::path file = macDirectory / name;
            progress(
                std::string(fill(Msg::ExtractionWritingFile, {pathToUtf8(file)}).in(language)));
            // Macro files are the game's text files: in its code page, lines ending in CR LF.
            writeFileAtomically(file, utf8ToAnsi(joinCrLf(macroFileLines(*script))));
            written.insert(name);
            ++result.files;
        }
    }
    return result;
}

}  // namespace vek
