#include "generators/class_catalogue.h"

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "objects/classifier.h"
#include "objects/cob_fields.h"

namespace vek {

namespace {

// Below a species the tree may go deeper, but not without end: entries are handled recursively.
constexpr std::size_t kDeepestLevel = 31;

VekError invalidLevelError(std::size_t level, std::string_view text, std::size_t line) {
    // The tree's own error, the same in both languages.
    std::string message = "Ungültige Ebene (" + std::to_string(level) + ") für Element \"";
    message.append(text).append("\"");
    return VekError::runtime(message, ErrorDetail::atLine(line));
}

VekError noBraceError(std::size_t line) {
    return VekError(Msg::CatalogueLineNoBrace, ErrorDetail::atLine(line));
}

VekError badImportLineError(std::size_t line, const Bilingual& why) {
    return VekError(fill(Msg::ObjedLineInvalid, {textOf(why)}), ErrorDetail::atLine(line));
}

// The numbers of an entry text as the window cuts them: up to the last "{", without it and the
// character before it, then one space; the pieces between spaces in order.
std::vector<std::string_view> classPieces(std::string_view entryText, std::string& copy) {
    const std::size_t brace = entryText.rfind('{');
    copy.assign(entryText.substr(0, brace == std::string_view::npos ? 0 : brace + 1));
    copy.resize(copy.size() >= 2 ? copy.size() - 2 : 0);
    copy += ' ';
    std::vector<std::string_view> pieces;
    std::string_view rest = copy;
    for (std::size_t space = rest.find(' '); space != std::string_view::npos;
         space = rest.find(' ')) {
        pieces.push_back(rest.substr(0, space));
        rest.remove_prefix(space + 1);
    }
    return pieces;
}

void appendLines(const ClassEntry& entry, std::size_t level, std::vector<std::string>& out) {
    out.push_back(std::string(level, '\t') + entry.text);
    for (const ClassEntry& child : entry.children) appendLines(child, level + 1, out);
}

}  // namespace

// ---- the tree ---------------------------------------------------------------------------------

const ClassEntry& ClassCatalogue::at(const EntryPath& path) const {
    return const_cast<ClassCatalogue*>(this)->entryAt(path);
}

ClassEntry& ClassCatalogue::entryAt(const EntryPath& path) {
    if (path.empty()) throw std::out_of_range("class entry path");
    std::vector<ClassEntry>* siblings = &m_families;
    ClassEntry* entry = nullptr;
    for (std::size_t index : path) {
        entry = &siblings->at(index);
        siblings = &entry->children;
    }
    return *entry;
}

void ClassCatalogue::read(std::string_view ansiText) {
    m_families.clear();
    // Per level, the list the next entry of that level joins; deeper levels than species are
    // kept as they stand, since every line may go one level deeper than the line before.
    std::vector<std::vector<ClassEntry>*> parents{&m_families};
    std::size_t previousLevel = 0;
    bool first = true;
    std::size_t lineNumber = 0;
    for (std::string_view line : splitLines(ansiText)) {
        ++lineNumber;
        if (line == "\x1A" || line.empty()) continue;
        const std::size_t level = std::min(line.find_first_not_of("\t "), line.size());
        const std::string text = ansiToUtf8(line.substr(level));
        const std::size_t deepest = first ? 0 : previousLevel + 1;
        if (level > deepest || level > kDeepestLevel)
            throw invalidLevelError(level, text, lineNumber);
        if (text.find('{') == std::string::npos) throw noBraceError(lineNumber);
        std::vector<ClassEntry>& siblings = *parents[level];
        siblings.push_back({text, {}});
        parents.resize(level + 1);
        parents.push_back(&siblings.back().children);
        previousLevel = level;
        first = false;
    }
}

void ClassCatalogue::readFile(const std::filesystem::path& file) {
    readingFile(file, [&] { read(readFileText(file)); });
}

std::vector<std::string> ClassCatalogue::lines() const {
    std::vector<std::string> out;
    for (const ClassEntry& family : m_families) appendLines(family, 0, out);
    return out;
}

std::string ClassCatalogue::fileText() const {
    std::vector<std::string> ansi = lines();
    for (std::string& line : ansi) line = utf8ToAnsi(line);
    return joinCrLf(ansi);
}

void ClassCatalogue::writeFile(const std::filesystem::path& file) const {
    writeFileAtomically(file, fileText());
}

std::vector<ClassEntry>& ClassCatalogue::siblingsOf(const EntryPath& path) {
    const EntryPath parent(path.begin(), path.end() - 1);
    return parent.empty() ? m_families : entryAt(parent).children;
}

EntryPath ClassCatalogue::add(const EntryPath& parent, std::string text) {
    std::vector<ClassEntry>& siblings = parent.empty() ? m_families : entryAt(parent).children;
    siblings.push_back({std::move(text), {}});
    EntryPath path = parent;
    path.push_back(siblings.size() - 1);
    return path;
}

void ClassCatalogue::remove(const EntryPath& path) {
    entryAt(path);  // checks the path
    std::vector<ClassEntry>& siblings = siblingsOf(path);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(path.back()));
}

void ClassCatalogue::insert(const EntryPath& path, ClassEntry entry) {
    if (path.empty()) throw std::out_of_range("class entry path");
    std::vector<ClassEntry>& siblings = siblingsOf(path);
    if (path.back() > siblings.size()) throw std::out_of_range("class entry path");
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(path.back()), std::move(entry));
}

// ---- objed.dta --------------------------------------------------------------------------------

ClassCatalogue importObjed(std::string_view ansiText) {
    ClassCatalogue catalogue;
    // Per level, the latest line's entry and its class text ("2", "2 5"); a new family ends
    // the genus of the family before.
    std::optional<EntryPath> latest[2];
    std::string latestClassText[2];
    std::size_t lineNumber = 0;
    // The DOS end-of-file byte after the last line is no line.
    if (ansiText.ends_with('\x1A')) ansiText.remove_suffix(1);
    for (std::string_view line : splitLines(ansiText)) {
        ++lineNumber;
        if (line == "\x1A") continue;
        if (lineNumber > kImportTableLines) {
            throw VekError(Msg::ObjedTooLong, ErrorDetail::atLine(lineNumber));
        }
        const char levelDigit = line.empty() ? '\0' : line.back();
        if (levelDigit < '1' || levelDigit > '3') {
            throw badImportLineError(lineNumber, Msg::ObjedLevelInvalid);
        }
        const std::size_t level = static_cast<std::size_t>(levelDigit - '1');
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos || line.size() < 3 || comma > line.size() - 3) {
            throw badImportLineError(lineNumber, Msg::ObjedCommaMissing);
        }
        const std::string_view number = line.substr(0, comma);
        // An entry text that began with a blank would read back from classes.vek a level deeper.
        if (number.empty() || number.front() == ' ' || number.front() == '\t') {
            throw badImportLineError(lineNumber, Msg::ObjedNumberMissing);
        }
        const std::string_view kept = line.substr(0, line.size() - 3);
        const std::string_view description =
            kept.size() > comma + 2 ? kept.substr(comma + 2) : std::string_view();
        std::string tail(1, '{');
        tail.append(ansiToUtf8(description)).push_back('}');
        std::string classText = ansiToUtf8(number);
        if (level > 0) {
            if (!latest[level - 1]) {
                throw badImportLineError(lineNumber, Msg::ObjedParentMissing);
            }
            classText = latestClassText[level - 1] + " " + classText;
        }
        const EntryPath path =
            catalogue.add(level > 0 ? *latest[level - 1] : EntryPath{}, classText + " " + tail);
        if (level < 2) {
            latest[level] = path;
            latestClassText[level] = classText;
        }
        if (level == 0) latest[1].reset();
    }
    return catalogue;
}

ClassCatalogue importObjedFile(const std::filesystem::path& file) {
    return readingFile(file, [&] { return importObjed(readFileText(file)); });
}

// ---- entries and the selection ----------------------------------------------------------------

ClassParts classPartsOf(std::string_view entryText) {
    std::string copy;
    const std::vector<std::string_view> pieces = classPieces(entryText, copy);
    ClassParts parts;
    std::int32_t* targets[] = {&parts.family, &parts.genus, &parts.species};
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const std::int32_t value = parseWholeNumber(pieces[k]);
        if (k < 3) *targets[k] = value;
    }
    return parts;
}

std::string ClassParts::numbers() const {
    // Built by appends: GCC 12 warns falsely about " " + std::to_string(…) here.
    std::string text = std::to_string(family);
    for (const std::int32_t part : {genus, species}) {
        if (part == kAbsentPart) continue;
        text.push_back(' ');
        text.append(std::to_string(part));
    }
    return text;
}

std::function<bool(int, int, int)> classLookupOf(ClassCatalogue catalogue) {
    return [catalogue = std::move(catalogue)](int family, int genus, int species) {
        return catalogue.findClass({family, genus, species}).has_value();
    };
}

std::optional<EntryPath> ClassCatalogue::findClass(const ClassParts& parts) const {
    // Families, genera and species: the levels whose entries name a class.
    constexpr std::size_t kClassLevels = 3;
    std::optional<EntryPath> found;
    const auto search = [&](const auto& self, const std::vector<ClassEntry>& entries,
                            EntryPath& path) -> void {
        for (std::size_t k = 0; k < entries.size() && !found; ++k) {
            path.push_back(k);
            try {
                if (classPartsOf(entries[k].text) == parts) found = path;
            } catch (const VekError&) {
                // a hand-edited entry whose numbers cannot be read names no class
            }
            if (!found && path.size() < kClassLevels) self(self, entries[k].children, path);
            path.pop_back();
        }
    };
    EntryPath path;
    search(search, m_families, path);
    return found;
}

std::string catalogueName(const ClassCatalogue& catalogue, const ClassParts& parts) {
    const std::optional<EntryPath> entry = catalogue.findClass(parts);
    return entry ? descriptionOf(catalogue.at(*entry).text) : std::string();
}

std::string descriptionOf(std::string_view entryText) {
    const std::size_t brace = entryText.find('{');
    if (brace == std::string_view::npos) return {};
    std::string_view rest = entryText.substr(brace + 1);
    if (rest.starts_with(' ')) rest.remove_prefix(1);
    if (!rest.empty()) rest.remove_suffix(1);
    return std::string(rest);
}

ClassSelection ClassSelection::of(std::string_view entryText) {
    ClassSelection selection;
    selection.text = entryText;
    selection.parts = classPartsOf(entryText);
    // An absent part enters the packing as -255; only a species' number is ever used.
    selection.classNumber =
        Classifier{selection.parts.family, selection.parts.genus, selection.parts.species}
            .classNumber();
    return selection;
}

std::string ClassSelection::macroFileMask() const {
    if (!parts.hasSpecies()) return "1.1";
    auto twoDigits = [](std::int32_t value) {
        const std::string digits = "00" + std::to_string(value);
        return digits.substr(digits.size() - 2);
    };
    return twoDigits(parts.family) + twoDigits(parts.genus) + twoDigits(parts.species) + "*.*";
}

bool matchesMacroMask(std::string_view fileName, std::string_view mask) {
    if (!mask.ends_with("*.*")) return fileName == mask;
    const std::string_view prefix = mask.substr(0, mask.size() - 3);
    return fileName.starts_with(prefix) && fileName.find('.', prefix.size()) != std::string::npos;
}

namespace {

// The number after `last` that no child has, counting on to 99 and then from 0; none when
// every number from 0 to 99 is taken.
std::optional<std::int32_t> freeNumberAfter(std::int32_t last, const ClassEntry& selected,
                                            std::size_t part) {
    std::vector<bool> taken(kMaxAddedNumber + 1, false);
    for (const ClassEntry& child : selected.children) {
        std::string copy;
        const std::vector<std::string_view> pieces = classPieces(child.text, copy);
        try {
            const std::int32_t number = part < pieces.size() ? parseWholeNumber(pieces[part]) : -1;
            if (number >= 0 && number <= kMaxAddedNumber)
                taken[static_cast<std::size_t>(number)] = true;
        } catch (const VekError&) {
            // A child whose numbers cannot be read takes none.
        }
    }
    const std::int32_t start = last + 1 <= kMaxAddedNumber ? std::max(last + 1, 0) : 0;
    for (std::int32_t k = 0; k <= kMaxAddedNumber; ++k) {
        const std::int32_t number = (start + k) % (kMaxAddedNumber + 1);
        if (!taken[static_cast<std::size_t>(number)]) return number;
    }
    return std::nullopt;
}

}  // namespace

AddSuggestion suggestAddition(const ClassEntry& selected, const ClassSelection& selection) {
    const std::string& reference =
        selected.children.empty() ? selected.text : selected.children.back().text;
    std::string copy;
    std::int32_t numbers[3] = {-1, -1, -1};
    const std::vector<std::string_view> pieces = classPieces(reference, copy);
    for (std::size_t k = 0; k < pieces.size() && k < 3; ++k)
        numbers[k] = parseWholeNumber(pieces[k]);
    AddSuggestion suggestion;
    suggestion.family = selection.parts.family;
    suggestion.genus = !selection.parts.hasGenus();
    const std::size_t part = suggestion.genus ? 1 : 2;
    const std::optional<std::int32_t> free = freeNumberAfter(numbers[part], selected, part);
    suggestion.full = !free;
    const std::int32_t number = free.value_or(kMaxAddedNumber);
    suggestion.genusNumber = suggestion.genus ? number : selection.parts.genus;
    suggestion.speciesNumber = suggestion.genus ? 0 : number;
    return suggestion;
}

std::string newEntryText(bool genus, std::string_view family, std::string_view genusText,
                         std::string_view species, std::string_view description) {
    std::string text(family);
    text.append(" ").append(genusText);
    if (!genus) text.append(" ").append(species);
    text.append(" {").append(description).append("}");
    return text;
}

}  // namespace vek
