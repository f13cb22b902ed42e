#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "language/dictionary.h"
#include "language/line_reading.h"
#include "language/macro_text.h"

namespace vek {

// What a line of a source's outline stands for.
enum class OutlineKind { Routine, Script, Subroutine };

struct OutlineEntry {
    OutlineKind kind = OutlineKind::Routine;
    TextPosition position;  // where its word is written
    BilingualText title;    // "2 10 52 ·  9 TIMER", "Installation routine 1", "subr move"
    int classes[4] = {-1, -1, -1, -1};  // a script's family, genus, species and event
    std::string label;                  // a subroutine's
};

// The sections of a source (installation routines, scripts by class and event as the event
// table names it) and the subroutines inside them, in line order. `events` names each event
// number, empty for an unnamed one; `germanEvents` the same in German (none: the English names
// in both languages).
std::vector<OutlineEntry> outlineOf(std::span<const std::string> lines, const LineReader& reader,
                                    std::span<const std::string_view> events,
                                    std::span<const std::string_view> germanEvents = {},
                                    const Dictionary& dictionary = Dictionary::builtIn());

// Where the word at a line and column (both from 1) is defined: a gsub's label at the subr of
// its section, a scrp or scrx of a class and event at that script of the source.
std::optional<TextPosition> definitionAt(std::span<const std::string> lines,
                                         const LineReader& reader, TextPosition at,
                                         const Dictionary& dictionary = Dictionary::builtIn());

// Every use of the label at a line and column (a gsub's or a subr's) in its section, the subr
// included, in line order; nothing where the caret is on no label.
std::vector<TextPosition> usesOfLabelAt(std::span<const std::string> lines,
                                        const LineReader& reader, TextPosition at,
                                        const Dictionary& dictionary = Dictionary::builtIn());

// The same, where the caret may also stand just after a label's end, as an editor's caret does.
std::vector<TextPosition> usesOfLabelNear(std::span<const std::string> lines,
                                          const LineReader& reader, TextPosition at,
                                          const Dictionary& dictionary = Dictionary::builtIn());
// The characters of the label written at a line and column (both from 1): up to a blank, a
// comma, a bracket or the line's end.
int labelLengthAt(std::span<const std::string> lines, TextPosition at);
// Whether a text may be written as a label: one word, without blanks, commas or brackets.
bool isLabelName(std::string_view name);
// The lines with the label near a place renamed to `name` at its subr and every gsub to it in its
// section; nothing where the place is on no label or `name` is no label.
std::optional<std::vector<std::string>> renamedLabelNear(
    std::span<const std::string> lines, const LineReader& reader, TextPosition at,
    std::string_view name, const Dictionary& dictionary = Dictionary::builtIn());

}  // namespace vek
