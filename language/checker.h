#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "language/dictionary.h"
#include "language/macro_text.h"
#include "language/reading.h"

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
    AnimationString,
    LaterGenerationSource,  // several words that only later game generations know
    UnshowableCharacter,    // a character the game's code page lacks
    // Extra blanks and commas, on which the game crashes.
    TwoBlanks,
    TwoCommas,
    BlankAtEnd,
    BlankInAnimation,
    // Checks against the installation: warnings each of which the settings can switch off.
    SpriteFileMissing,
    ImageBeyondRange,
    SoundMissing,
    ClassUnknown,
};

// The findings that come from the installation checks, in the order the settings list them.
inline constexpr std::array<FindingCode, 4> kInstallationFindings = {
    FindingCode::SpriteFileMissing, FindingCode::ImageBeyondRange, FindingCode::SoundMissing,
    FindingCode::ClassUnknown};

struct InstallationFacts;

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
    // The installation the macro is meant for; none: nothing is checked against one.
    std::shared_ptr<const InstallationFacts> installation;
    // Installation findings the user switched off.
    std::set<FindingCode> switchedOff;
};

// Checks one macro and returns its findings in text order.
std::vector<Finding> checkMacro(const MacroText& macro, MacroKind kind,
                                const CheckOptions& options);
// The same, giving each command to `eachCommand` as it is read (up to the endm, and none
// without a word of its own), so that a program that runs the macro reads it in the same pass.
std::vector<Finding> checkMacro(const MacroText& macro, MacroKind kind, const CheckOptions& options,
                                const std::function<void(const CommandReading&)>& eachCommand);

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

}  // namespace vek
