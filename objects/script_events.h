#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace vek {

// The names of the game's script events by number, 0 to 72. A named text starts with its
// number in two characters and one blank (" 1 Activate(1)"); unnamed numbers have "".
class ScriptEventTable {
  public:
    static constexpr int kLastEvent = 72;

    ScriptEventTable();
    // The text of an event; "" for unnamed numbers and for numbers outside 0..72.
    std::string_view lookup(int event) const;
    // Every text by event number, 0 to 72.
    std::span<const std::string_view> texts() const { return m_texts; }
    // The same texts with the names in German, for what this program shows of its own (the
    // outline); the source text and the files keep the English ones.
    std::span<const std::string_view> germanTexts() const { return m_germanViews; }

  private:
    std::array<std::string_view, kLastEvent + 1> m_texts{};
    std::array<std::string, kLastEvent + 1> m_german{};
    std::array<std::string_view, kLastEvent + 1> m_germanViews{};
};

// The same 50 named texts without gaps, in ascending event order.
class ScriptEventList {
  public:
    static constexpr std::size_t kSize = 50;

    explicit ScriptEventList(const ScriptEventTable& table);
    std::span<const std::string_view> entries() const { return m_entries; }
    std::string_view at(std::size_t position) const { return m_entries.at(position); }
    std::size_t size() const { return m_entries.size(); }

  private:
    std::array<std::string_view, kSize> m_entries{};
};

// The program's tables, built once on first use and never changed; the main window builds them
// while it starts up ("Create Script list...").
const ScriptEventTable& scriptEventTable();
const ScriptEventList& scriptEventList();

}  // namespace vek
