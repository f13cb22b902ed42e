#include "objects/object_check.h"

#include <algorithm>
#include <utility>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/text_names.h"
#include "language/later_generation.h"
#include "language/nearest_words.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
#include "objects/macro_insertion.h"
#include "objects/script_events.h"
#include "objects/source_lines.h"

namespace vek {

namespace {

int columnOf(std::string_view raw, std::size_t offset) {
    return characterCount(raw.substr(0, offset)) + 1;
}

// The first word of a line, and the first two, lower case.
std::pair<std::string, std::string> leadingWords(std::string_view text) {
    std::string first;
    std::string both;
    std::size_t at = 0;
    for (int word = 0; word < 2; ++word) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        const std::size_t start = at;
        while (at < text.size() && text[at] != ' ' && text[at] != '\t') ++at;
        std::string part(text.substr(start, at - start));
        std::transform(part.begin(), part.end(), part.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        if (word == 0) {
            first = part;
            both = part;
        } else if (!part.empty()) {
            both += " " + part;
        }
    }
    return {first, both};
}

bool beginsWithCommand(std::string_view text, const Dictionary& dictionary) {
    const auto [first, both] = leadingWords(text);
    return dictionary.command(first) ||
           (dictionary.beginsLongerCommand(first) && dictionary.command(both));
}

std::string quoted(std::string_view text) {
    std::string out(1, '"');
    out.append(shortenedToken(text)).push_back('"');
    return out;
}

}  // namespace

SourceSection sourceSection(std::span<const std::string> lines, std::size_t first,
                            std::size_t last) {
    // The macro that compiling makes of the section: its lines joined by commas, then endm.
    SourceSection section;
    section.firstLine = first;
    bool open = false;
    for (std::size_t k = first; k <= last && k < lines.size(); ++k) {
        const SourceLine read = readSourceLine(lines[k], open);
        open = sectionOpenAfter(read.kind, open);
        if (read.kind == SourceLineKind::Skipped || read.text.empty()) continue;
        const bool end = read.kind == SourceLineKind::SectionEnd;
        if (!section.macro.text().empty()) section.macro.appendJoin(",");
        section.macro.append(end ? read.text.substr(0, 4) : read.text, static_cast<int>(k) + 1,
                             columnOf(lines[k], read.offset));
        section.closed = end;
    }
    section.kind =
        section.macro.text().starts_with("scrp") ? MacroKind::Script : MacroKind::Routine;
    return section;
}

std::vector<SourceSection> sourceSections(std::span<const std::string> lines) {
    std::vector<SourceSection> sections;
    bool open = false;
    std::size_t first = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const SourceLineKind kind = readSourceLine(lines[k], open).kind;
        if (kind == SourceLineKind::SectionStart) first = k;
        open = sectionOpenAfter(kind, open);
        if (kind == SourceLineKind::SectionEnd) sections.push_back(sourceSection(lines, first, k));
    }
    return sections;
}

CheckOptions objectCheckOptions() {
    CheckOptions options;
    options.events = scriptEventTable().texts();
    return options;
}

// Before any line, no section is open.
SourceCheck::SourceCheck(CheckOptions options) : m_options(options), m_openBefore(1, false) {}

void SourceCheck::reset(std::vector<std::string> lines) {
    m_lines = std::move(lines);
    m_openBefore.assign(m_lines.size() + 1, false);
    m_regions.clear();
    walk(0, 0, m_lines.size(), 0);
    m_installationChanged = false;
}

void SourceCheck::checkAgain(std::set<FindingCode> switchedOff) {
    m_options.switchedOff = std::move(switchedOff);
    std::vector<std::string> lines = std::move(m_lines);
    reset(std::move(lines));
}

void SourceCheck::takeInstallation() {
    if (!m_installationSource || std::exchange(m_installationTaken, true)) return;
    std::shared_ptr<const InstallationFacts> facts = m_installationSource();
    if (facts == m_options.installation) return;
    // Sections checked before took the facts as they were.
    m_installationChanged = m_installationChanged || (m_options.installation && !m_regions.empty());
    m_options.installation = std::move(facts);
}

bool SourceCheck::checksClasses() const {
    return m_options.installation && m_options.installation->knowsClass &&
           !m_options.switchedOff.contains(FindingCode::ClassUnknown);
}

void SourceCheck::replaceLines(std::size_t first, std::size_t removed,
                               std::vector<std::string> inserted) {
    first = std::min(first, m_lines.size());
    removed = std::min(removed, m_lines.size() - first);

    // Start again where the region of the first changed line begins; within a run of lines
    // outside every section, at the line itself.
    std::size_t region = 0;
    while (region + 1 < m_regions.size() && m_regions[region + 1].first <= first) ++region;
    std::size_t from = m_regions.empty() ? 0 : m_regions[region].first;
    if (!m_regions.empty() && !m_regions[region].section && from < first) {
        Region tail = m_regions[region];
        Region& head = m_regions[region];
        head.last = first - 1;
        std::erase_if(head.found, [&](const Finding& f) {
            return static_cast<std::size_t>(f.position.line) > first - head.first;
        });
        std::erase_if(tail.found, [&](const Finding& f) {
            return static_cast<std::size_t>(f.position.line) <= first - tail.first;
        });
        for (Finding& f : tail.found) f.position.line -= static_cast<int>(first - tail.first);
        tail.first = first;
        m_regions.insert(m_regions.begin() + static_cast<std::ptrdiff_t>(region) + 1,
                         std::move(tail));
        ++region;
        from = first;
    }

    const auto at = [](std::size_t index) { return static_cast<std::ptrdiff_t>(index); };
    const std::ptrdiff_t shift = at(inserted.size()) - at(removed);
    m_lines.erase(m_lines.begin() + at(first), m_lines.begin() + at(first + removed));
    m_lines.insert(m_lines.begin() + at(first), std::make_move_iterator(inserted.begin()),
                   std::make_move_iterator(inserted.end()));
    m_openBefore.erase(m_openBefore.begin() + at(first) + 1,
                       m_openBefore.begin() + at(first + removed) + 1);
    m_openBefore.insert(m_openBefore.begin() + at(first) + 1, inserted.size(), false);
    walk(from, region, first + inserted.size(), shift);
    if (m_installationChanged) checkAgain(m_options.switchedOff);
}

void SourceCheck::walk(std::size_t from, std::size_t region, std::size_t editEnd,
                       std::ptrdiff_t shift) {
    std::vector<Region> fresh;
    std::size_t unchanged = region;  // the first old region the walk has not passed
    std::size_t line = from;
    m_linesRead = 0;
    m_installationTaken = false;
    while (line < m_lines.size()) {
        const std::size_t start = line;
        bool open = m_openBefore[line];
        const bool section =
            readSourceLine(m_lines[line], open).kind == SourceLineKind::SectionStart;
        do {
            const SourceLine current = readSourceLine(m_lines[line], open);
            if (!section && current.kind == SourceLineKind::SectionStart) break;
            open = sectionOpenAfter(current.kind, open);
            m_openBefore[++line] = open;
            if (current.kind == SourceLineKind::SectionEnd) break;
        } while (line < m_lines.size());
        fresh.push_back(checkRegion(start, line - 1, section));
        m_linesRead += line - start;
        if (line < editEnd) continue;
        // Past the edit, the walk may stop where a region began before it.
        while (unchanged < m_regions.size() &&
               static_cast<std::ptrdiff_t>(m_regions[unchanged].first) + shift <
                   static_cast<std::ptrdiff_t>(line)) {
            ++unchanged;
        }
        if (unchanged < m_regions.size() &&
            static_cast<std::ptrdiff_t>(m_regions[unchanged].first) + shift ==
                static_cast<std::ptrdiff_t>(line)) {
            break;
        }
    }
    if (line >= m_lines.size()) unchanged = m_regions.size();
    for (std::size_t k = unchanged; k < m_regions.size(); ++k) {
        m_regions[k].first =
            static_cast<std::size_t>(static_cast<std::ptrdiff_t>(m_regions[k].first) + shift);
        m_regions[k].last =
            static_cast<std::size_t>(static_cast<std::ptrdiff_t>(m_regions[k].last) + shift);
    }
    const auto begin = m_regions.begin() + static_cast<std::ptrdiff_t>(region);
    m_regions.erase(begin, m_regions.begin() + static_cast<std::ptrdiff_t>(unchanged));
    m_regions.insert(m_regions.begin() + static_cast<std::ptrdiff_t>(region),
                     std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
}

// A line outside every section that compiling ignores: a command, or a word that is no header
// keyword. Its position is left to the caller.
std::optional<Finding> SourceCheck::outsideFinding(const SourceLine& read) const {
    const Dictionary& dictionary = *m_options.dictionary;
    Finding finding;
    finding.severity = Severity::Warning;
    finding.code = FindingCode::OutsideSection;
    if (beginsWithCommand(read.text, dictionary)) {
        finding.length = characterCount(read.text);
        finding.text = textOf(Msg::CommandOutsideScripts);
        finding.subject = std::string(read.text);
    } else if (!read.text.empty() && !isHeaderLine(read.text)) {
        const std::string_view word = read.text.substr(0, read.text.find_first_of(" \t"));
        finding.length = characterCount(word);
        finding.text = didYouMean(fill(Msg::FindingUnknownOutsideScripts, {quoted(word)}),
                                  nearestWords(word, true, 3, dictionary));
        finding.subject = std::string(word);
    } else {
        return std::nullopt;
    }
    finding.command = std::string(read.text);
    return finding;
}

SourceCheck::Region SourceCheck::checkRegion(std::size_t first, std::size_t last, bool section) {
    Region region{first, last, section, {}, {}};
    const auto line = [](std::size_t index) { return static_cast<int>(index) + 1; };
    if (!section) {
        for (std::size_t k = first; k <= last; ++k) {
            const SourceLine read = readSourceLine(m_lines[k], false);
            if (read.kind != SourceLineKind::Outside) continue;
            if (std::optional<Finding> finding = outsideFinding(read)) {
                finding->position = {line(k - first), columnOf(m_lines[k], read.offset)};
                region.found.push_back(std::move(*finding));
            }
        }
        return region;
    }

    const SourceSection read = sourceSection(m_lines, first, last);
    takeInstallation();
    region.found = checkMacro(read.macro, read.kind, m_options);
    if (checksClasses()) {
        region.classes = sectionClassesOf(read.macro, *m_options.dictionary);
        if (region.classes.script) region.classes.script->position.line -= static_cast<int>(first);
    }
    for (Finding& finding : region.found) {
        if (finding.code == FindingCode::MissingEndm && !read.closed) {
            // Compiling drops a section that the text ends in; say so where it begins.
            finding.position = {
                line(first),
                columnOf(m_lines[first], readSourceLine(m_lines[first], false).offset)};
            finding.length = 4;
            finding.text = textOf(Msg::SectionWithoutEndm);
        }
        finding.position.line -= static_cast<int>(first);
    }
    std::stable_sort(region.found.begin(), region.found.end(),
                     [](const Finding& a, const Finding& b) { return a.position < b.position; });
    return region;
}

std::vector<std::vector<Finding>> SourceCheck::regionFindingsWithScriptClasses() const {
    std::vector<std::vector<Finding>> found;
    std::vector<SectionClasses> sections;
    std::vector<std::size_t> regionOf;
    for (std::size_t k = 0; k < m_regions.size(); ++k) {
        found.push_back(m_regions[k].found);
        if (!m_regions[k].section) continue;
        sections.push_back(m_regions[k].classes);
        regionOf.push_back(k);
    }
    if (!checksClasses()) return found;
    for (ScriptClassFinding& script :
         scriptsOfUncreatedClasses(sections, *m_options.installation)) {
        std::vector<Finding>& into = found[regionOf[script.section]];
        const auto at = std::upper_bound(
            into.begin(), into.end(), script.finding,
            [](const Finding& a, const Finding& b) { return a.position < b.position; });
        into.insert(at, std::move(script.finding));
    }
    return found;
}

std::vector<Finding> SourceCheck::findings() const {
    std::vector<Finding> all;
    std::vector<std::vector<Finding>> found = regionFindingsWithScriptClasses();
    for (std::size_t k = 0; k < m_regions.size(); ++k) {
        for (Finding& finding : found[k]) {
            finding.position.line += static_cast<int>(m_regions[k].first);
            all.push_back(std::move(finding));
        }
    }
    gatherLaterGenerationWords(all);
    return all;
}

void EntryCheck::reset(std::vector<std::string> lines) {
    m_lines = std::move(lines);
    check();
}

void EntryCheck::replaceLines(std::size_t first, std::size_t removed,
                              std::vector<std::string> inserted) {
    first = std::min(first, m_lines.size());
    removed = std::min(removed, m_lines.size() - first);
    const auto at = m_lines.begin() + static_cast<std::ptrdiff_t>(first);
    m_lines.erase(at, at + static_cast<std::ptrdiff_t>(removed));
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(first),
                   std::make_move_iterator(inserted.begin()),
                   std::make_move_iterator(inserted.end()));
    check();
}

void EntryCheck::check() {
    std::string text;
    for (std::size_t k = 0; k < m_lines.size(); ++k) {
        if (k > 0) text += '\n';
        text += m_lines[k];
    }
    const MacroKind kind = text.starts_with("scrp") ? MacroKind::Script : MacroKind::Routine;
    m_findings =
        text.empty() ? std::vector<Finding>{} : checkMacro(MacroText(text), kind, m_options);
}

LineReading entryLineReading(std::string_view, bool) { return {LineRole::Commands, 0, false}; }

CheckedFileKind checkedFileKindOf(const std::filesystem::path& file) {
    const std::string extension = pathToUtf8(file.extension());
    if (equalsIgnoringCase(extension, ".cos")) return CheckedFileKind::Source;
    if (isObjectFileName(file)) return CheckedFileKind::ObjectFile;
    if (equalsIgnoringCase(extension, ".mac")) return CheckedFileKind::MacroFile;
    return CheckedFileKind::MacroLines;
}

std::vector<Finding> checkSourceLines(std::vector<std::string> lines, const CheckOptions& options) {
    SourceCheck check(options);
    check.reset(std::move(lines));
    return check.findings();
}

std::vector<Finding> checkCobData(const CobData& cob, const CheckOptions& options) {
    std::vector<Finding> findings;
    int line = 0;
    const auto checkEntry = [&](const std::string& text, MacroKind kind) {
        MacroText macro;
        macro.append(text, ++line, 1);
        const std::vector<Finding> found = checkMacro(macro, kind, options);
        findings.insert(findings.end(), found.begin(), found.end());
    };
    for (const std::string& script : cob.scripts)
        checkEntry(script, script.starts_with("scrp") ? MacroKind::Script : MacroKind::Macro);
    for (const std::string& import : cob.imports) checkEntry(import, MacroKind::Routine);
    gatherLaterGenerationWords(findings);
    return findings;
}

std::vector<Finding> checkMacroFileLines(std::span<const std::string> lines,
                                         const CheckOptions& options) {
    // As inserting the file makes it lines of a source: compiling strips each and drops those
    // left empty.
    MacroText macro;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string_view command = macroFileCommand(lines[k]);
        const std::size_t first = command.find_first_not_of(" \t");
        if (first == std::string_view::npos) continue;
        const std::string_view stripped =
            command.substr(first, command.find_last_not_of(" \t") + 1 - first);
        if (!macro.text().empty()) macro.appendJoin(",");
        const auto start = static_cast<std::size_t>(stripped.data() - lines[k].data());
        macro.append(stripped, static_cast<int>(k) + 1, columnOf(lines[k], start));
    }
    return checkMacro(macro, MacroKind::ScriptBody, options);
}

}  // namespace vek
