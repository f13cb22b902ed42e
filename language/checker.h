#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "language/dictionary.h"
#include "language/macro_text.h"

namespace vek {

// The most a macro may hold: the link's buffer keeps 262,144 characters and a terminating zero.
inline constexpr std::size_t kMacroTextLimit = 262144;

enum class Severity { Error, Warning };

// What a finding is about, for callers that react to some kinds only.
enum class FindingCode {
    UnknownCommand,
    UnknownValue,
    NotAValue,
    UpperCase,
    TooFewArguments,
    TooManyArguments,
    WrongKind,
    BadComparison,
    BlockNotClosed,
    WrongCloser,
    CloserWithoutBlock,
    ElseMisplaced,
    ScriptInsideBlock,
    ByteStringNotClosed,
    MissingEndm,
    CodeAfterEndm,
    UnknownEvent,
    UnknownLabel,
    MacroTooLong,
    ClassOutOfRange,
    RoutineWithoutInst,
    CreatesWithoutInst,
    NameLength,
    LaterGeneration,
    DecimalForInteger,
    OutsideSection,
};

struct Finding {
    TextPosition position;
    int length = 1;  // characters marked, at least one
    Severity severity = Severity::Error;
    FindingCode code = FindingCode::UnknownCommand;
    BilingualText text;
    std::string subject;  // the text marked
    std::string command;  // the command it concerns, as written

    bool isError() const { return severity == Severity::Error; }
};

bool hasErrors(std::span<const Finding> findings);
// "error" or "warning", as compilers write it.
std::string_view severityName(Severity severity);

// What is being checked: a whole macro sent to the game; an object's event script (it starts
// with scrp); an installation routine; or the commands of a script without its scrp line, as a
// macro file holds them.
enum class MacroKind { Macro, Script, Routine, ScriptBody };

struct CheckOptions {
    // The event table: the name of each event number, empty for an unnamed one. A scrp event
    // outside it is an error; an unnamed one is the game's, only without a name here.
    std::span<const std::string_view> events;
    const Dictionary* dictionary = &Dictionary::builtIn();
};

// Checks one macro and returns its findings in text order.
std::vector<Finding> checkMacro(const MacroText& macro, MacroKind kind,
                                const CheckOptions& options);

// A check of a text's lines that follows its edits, so that an editor can keep its findings
// current without checking the whole text on every key press.
class LinesCheck {
  public:
    virtual ~LinesCheck() = default;
    virtual void reset(std::vector<std::string> lines) = 0;
    // Replaces `removed` lines from `first` (counted from 0) by `inserted`.
    virtual void replaceLines(std::size_t first, std::size_t removed,
                              std::vector<std::string> inserted) = 0;
    virtual const std::vector<std::string>& lines() const = 0;
    // Every finding, in line order; lines count from 1.
    virtual std::vector<Finding> findings() const = 0;
};

// How a piece of macro text reads, for highlighting.
enum class TokenKind { Command, Value, Variable, Number, Name, ByteString, Keyword, Unknown };

struct Token {
    int start = 0;   // characters from the start of the text
    int length = 0;  // characters
    TokenKind kind = TokenKind::Unknown;
    const Word* word = nullptr;  // the command, value or variable it names
};

// The tokens of a text of commands separated by commas, such as one line of a source section or
// the command interface's input line.
std::vector<Token> tokenizeCommands(std::string_view text,
                                    const Dictionary& dictionary = Dictionary::builtIn());

// The word whose argument a column of a line of commands is typed at, and which of its
// arguments (from 0), for a hint while arguments are typed; no word on a command's name or
// where no argument is wanted.
struct ArgumentPlace {
    const Word* word = nullptr;
    int index = 0;
};
ArgumentPlace argumentAt(std::string_view line, int column,
                         const Dictionary& dictionary = Dictionary::builtIn());

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

// The commands of a macro as the checker reads them, in text order.
std::vector<ParsedCommand> parseCommands(std::string_view text,
                                         const Dictionary& dictionary = Dictionary::builtIn());

}  // namespace vek
