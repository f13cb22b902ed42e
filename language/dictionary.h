#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/messages.h"

namespace vek {

// What a word of the game's macro language is: a command, or a value of some type.
enum class WordKind { Command, Integer, Float, Agent, Variable };

// What an argument must be.
enum class ArgumentKind {
    Integer,
    Float,
    Decimal,  // integer or float
    Agent,
    Variable,   // something that can be set
    Token,      // a four-letter name, such as a sprite file's
    String,     // a byte string in [ ]
    Label,      // a subroutine's name
    Condition,  // value, comparison, value, joined by and / or
    Class,      // a family, genus or species, 0 to 255
    Event,      // a script event number
};

// Where a word stands in the language's blocks.
enum class BlockRole { None, Opens, Within, Closes };

struct Word {
    std::string name;  // lower case; two parts for "new: simp" and its like
    WordKind kind = WordKind::Command;
    std::vector<ArgumentKind> arguments;
    BlockRole block = BlockRole::None;
    // Opens: the words that close it. Within: the word whose block it belongs to.
    std::vector<std::string> partners;
    // Only the next game generation's guide names it: this game may not know it.
    bool laterGeneration = false;
    BilingualText description;

    bool isCommand() const { return kind == WordKind::Command; }
    // Compared as a view: the check asks this of every command it reads.
    bool is(std::string_view other) const { return std::string_view(name) == other; }
    bool closedBy(std::string_view closer) const;
};

// How a word is written with its arguments, for completion: "new: simp token integer ...".
std::string signatureOf(const Word& word, std::string_view language);
// A word's whole entry, as hovering shows it: how it is written with the kinds of its
// arguments, what it does, and the block it opens, closes or stands in; one a line.
std::string wordEntry(const Word& word, std::string_view language);
// The name of an argument kind in that language ("integer", "Ganzzahl").
std::string_view argumentKindName(ArgumentKind kind, std::string_view language);

// Every word of the language, read from its data file.
class Dictionary {
  public:
    // The index holds views of the words' names, so a dictionary moves but is never copied.
    Dictionary() = default;
    Dictionary(Dictionary&&) = default;
    Dictionary& operator=(Dictionary&&) = default;
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // The dictionary compiled into the program.
    static const Dictionary& builtIn();
    // Reads the tab-separated form: word, kind, arguments, block, known, English and German
    // description; '#' starts a comment line. Throws on a malformed line or a word given twice.
    static Dictionary decode(std::string_view text);

    // A command or a value by its exact name; nullptr when the language has none.
    const Word* command(std::string_view name) const;
    const Word* value(std::string_view name) const;
    // Whether a first word begins a two-part command ("new:", "setv" of "setv clas").
    bool beginsLongerCommand(std::string_view first) const;

    std::span<const Word> words() const { return m_words; }
    // Commands, or values, whose names begin with `prefix`, in name order.
    std::vector<const Word*> commandsStartingWith(std::string_view prefix) const;
    std::vector<const Word*> valuesStartingWith(std::string_view prefix) const;

  private:
    // Names are a few letters long and looked up for every command a check reads: a plain
    // FNV-1a is several times quicker on them than the library's general hash.
    struct NameHash {
        std::size_t operator()(std::string_view name) const noexcept {
            std::uint64_t hash = 14695981039346656037ull;
            for (const char c : name)
                hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
            return static_cast<std::size_t>(hash);
        }
    };
    template <typename Value>
    using NameMap = std::unordered_map<std::string_view, Value, NameHash>;

    void index();

    std::vector<Word> m_words;
    NameMap<const Word*> m_commands;
    NameMap<const Word*> m_values;
    NameMap<bool> m_longFirstWords;
};

}  // namespace vek
