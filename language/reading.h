#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "language/dictionary.h"

namespace vek {

// A word or a byte string of a command, by its bytes in the macro text.
struct Lexeme {
    std::size_t offset = 0;
    std::size_t length = 0;
    bool byteString = false;
    bool closed = true;  // a byte string's "]" was found
};

// A number as the game reads it: an optional sign, digits, and perhaps a fraction.
struct NumberLiteral {
    bool whole = true;
    bool fits = false;     // whole, and within the range of `number`
    long long number = 0;  // the whole part, held at the type's limit where it does not fit

    std::optional<long long> value() const {
        return fits ? std::optional<long long>(number) : std::nullopt;
    }
};
// Inline: the reader reads every argument through it, and a call would return it through memory.
inline std::optional<NumberLiteral> numberLiteral(std::string_view text) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const bool negative = !text.empty() && text.front() == '-';
    std::size_t at = !text.empty() && (negative || text.front() == '+') ? 1 : 0;
    const std::size_t digits = at;
    // The whole part is taken in the same pass; past the range of its type it stays at the limit.
    constexpr auto kLargest =
        static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    const unsigned long long limit = negative ? kLargest + 1 : kLargest;
    unsigned long long magnitude = 0;
    bool inRange = true;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        const auto digit = static_cast<unsigned long long>(text[at] - '0');
        inRange = inRange && magnitude <= (limit - digit) / 10;
        if (inRange) magnitude = magnitude * 10 + digit;
    }
    if (at == digits) return std::nullopt;
    NumberLiteral literal;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = ++at;
        while (at < text.size() && isDigit(text[at])) ++at;
        if (at == fraction) return std::nullopt;
        literal.whole = false;
    }
    if (at != text.size()) return std::nullopt;
    if (!inRange) magnitude = limit;
    literal.fits = literal.whole && inRange;
    literal.number = static_cast<long long>(negative ? 0 - magnitude : magnitude);
    return literal;
}

// How a piece of macro text reads, for highlighting.
enum class TokenKind { Command, Value, Variable, Number, Name, ByteString, Keyword, Unknown };

// What a piece of a command is.
enum class PieceRole {
    Name,           // the command's name, one or two lexemes ("new: simp")
    UnknownName,    // a name the language lacks; two lexemes where the first begins a longer one
    StringFirst,    // a byte string where the name belongs
    Argument,       // an argument of the command, or of a value among its arguments
    Missing,        // an argument not given; its lexeme is the name of its owner
    Extra,          // a lexeme after all arguments
    Joint,          // "and" or "or" in a condition
    Comparison,     // the comparison of a condition
    ConditionEnds,  // a condition cut short after its lexeme; `index` says where (below)
};

// Where a condition ends too soon: before its comparison, after it, or after "and"/"or".
enum ConditionCut { CutBeforeComparison = 0, CutAfterComparison = 1, CutAfterJoint = 2 };

struct Piece {
    // A constructor of its own: a value-initialized piece would first be zeroed whole, a cost
    // the check would pay for every piece it reads.
    Piece(PieceRole pieceRole, const Lexeme& at, std::optional<TokenKind> shown)
        : role(pieceRole), lexeme(at), token(shown) {}

    PieceRole role = PieceRole::Argument;
    Lexeme lexeme;
    int parts = 1;                // Name: how many lexemes the name takes
    const Word* word = nullptr;   // Name: the command; Argument: the value or variable it names
    const Word* owner = nullptr;  // Argument, Missing, Extra: whose argument it is
    int index = 0;                // Argument, Missing: which argument; ConditionEnds: the cut
    ArgumentKind wanted = ArgumentKind::Integer;  // Argument
    std::optional<NumberLiteral> number;          // Argument: a number written out
    std::optional<TokenKind> token;               // how the lexeme is shown, if at all
};

// Where an argument of a word stands: at a lexeme, or, when it is missing, at the text's end.
struct ArgumentSlot {
    std::size_t offset = 0;
    const Word* owner = nullptr;
    int index = 0;
    bool missing = false;
};

// One command of a macro as read: its lexemes, and their pieces in text order.
struct CommandReading {
    std::size_t start = 0;       // the offset of the command's first lexeme
    std::string_view text;       // the command without the blanks around it
    const Word* word = nullptr;  // the command; nullptr when its name is unknown
    Lexeme name;                 // the name's span (both parts of a two-part one)
    std::vector<Lexeme> lexemes;
    std::vector<Piece> pieces;
    std::vector<ArgumentSlot> places;  // where each argument stands, in the order they are wanted
    bool endsText = false;             // no comma follows it
};

// Reads a macro command by command: the lexemes, which word each names, which argument of
// which word each is. Rules, highlighting, completion and layout all read macros through this.
class MacroReader {
  public:
    MacroReader(std::string_view text, const Dictionary& dictionary = Dictionary::builtIn());

    // The next command, or nullptr past the last; valid until the next call.
    const CommandReading* next();
    std::string_view text() const { return m_text; }

  private:
    std::size_t lex(std::size_t from);
    void readName();
    std::size_t argumentsOf(const Word& word, const Lexeme& name, std::size_t at);
    Piece& argumentPiece(const Lexeme& lexeme, const Word& owner, int index, ArgumentKind kind);
    std::size_t value(ArgumentKind kind, std::size_t at, const Word& owner, int index);
    std::size_t condition(std::size_t at, const Word& owner, int index);
    // A value or variable by its name in any letter case.
    const Word* valueNamed(std::string_view name);
    static std::string_view inLowerCase(std::string_view name, std::string& buffer);
    std::string_view lexemeText(const Lexeme& lexeme) const {
        return m_text.substr(lexeme.offset, lexeme.length);
    }
    void add(PieceRole role, const Lexeme& lexeme, std::optional<TokenKind> token);

    std::string_view m_text;
    const Dictionary& m_dictionary;
    std::size_t m_next = 0;
    bool m_done = false;
    CommandReading m_command;
    // Kept to look up names without allocating for each.
    std::string m_lower;      // of a value
    std::string m_lowerName;  // of a command's first word
    std::string m_lowerPair;  // of its first two words
};

// The word in lower case, as the dictionary holds names.
std::string lowered(std::string_view text);
// Whether the text has a capital letter (A to Z).
bool hasCapitals(std::string_view text);
// Whether the text is that lower-case word in any letter case.
bool equalsInLowerCase(std::string_view text, std::string_view lower);

// The token of a highlighted character range: start and length count characters.
struct Token {
    int start = 0;
    int length = 0;
    TokenKind kind = TokenKind::Unknown;
    const Word* word = nullptr;  // the command, value or variable it names
};

// Appends the tokens of one command read from `text`; `counted` and `characters` carry the
// character count along the text from one command to the next (start both at 0).
void appendTokens(const CommandReading& command, std::string_view text, std::size_t& counted,
                  int& characters, std::vector<Token>& tokens);

// One argument of a command as the language reads it, for a program that runs macros.
struct ParsedArgument {
    enum class Form { Number, Value, Name, ByteString, Comparison, Joint };
    Form form = Form::Number;
    std::size_t offset = 0;  // bytes into the macro text
    std::size_t length = 0;
    const Word* word = nullptr;             // a value's or variable's word
    long long number = 0;                   // a number, its whole part
    std::vector<ParsedArgument> arguments;  // a value's own arguments
};

// One command: its word (none when the language does not know it) and its arguments in the
// order written; a condition's values, comparisons and joints follow one another flat.
struct ParsedCommand {
    const Word* word = nullptr;
    std::size_t offset = 0;  // where its name begins
    std::size_t length = 0;  // its name's bytes
    std::vector<ParsedArgument> arguments;
};

// The arguments of one command as read, as parseCommands gives them.
std::vector<ParsedArgument> parsedArguments(const CommandReading& command, std::string_view text);

// The commands of a macro as the reader reads them, in text order.
std::vector<ParsedCommand> parseCommands(std::string_view text,
                                         const Dictionary& dictionary = Dictionary::builtIn());

}  // namespace vek
