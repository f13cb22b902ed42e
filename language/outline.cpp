#include "language/outline.h"

#include <algorithm>

#include "app/ansi_text.h"
#include "app/text_names.h"
#include "language/reading.h"

namespace vek {

namespace {

// A word of a source that the outline and the navigation know: a section's first word, a
// subroutine's label or a call of one, a script's class named by scrp or scrx.
struct Mark {
    enum Kind { Section, Subr, Gsub, Scrx } kind = Section;
    int section = 0;        // counted from 0
    TextPosition position;  // of the mark's name or label
    int length = 0;         // characters
    std::string label;
    const Word* word = nullptr;
    int classes[4] = {-1, -1, -1, -1};

    bool covers(TextPosition at) const {
        return at.line == position.line && at.column >= position.column &&
               at.column < position.column + std::max(length, 1);
    }
    bool scriptOfClass() const { return classes[3] >= 0; }
    bool sameClasses(const Mark& other) const {
        return std::equal(std::begin(classes), std::end(classes), std::begin(other.classes));
    }
};

// The class numbers of a scrp or scrx written as whole numbers.
void readClasses(const CommandReading& command, Mark& mark) {
    int given = 0;
    for (const Piece& piece : command.pieces) {
        if (piece.role != PieceRole::Argument || piece.owner != command.word) continue;
        if (!piece.number || !piece.number->fits || piece.index > 3) return;
        mark.classes[piece.index] = static_cast<int>(piece.number->number);
        ++given;
    }
    if (given != 4) std::fill(std::begin(mark.classes), std::end(mark.classes), -1);
}

std::vector<Mark> marksOf(std::span<const std::string> lines, const LineReader& reader,
                          const Dictionary& dictionary) {
    std::vector<Mark> marks;
    bool open = false;
    int section = -1;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        const LineReading reading = reader(line, open);
        const bool starts = !open && reading.role == LineRole::Commands;
        // The compiler reads nothing of the line that ends a section.
        const bool ends = open && !reading.openAfter;
        open = reading.openAfter;
        if (reading.role != LineRole::Commands || ends) continue;
        if (starts) ++section;
        const std::size_t start = std::min(reading.start, line.size());
        const std::string_view commands = line.substr(start);
        const auto positionOf = [&](std::size_t offset) {
            return TextPosition{static_cast<int>(index) + 1,
                                characterCount(line.substr(0, start + offset)) + 1};
        };
        bool first = starts;
        MacroReader macro(commands, dictionary);
        while (const CommandReading* command = macro.next()) {
            const Word* word = command->word;
            Mark mark;
            mark.section = section;
            mark.word = word;
            mark.position = positionOf(command->name.offset);
            mark.length =
                characterCount(commands.substr(command->name.offset, command->name.length));
            const bool labelled = word && (word->is("subr") || word->is("gsub"));
            if (first) {
                mark.kind = Mark::Section;
                if (word && word->is("scrp")) readClasses(*command, mark);
                marks.push_back(mark);
            } else if (word && (word->is("scrx") || word->is("scrp"))) {
                mark.kind = Mark::Scrx;
                readClasses(*command, mark);
                if (mark.scriptOfClass()) marks.push_back(mark);
            } else if (labelled && command->lexemes.size() > 1) {
                const Lexeme& label = command->lexemes[1];
                mark.kind = word->is("subr") ? Mark::Subr : Mark::Gsub;
                mark.label = std::string(commands.substr(label.offset, label.length));
                mark.position = positionOf(label.offset);
                mark.length = characterCount(mark.label);
                marks.push_back(mark);
            }
            first = false;
        }
    }
    return marks;
}

BilingualText scriptTitle(const Mark& mark, std::span<const std::string_view> events,
                          std::span<const std::string_view> germanEvents) {
    const std::string classes = std::to_string(mark.classes[0]) + " " +
                                std::to_string(mark.classes[1]) + " " +
                                std::to_string(mark.classes[2]) + " \xc2\xb7 ";
    const auto event = static_cast<std::size_t>(mark.classes[3]);
    const auto nameIn = [event](std::span<const std::string_view> names) {
        return event < names.size() && !names[event].empty() ? std::string(names[event])
                                                             : std::to_string(event);
    };
    const std::string english = classes + nameIn(events);
    return {english, germanEvents.empty() ? english : classes + nameIn(germanEvents)};
}

const Mark* markAt(const std::vector<Mark>& marks, TextPosition at) {
    for (const Mark& mark : marks) {
        if (mark.covers(at)) return &mark;
    }
    return nullptr;
}

}  // namespace

std::vector<OutlineEntry> outlineOf(std::span<const std::string> lines, const LineReader& reader,
                                    std::span<const std::string_view> events,
                                    std::span<const std::string_view> germanEvents,
                                    const Dictionary& dictionary) {
    std::vector<OutlineEntry> outline;
    int routines = 0;
    for (const Mark& mark : marksOf(lines, reader, dictionary)) {
        OutlineEntry entry;
        entry.position = mark.position;
        if (mark.kind == Mark::Section && mark.scriptOfClass()) {
            entry.kind = OutlineKind::Script;
            entry.title = scriptTitle(mark, events, germanEvents);
            std::copy(std::begin(mark.classes), std::end(mark.classes), entry.classes);
        } else if (mark.kind == Mark::Section) {
            entry.kind = OutlineKind::Routine;
            entry.title = fill(Msg::OutlineRoutine, {std::to_string(++routines)});
        } else if (mark.kind == Mark::Subr) {
            entry.kind = OutlineKind::Subroutine;
            entry.title = untranslated("subr " + mark.label);
            entry.label = mark.label;
        } else {
            continue;
        }
        outline.push_back(std::move(entry));
    }
    return outline;
}

std::optional<TextPosition> definitionAt(std::span<const std::string> lines,
                                         const LineReader& reader, TextPosition at,
                                         const Dictionary& dictionary) {
    const std::vector<Mark> marks = marksOf(lines, reader, dictionary);
    const Mark* from = markAt(marks, at);
    if (!from) return std::nullopt;
    for (const Mark& mark : marks) {
        if (&mark == from) continue;
        const bool subroutine = (from->kind == Mark::Gsub || from->kind == Mark::Subr) &&
                                mark.kind == Mark::Subr && mark.section == from->section &&
                                mark.label == from->label;
        const bool script =
            from->scriptOfClass() && mark.kind == Mark::Section && mark.sameClasses(*from);
        if (subroutine || script) return mark.position;
    }
    return std::nullopt;
}

std::vector<TextPosition> usesOfLabelAt(std::span<const std::string> lines,
                                        const LineReader& reader, TextPosition at,
                                        const Dictionary& dictionary) {
    const std::vector<Mark> marks = marksOf(lines, reader, dictionary);
    const Mark* from = markAt(marks, at);
    std::vector<TextPosition> uses;
    if (!from || (from->kind != Mark::Gsub && from->kind != Mark::Subr)) return uses;
    for (const Mark& mark : marks) {
        if ((mark.kind == Mark::Gsub || mark.kind == Mark::Subr) && mark.section == from->section &&
            mark.label == from->label)
            uses.push_back(mark.position);
    }
    return uses;
}

namespace {

constexpr std::string_view kLabelEnds = " \t,[]";

}  // namespace

std::vector<TextPosition> usesOfLabelNear(std::span<const std::string> lines,
                                          const LineReader& reader, TextPosition at,
                                          const Dictionary& dictionary) {
    std::vector<TextPosition> uses = usesOfLabelAt(lines, reader, at, dictionary);
    if (uses.empty() && at.column > 1)
        uses = usesOfLabelAt(lines, reader, {at.line, at.column - 1}, dictionary);
    return uses;
}

int labelLengthAt(std::span<const std::string> lines, TextPosition at) {
    if (at.line < 1 || static_cast<std::size_t>(at.line) > lines.size()) return 0;
    const std::string_view line = lines[static_cast<std::size_t>(at.line) - 1];
    const std::string_view rest =
        line.substr(std::min(byteOffsetOfCharacter(line, std::max(at.column, 1) - 1), line.size()));
    return characterCount(rest.substr(0, std::min(rest.find_first_of(kLabelEnds), rest.size())));
}

bool isLabelName(std::string_view name) {
    return !name.empty() && name.find_first_of(kLabelEnds) == std::string_view::npos &&
           name.find_first_of("\r\n") == std::string_view::npos;
}

std::optional<std::vector<std::string>> renamedLabelNear(std::span<const std::string> lines,
                                                         const LineReader& reader, TextPosition at,
                                                         std::string_view name,
                                                         const Dictionary& dictionary) {
    if (!isLabelName(name)) return std::nullopt;
    const std::vector<TextPosition> uses = usesOfLabelNear(lines, reader, at, dictionary);
    if (uses.empty()) return std::nullopt;
    std::vector<std::string> renamed(lines.begin(), lines.end());
    // From the last use back, so that a rename leaves the places of those before it alone.
    for (auto use = uses.rbegin(); use != uses.rend(); ++use) {
        std::string& line = renamed[static_cast<std::size_t>(use->line) - 1];
        const std::size_t from = byteOffsetOfCharacter(line, use->column - 1);
        const int length = labelLengthAt(renamed, *use);
        const std::size_t to = byteOffsetOfCharacter(line, use->column - 1 + length);
        line.replace(from, to - from, name);
    }
    return renamed;
}

}  // namespace vek
