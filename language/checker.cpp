#include "language/checker.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "app/ansi_text.h"
#include "app/text_names.h"
#include "language/animation.h"
#include "language/installation_rules.h"
#include "language/nearest_words.h"

namespace vek {

namespace {

bool isWhitespace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// A blank within a line: line breaks end a run of them.
bool isLineBlank(char c) { return c == ' ' || c == '\t'; }

constexpr std::string_view kComparisons[] = {"eq", "ne", "lt", "gt", "le", "ge", "bt", "bf"};
constexpr std::string_view kComparisonSymbols[] = {"=", "<>", "<", ">", "<=", ">="};

// "1 argument", "2 arguments" in both languages.
BilingualText argumentCount(std::size_t count) {
    const std::string number = std::to_string(count);
    return fill(count == 1 ? Msg::ArgumentCountOne : Msg::ArgumentCountMany, {number});
}

// What an argument kind wants, as the messages name it ("a variable", "eine Variable").
Bilingual wantedText(ArgumentKind kind) {
    static constexpr std::pair<ArgumentKind, Bilingual> kWanted[] = {
        {ArgumentKind::Variable, Msg::ExpectedVariable},
        {ArgumentKind::Token, Msg::ExpectedToken},
        {ArgumentKind::String, Msg::ExpectedByteString},
        {ArgumentKind::Label, Msg::ExpectedLabel},
        {ArgumentKind::Agent, Msg::ExpectedObject},
        {ArgumentKind::Condition, Msg::ExpectedCondition}};
    for (const auto& [known, text] : kWanted) {
        if (known == kind) return text;
    }
    return Msg::ExpectedNumber;
}

// The most different misspelt words of one macro whose nearest known words are looked up.
constexpr std::size_t kMostSuggestedWords = 64;

bool wantsWholeNumber(ArgumentKind kind) {
    return kind == ArgumentKind::Integer || kind == ArgumentKind::Class ||
           kind == ArgumentKind::Event;
}

// The rules of the language, applied to a macro as `MacroReader` reads it: each command, its
// arguments and the blocks they form.
class Rules {
  public:
    Rules(const MacroText& macro, const CheckOptions& options, MacroKind kind,
          std::vector<Finding>& findings,
          const std::function<void(const CommandReading&)>* eachCommand = nullptr)
        : m_eachCommand(eachCommand),
          m_macro(macro),
          m_text(macro.text()),
          m_options(options),
          m_dictionary(*options.dictionary),
          m_kind(kind),
          m_findings(findings) {
        if (options.installation) m_installation.emplace(*options.installation);
    }

    void run() {
        separatorRules();
        if (m_kind == MacroKind::ScriptBody) m_blocks.push_back({nullptr, 0, 0, false});
        MacroReader reader(m_text, m_dictionary);
        while (const CommandReading* command = reader.next()) {
            m_command = command;
            for (const Lexeme& lexeme : command->lexemes) {
                if (!lexeme.closed) {
                    report(Severity::Error, FindingCode::ByteStringNotClosed, lexeme.offset, 1,
                           textOf(Msg::ByteStringNotClosed));
                }
            }
            if (m_ended) {
                report(Severity::Warning, FindingCode::CodeAfterEndm, command->lexemes.front(),
                       textOf(Msg::CommandsAfterEndm));
                break;
            }
            commandRules(*command);
            installationRules(*command);
            if (m_eachCommand && !command->lexemes.empty()) (*m_eachCommand)(*command);
        }
        finish();
    }

  private:
    const std::function<void(const CommandReading&)>* m_eachCommand;
    struct LabelUse {
        Lexeme label;
        std::string_view command;
    };
    struct OpenBlock {
        const Word* word;  // nullptr for the script a macro file's commands belong to
        std::size_t offset;
        std::size_t length;
        bool sawElse;
    };

    std::string_view lexemeText(const Lexeme& lexeme) const {
        return m_text.substr(lexeme.offset, lexeme.length);
    }

    // The game crashes on two blanks or two commas in a row and on a blank at the macro's end;
    // byte strings keep their blanks.
    void separatorRules() {
        const std::size_t size = m_text.size();
        // The last comma, while only blanks follow it (npos: none). Not an optional: GCC's -O3
        // takes its value for uninitialized once the checker is inlined into its caller.
        std::size_t comma = std::string_view::npos;
        std::size_t at = 0;
        while (at < size) {
            const char c = m_text[at];
            if (c == '[') {
                const std::size_t close = m_text.find(']', at + 1);
                at = close == std::string_view::npos ? size : close + 1;
                comma = std::string_view::npos;
            } else if (c == ',') {
                if (comma != std::string_view::npos) twoCommas(comma, at);
                comma = at++;
            } else if (isLineBlank(c)) {
                const std::size_t start = at;
                while (at < size && isLineBlank(m_text[at])) ++at;
                if (at == size) {
                    report(Severity::Error, FindingCode::BlankAtEnd, start, at - start,
                           textOf(Msg::FindingBlankAtEnd));
                } else if (at - start > 1) {
                    // The first blank separates; the others are extra.
                    report(Severity::Error, FindingCode::TwoBlanks, start + 1, at - start - 1,
                           textOf(Msg::FindingTwoBlanks));
                }
            } else {
                comma = std::string_view::npos;
                ++at;
            }
        }
    }

    // Marks the extra comma with the blanks between the two: the second where it was written,
    // else the first, so that removing what is marked mends what was written.
    void twoCommas(std::size_t first, std::size_t second) {
        const bool secondWritten = m_macro.isWritten(second) || !m_macro.isWritten(first);
        const std::size_t from = secondWritten ? first + 1 : first;
        const std::size_t to = secondWritten ? second + 1 : second;
        report(Severity::Error, FindingCode::TwoCommas, from, to - from,
               textOf(Msg::FindingTwoCommas));
    }

    // A misspelt word's finding names the known words nearest to it. A macro of garbage asks
    // for few: past a number of different words they are left out, as nobody reads them.
    BilingualText withNearestWords(BilingualText text, std::string_view written, bool commands) {
        std::string key(written);
        key.push_back(commands ? 'c' : 'v');
        auto known = m_nearest.find(key);
        if (known == m_nearest.end()) {
            if (m_nearest.size() >= kMostSuggestedWords) return text;
            known =
                m_nearest.emplace(std::move(key), nearestWords(written, commands, 3, m_dictionary))
                    .first;
        }
        return didYouMean(std::move(text), known->second);
    }

    // A finding in the command the rules are at, if any.
    void report(Severity severity, FindingCode code, std::size_t offset, std::size_t length,
                BilingualText text) {
        Finding finding;
        finding.position = m_macro.position(offset);
        const std::string_view subject = m_text.substr(offset, length);
        finding.length = std::max(1, characterCount(subject));
        finding.severity = severity;
        finding.code = code;
        finding.text = std::move(text);
        finding.subject = std::string(subject);
        if (m_command) finding.command = std::string(m_command->text);
        m_findings.push_back(std::move(finding));
    }
    void report(Severity severity, FindingCode code, const Lexeme& lexeme, BilingualText text) {
        report(severity, code, lexeme.offset, lexeme.length, std::move(text));
    }

    // The reader found the word by its name in lower case, so only capitals can differ.
    void lowerCaseOnly(std::string_view name, const Lexeme& written) {
        if (!hasCapitals(lexemeText(written))) return;
        report(Severity::Error, FindingCode::UpperCase, written,
               {"The game knows " + quotedToken(name) + " in lower case only",
                "Das Spiel kennt " + quotedToken(name) + " nur in Kleinbuchstaben"});
    }

    // A word as written: one known only in lower case, or only to later generations, is
    // reported.
    void knownWord(const Word& word, const Lexeme& written) {
        lowerCaseOnly(word.name, written);
        if (word.laterGeneration) {
            report(Severity::Warning, FindingCode::LaterGeneration, written,
                   fill(Msg::FindingLaterGeneration, {quotedToken(word.name)}));
        }
    }

    void commandRules(const CommandReading& command) {
        const Piece& first = command.pieces.front();
        if (first.role == PieceRole::StringFirst) {
            report(Severity::Error, FindingCode::UnknownCommand, first.lexeme,
                   textOf(Msg::CommandBeforeByteString));
            return;
        }
        if (first.role == PieceRole::UnknownName) {
            const std::string_view name = lexemeText(first.lexeme);
            report(Severity::Error, FindingCode::UnknownCommand, first.lexeme,
                   withNearestWords({"Unknown command " + quotedToken(name),
                                     "Unbekannter Befehl " + quotedToken(name)},
                                    name, true));
            return;
        }
        knownWord(*command.word, command.name);
        bool extraSeen = false;
        for (const Piece& piece : std::span(command.pieces).subspan(1)) {
            if (piece.role == PieceRole::Extra && std::exchange(extraSeen, true)) continue;
            pieceRules(piece);
        }
        block(*command.word, command.name);
        noteInstAndCreation(*command.word, command.name);
    }

    void installationRules(const CommandReading& command) {
        if (!m_installation) return;
        std::vector<InstallationFinding> found;
        m_installation->command(command, m_text, found);
        for (InstallationFinding& finding : found) {
            if (m_options.switchedOff.contains(finding.code)) continue;
            report(Severity::Warning, finding.code, finding.lexeme, std::move(finding.text));
        }
    }

    void pieceRules(const Piece& piece) {
        switch (piece.role) {
            case PieceRole::Argument:
                return argument(piece);
            case PieceRole::Missing:
                return tooFew(*piece.owner, piece.lexeme, static_cast<std::size_t>(piece.index));
            case PieceRole::Extra:
                return tooMany(*piece.owner, piece.lexeme);
            case PieceRole::Comparison:
                return comparison(piece.lexeme);
            case PieceRole::ConditionEnds:
                return conditionEnds(piece);
            default:
                return;
        }
    }

    void tooMany(const Word& word, const Lexeme& lexeme) {
        const std::size_t count = word.arguments.size();
        report(Severity::Error, FindingCode::TooManyArguments, lexeme,
               count == 0 ? fill(Msg::FindingTakesNoArguments, {quotedToken(word.name)})
                          : fill(Msg::FindingTakesOnly,
                                 {untranslated(quotedToken(word.name)), argumentCount(count)}));
    }

    void tooFew(const Word& word, const Lexeme& name, std::size_t given) {
        const std::size_t needed = word.arguments.size();
        report(Severity::Error, FindingCode::TooFewArguments, name,
               fill(Msg::FindingNeedsArguments,
                    {untranslated(quotedToken(word.name)), argumentCount(needed),
                     untranslated(std::to_string(given))}));
    }

    void wrongKind(Severity severity, const Word& owner, ArgumentKind kind, const Lexeme& lexeme) {
        const Bilingual wanted = wantedText(kind);
        const std::string_view given = lexemeText(lexeme);
        report(severity, FindingCode::WrongKind, lexeme,
               fill(Msg::FindingWrongKind, {untranslated(quotedToken(owner.name)), textOf(wanted),
                                            untranslated(quotedToken(given))}));
    }

    void argument(const Piece& piece) {
        const Word& owner = *piece.owner;
        const Lexeme& lexeme = piece.lexeme;
        switch (piece.wanted) {
            case ArgumentKind::String:
                // Some words take a bare name in scripts that run; say so, do not refuse.
                if (!lexeme.byteString) {
                    wrongKind(Severity::Warning, owner, piece.wanted, lexeme);
                } else if (owner.is("anim")) {
                    animation(lexeme);
                }
                return;
            case ArgumentKind::Token:
            case ArgumentKind::Label:
                return name(piece);
            case ArgumentKind::Choice:
                return choice(piece);
            default:
                return value(piece);
        }
    }

    // The game crashes on blanks in the string; it plays a malformed one without a word, and
    // the object just looks wrong.
    void animation(const Lexeme& lexeme) {
        const std::string_view text = lexemeText(lexeme);
        if (!lexeme.closed) return;
        if (std::any_of(text.begin(), text.end(), isLineBlank)) {
            report(Severity::Error, FindingCode::BlankInAnimation, lexeme,
                   textOf(Msg::FindingBlankInAnimation));
            return;
        }
        if (readAnimation(text).wellFormed()) return;
        report(Severity::Warning, FindingCode::AnimationString, lexeme,
               fill(Msg::FindingAnimationString, {std::string(text)}));
    }

    void name(const Piece& piece) {
        const Lexeme& lexeme = piece.lexeme;
        const Word& owner = *piece.owner;
        if (lexeme.byteString) {
            wrongKind(piece.wanted == ArgumentKind::Token ? Severity::Warning : Severity::Error,
                      owner, piece.wanted, lexeme);
            return;
        }
        const std::string_view text = lexemeText(lexeme);
        if (piece.wanted == ArgumentKind::Label && !owner.is("subr"))
            m_labelUses.push_back({lexeme, m_command->text});
        if (owner.is("subr")) m_labels.emplace_back(text);
        if (characterCount(text) != 4) {
            report(Severity::Warning, FindingCode::NameLength, lexeme,
                   fill(Msg::FindingNameLength, {quotedToken(text)}));
        }
    }

    // The game takes only the words it knows after the command, in lower case.
    void choice(const Piece& piece) {
        const Lexeme& lexeme = piece.lexeme;
        const Word& owner = *piece.owner;
        const std::span<const std::string> choices =
            owner.choicesOf(static_cast<std::size_t>(piece.index));
        const std::string written = lowered(lexemeText(lexeme));
        if (!lexeme.byteString &&
            std::find(choices.begin(), choices.end(), written) != choices.end())
            return lowerCaseOnly(written, lexeme);
        std::string words;
        for (const std::string& word : choices)
            words.append(words.empty() ? "" : ", ").append(word);
        report(Severity::Error, FindingCode::WrongKind, lexeme,
               fill(Msg::FindingWrongKind,
                    {untranslated(quotedToken(owner.name)), fill(Msg::ExpectedOneOf, {words}),
                     untranslated(quotedToken(lexemeText(lexeme)))}));
    }

    void value(const Piece& piece) {
        const Lexeme& lexeme = piece.lexeme;
        const Word& owner = *piece.owner;
        const ArgumentKind kind = piece.wanted;
        const std::string_view text = lexemeText(lexeme);
        if (lexeme.byteString) {
            wrongKind(Severity::Error, owner, kind, lexeme);
        } else if (piece.number) {
            if (kind == ArgumentKind::Variable) {
                wrongKind(Severity::Error, owner, kind, lexeme);
            } else {
                checkLiteral(kind, *piece.number, lexeme);
            }
        } else if (!piece.word) {
            if (m_dictionary.command(lowered(text))) {
                report(Severity::Error, FindingCode::NotAValue, lexeme,
                       fill(Msg::FindingCommandNotValue, {quotedToken(text)}));
            } else {
                report(Severity::Error, FindingCode::UnknownValue, lexeme,
                       withNearestWords({"Unknown value " + quotedToken(text),
                                         "Unbekannter Wert " + quotedToken(text)},
                                        text, false));
            }
        } else {
            knownWord(*piece.word, lexeme);
            if (kind == ArgumentKind::Variable && piece.word->kind != WordKind::Variable)
                wrongKind(Severity::Error, owner, kind, lexeme);
        }
    }

    void checkLiteral(ArgumentKind kind, const NumberLiteral& literal, const Lexeme& lexeme) {
        const std::string_view text = lexemeText(lexeme);
        if (!literal.whole && wantsWholeNumber(kind)) {
            report(Severity::Warning, FindingCode::DecimalForInteger, lexeme,
                   fill(Msg::FindingNotWholeNumber, {quotedToken(text)}));
            return;
        }
        if (!literal.fits) return;
        const long long value = literal.number;
        if (kind == ArgumentKind::Class && (value < 0 || value > 255)) {
            report(Severity::Warning, FindingCode::ClassOutOfRange, lexeme,
                   fill(Msg::FindingClassOutOfRange, {shortenedToken(text)}));
        }
        if (kind == ArgumentKind::Event) checkEvent(value, lexeme);
    }

    void checkEvent(long long event, const Lexeme& lexeme) {
        const std::span<const std::string_view> events = m_options.events;
        const std::string number = std::to_string(event);
        if (event < 0 || static_cast<unsigned long long>(event) >= events.size()) {
            const std::string last = std::to_string(events.empty() ? 0 : events.size() - 1);
            report(Severity::Error, FindingCode::UnknownEvent, lexeme,
                   fill(Msg::FindingUnknownEvent, {number, last}));
        }
    }

    void conditionEnds(const Piece& piece) {
        if (piece.index == CutBeforeComparison) {
            report(Severity::Error, FindingCode::BadComparison, piece.lexeme,
                   textOf(Msg::ConditionEndsBeforeComparison));
        } else if (piece.index == CutAfterComparison) {
            report(Severity::Error, FindingCode::BadComparison, piece.lexeme,
                   textOf(Msg::ConditionEndsAfterComparison));
        } else {
            const std::string joint = lowered(lexemeText(piece.lexeme));
            report(Severity::Error, FindingCode::BadComparison, piece.lexeme,
                   {"The condition ends after " + quotedToken(joint),
                    "Die Bedingung endet nach " + quotedToken(joint)});
        }
    }

    void comparison(const Lexeme& lexeme) {
        const std::string_view text = lexemeText(lexeme);
        const auto comparisonWord = [&](std::string_view word) {
            return equalsInLowerCase(text, word);
        };
        if (!lexeme.byteString && std::ranges::any_of(kComparisons, comparisonWord)) return;
        if (!lexeme.byteString &&
            std::ranges::find(kComparisonSymbols, text) != std::end(kComparisonSymbols)) {
            report(
                Severity::Warning, FindingCode::BadComparison, lexeme,
                {"Write the comparison " + quotedToken(text) + " as a word: eq, ne, lt, gt, le, ge",
                 "Den Vergleich " + quotedToken(text) +
                     " als Wort schreiben: eq, ne, lt, gt, le, ge"});
            return;
        }
        report(Severity::Error, FindingCode::BadComparison, lexeme,
               {"Expected a comparison (eq, ne, lt, gt, le, ge, bt, bf) instead of " +
                    quotedToken(text),
                "Statt " + quotedToken(text) +
                    " wird ein Vergleich erwartet (eq, ne, lt, gt, le, ge, "
                    "bt, bf)"});
    }

    // The words that close a block, as the messages list them: "endi", "untl" or "ever".
    static BilingualText closersOf(const Word& opener) {
        return quotedAlternatives(opener.partners);
    }

    std::string_view openerName(const OpenBlock& open) const {
        return open.word ? std::string_view(open.word->name) : std::string_view("scrp");
    }

    void notClosed(const OpenBlock& open) {
        if (!open.word) return;
        const BilingualText closers = closersOf(*open.word);
        report(Severity::Error, FindingCode::BlockNotClosed, open.offset, open.length,
               fill(Msg::FindingBlockNotClosed,
                    {untranslated(quotedToken(open.word->name)), closers}));
    }

    void block(const Word& word, const Lexeme& name) {
        switch (word.block) {
            case BlockRole::None:
                return;
            case BlockRole::Opens:
                if (word.is("scrp") && !m_blocks.empty()) {
                    report(Severity::Error, FindingCode::ScriptInsideBlock, name,
                           fill(Msg::FindingScriptInsideBlock,
                                {quotedToken(openerName(m_blocks.back()))}));
                }
                m_blocks.push_back({&word, name.offset, name.length, false});
                return;
            case BlockRole::Within:
                return within(word, name);
            case BlockRole::Closes:
                return word.is("endm") ? endMacro() : close(word, name);
        }
    }

    void within(const Word& word, const Lexeme& name) {
        const std::string& owner = word.partners.front();
        if (m_blocks.empty() || openerName(m_blocks.back()) != owner) {
            report(Severity::Error, FindingCode::ElseMisplaced, name,
                   fill(Msg::FindingElseMisplaced, {quotedToken(word.name), quotedToken(owner)}));
        } else if (m_blocks.back().sawElse) {
            report(Severity::Error, FindingCode::ElseMisplaced, name,
                   {"A second " + quotedToken(word.name) + " in one " + quotedToken(owner),
                    "Ein zweites " + quotedToken(word.name) + " in einem " + quotedToken(owner)});
        } else {
            m_blocks.back().sawElse = true;
        }
    }

    void close(const Word& word, const Lexeme& name) {
        const Word* top = m_blocks.empty() ? nullptr : m_blocks.back().word;
        if (top && top->closedBy(word.name)) {
            m_blocks.pop_back();
            return;
        }
        const auto match =
            std::find_if(m_blocks.rbegin(), m_blocks.rend(),
                         [&](const OpenBlock& b) { return b.word && b.word->closedBy(word.name); });
        // Inside a script's own block, a closer has nothing to close.
        if (top && !top->is("scrp")) {
            const Word& open = *m_blocks.back().word;
            const BilingualText closers = closersOf(open);
            report(Severity::Error, FindingCode::WrongCloser, name,
                   fill(Msg::FindingWrongCloser, {untranslated(quotedToken(word.name)),
                                                  untranslated(quotedToken(open.name)), closers}));
            // Go on from the block it does close, if there is one.
            if (match != m_blocks.rend()) m_blocks.erase(match.base() - 1, m_blocks.end());
            return;
        }
        const std::string opener = openerOf(word.name);
        // A stray endi does nothing where the game meets it; everything else unbalances a loop.
        report(word.is("endi") ? Severity::Warning : Severity::Error,
               FindingCode::CloserWithoutBlock, name,
               {quotedToken(word.name) + " without " + quotedToken(opener),
                quotedToken(word.name) + " ohne " + quotedToken(opener)});
    }

    std::string openerOf(std::string_view closer) const {
        for (const Word& word : m_dictionary.words()) {
            if (word.closedBy(closer)) return word.name;
        }
        return {};
    }

    void endMacro() {
        for (auto open = m_blocks.rbegin(); open != m_blocks.rend(); ++open) {
            if (!open->word || !open->word->is("scrp")) notClosed(*open);
        }
        m_blocks.clear();
        m_ended = true;
    }

    void noteInstAndCreation(const Word& word, const Lexeme& name) {
        if (word.is("inst")) m_instSeen = true;
        if (word.is("scrp")) {
            m_instSeen = false;
            m_creationReported = false;
        }
        if (word.createsObject() && !m_instSeen && !m_creationReported &&
            m_kind != MacroKind::Routine) {
            m_creationReported = true;
            report(Severity::Warning, FindingCode::CreatesWithoutInst, name,
                   textOf(Msg::CreatedWithoutInst));
        }
        if (!m_firstCommand) m_firstCommand = name;
    }

    void finish() {
        if (!m_ended) {
            // The missing endm below covers a script's own block.
            for (auto open = m_blocks.rbegin(); open != m_blocks.rend(); ++open) {
                if (!open->word || !open->word->is("scrp")) notClosed(*open);
            }
            const std::size_t end = m_text.size();
            m_command = nullptr;
            report(Severity::Error, FindingCode::MissingEndm, end > 0 ? end - 1 : 0, 1,
                   textOf(Msg::MacroWithoutEndm));
        }
        for (const LabelUse& use : m_labelUses) {
            const std::string_view label = lexemeText(use.label);
            if (std::find(m_labels.begin(), m_labels.end(), label) == m_labels.end()) {
                report(Severity::Error, FindingCode::UnknownLabel, use.label,
                       fill(Msg::FindingUnknownLabel, {shortenedToken(label)}));
                // Known only once the macro has ended: the finding is its use's.
                m_findings.back().command = std::string(use.command);
            }
        }
        if (m_kind == MacroKind::Routine && !m_instSeen && m_firstCommand) {
            m_command = nullptr;
            report(Severity::Warning, FindingCode::RoutineWithoutInst, *m_firstCommand,
                   textOf(Msg::InstallationWithoutInst));
        }
        if (m_text.size() > kMacroTextLimit) {
            const std::string size = std::to_string(m_text.size());
            const std::string limit = std::to_string(kMacroTextLimit);
            m_command = nullptr;
            report(Severity::Error, FindingCode::MacroTooLong, kMacroTextLimit, 1,
                   fill(Msg::FindingMacroTooLong, {size, limit}));
        }
    }

    const MacroText& m_macro;
    const std::string_view m_text;
    const CheckOptions& m_options;
    const Dictionary& m_dictionary;
    const MacroKind m_kind;
    std::vector<Finding>& m_findings;
    std::optional<InstallationRules> m_installation;

    const CommandReading* m_command = nullptr;  // the command the rules are at, if any
    std::vector<OpenBlock> m_blocks;
    std::vector<LabelUse> m_labelUses;
    std::vector<std::string> m_labels;
    std::optional<Lexeme> m_firstCommand;
    std::map<std::string, std::vector<const Word*>> m_nearest;  // by word and c(ommand)/v(alue)
    bool m_ended = false;
    bool m_instSeen = false;
    bool m_creationReported = false;
};

}  // namespace

bool hasErrors(std::span<const Finding> findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.isError(); });
}

std::string_view severityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::vector<Finding> checkMacro(const MacroText& macro, MacroKind kind,
                                const CheckOptions& options) {
    return checkMacro(macro, kind, options, {});
}

std::vector<Finding> checkMacro(const MacroText& macro, MacroKind kind, const CheckOptions& options,
                                const std::function<void(const CommandReading&)>& eachCommand) {
    std::vector<Finding> findings;
    Rules(macro, options, kind, findings, eachCommand ? &eachCommand : nullptr).run();
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.position < b.position; });
    return findings;
}

std::vector<Token> tokenizeCommands(std::string_view text, const Dictionary& dictionary) {
    std::vector<Token> tokens;
    MacroReader reader(text, dictionary);
    std::size_t counted = 0;
    int characters = 0;
    while (const CommandReading* command = reader.next())
        appendTokens(*command, text, counted, characters, tokens);
    return tokens;
}

ArgumentPlace argumentAt(std::string_view line, int column, const Dictionary& dictionary) {
    const std::string_view before = line.substr(0, byteOffsetOfCharacter(line, column));
    // The argument places of the last command before the caret.
    MacroReader reader(before, dictionary);
    std::vector<ArgumentSlot> slots;
    while (const CommandReading* command = reader.next()) {
        if (command->endsText) slots = command->places;
    }
    // After a blank (outside a byte string) the caret is at the next argument, the first one
    // missing; else it is in the last one given.
    const std::size_t opened = before.rfind('[');
    const bool inByteString =
        opened != std::string_view::npos && before.find(']', opened) == std::string_view::npos;
    const bool afterBlank = !before.empty() && isWhitespace(before.back()) && !inByteString;
    ArgumentPlace place;
    for (const ArgumentSlot& slot : slots) {
        if (slot.missing) {
            if (afterBlank) place = {slot.owner, slot.index};
            break;
        }
        place = afterBlank ? ArgumentPlace{} : ArgumentPlace{slot.owner, slot.index};
    }
    return place;
}

}  // namespace vek
