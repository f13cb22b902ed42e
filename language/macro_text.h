#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/ansi_text.h"

namespace vek {

// A place in what the user wrote: line and column, both from 1; columns count characters.
struct TextPosition {
    int line = 1;
    int column = 1;
    auto operator<=>(const TextPosition&) const = default;
};

// One macro as the game receives it, and where each of its characters was written: a macro typed
// as one text, the lines of a source section joined by commas, or the lines of a macro file.
class MacroText {
  public:
    MacroText() = default;
    // A macro written as one text; a line break in it starts the next line.
    explicit MacroText(std::string_view macro, int firstLine = 1);

    // Commands typed on one line as the game gets them to run at once: "inst," + commands +
    // ",endm", with positions in what was typed.
    static MacroText immediate(std::string_view commands);

    // Appends text that was written at `line`, starting at `column`.
    void append(std::string_view piece, int line, int column);
    // Appends text that nobody wrote, such as the comma that joins two lines; it counts as
    // written just after what precedes it.
    void appendJoin(std::string_view joint);
    // Appends another macro text, each character keeping the place where it was written.
    void append(const MacroText& other);

    const std::string& text() const { return m_text; }
    TextPosition position(std::size_t offset) const;
    // Whether the character at `offset` was written, not added by a join.
    bool isWritten(std::size_t offset) const;

  private:
    struct Segment {
        std::size_t offset;
        int line;
        int column;
        bool written;
    };
    const Segment* segmentAt(std::size_t offset) const;
    std::string m_text;
    std::vector<Segment> m_segments;
};

}  // namespace vek
