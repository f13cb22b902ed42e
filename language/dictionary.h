#pragma once

#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "language/word_index.h"

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
    Choice,     // one of a few fixed words that complete the command ("dde: getb cnam")
};

// Where a word stands in the language's blocks.
enum class BlockRole { None, Opens, Within, Closes };

struct Word {
    std::string name;  // lower case; two parts for "new: simp" and its like
    WordKind kind = WordKind::Command;
    std::vector<ArgumentKind> arguments;
    // By argument: the words a Choice argument may be; empty for every other kind.
    std::vector<std::vector<std::string>> choices;
    BlockRole block = BlockRole::None;
    // Opens: the words that close it. Within: the word whose block it belongs to.
    std::vector<std::string> partners;
    // Only the next game generation's guide names it: this game may not know it.
    bool laterGeneration = false;
    BilingualText description;

    bool isCommand() const { return kind == WordKind::Command; }
    // Whether it makes an object: "new: simp" and its like. new: part adds a part to the target
    // and makes none.
    bool createsObject() const {
        return name.size() > 5 && std::memcmp(name.data(), "new: ", 5) == 0 && name != "new: part";
    }
    // The check asks this of every command it reads: against a literal, the comparison of a
    // known length is a few instructions rather than a call.
    template <std::size_t N>
    bool is(const char (&other)[N]) const {
        return name.size() == N - 1 && std::memcmp(name.data(), other, N - 1) == 0;
    }
    bool closedBy(std::string_view closer) const;
    // The words argument `index` may be: empty unless it is a Choice.
    std::span<const std::string> choicesOf(std::size_t index) const;
};

// How a word is written with its arguments, for completion: "new: simp token integer ...".
std::string signatureOf(const Word& word, std::string_view language);
// A word's whole entry, as hovering shows it: how it is written with the kinds of its
// arguments, what it does, and the block it opens, closes or stands in; one a line.
std::string wordEntry(const Word& word, std::string_view language);
// The name of an argument kind in that language ("integer", "Ganzzahl").
std::string_view argumentKindName(ArgumentKind kind, std::string_view language);
// How argument `index` of a word is shown: its kind's name, or a Choice's words ("cnam|ctim").
std::string argumentName(const Word& word, std::size_t index, std::string_view language);

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
    // description; '#' starts a comment line. An argument written as words joined by '|' is a
    // Choice of those words. Throws on a malformed line or a word given twice.
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
    void index();

    std::vector<Word> m_words;
    WordIndex m_commands;
    WordIndex m_values;
    WordIndex m_longFirstWords;  // the first words of two-part commands, to one such command
};

}  // namespace vek
