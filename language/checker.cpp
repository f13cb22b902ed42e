#include "language/checker.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

#include "app/ansi_text.h"
#include "app/text_names.h"

namespace vek {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A word or a byte string of a command, by its bytes in the macro text.
struct Lexeme {
    std::size_t offset = 0;
    std::size_t length = 0;
    bool byteString = false;
    bool closed = true;  // a byte string's "]" was found
};

// The lexemes of the command that starts at `from`; returns where the next command starts, or
// npos at the end of the text. Commas end a command, except inside a byte string.
std::size_t lexCommand(std::string_view text, std::size_t from, std::vector<Lexeme>& lexemes) {
    lexemes.clear();
    std::size_t at = from;
    while (at < text.size()) {
        const char c = text[at];
        if (c == ',') return at + 1;
        if (isBlank(c)) {
            ++at;
        } else if (c == '[') {
            const std::size_t close = text.find(']', at + 1);
            const bool closed = close != std::string_view::npos;
            const std::size_t end = closed ? close + 1 : text.size();
            lexemes.push_back({at, end - at, true, closed});
            at = end;
        } else {
            const std::size_t start = at;
            while (at < text.size() && !isBlank(text[at]) && text[at] != ',' && text[at] != '[')
                ++at;
            lexemes.push_back({start, at - start, false, true});
        }
    }
    return std::string_view::npos;
}

std::string lowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// A number as the game reads it: an optional sign, digits, and perhaps a fraction.
struct NumberLiteral {
    bool whole = true;
    std::optional<long long> value;  // for whole numbers that fit
};

std::optional<NumberLiteral> numberLiteral(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    const std::size_t digits = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
    if (at == digits) return std::nullopt;
    NumberLiteral literal;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = ++at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        if (at == fraction) return std::nullopt;
        literal.whole = false;
    }
    if (at != text.size()) return std::nullopt;
    if (literal.whole) {
        long long value = 0;
        const std::string_view magnitude = text.substr(text[0] == '+' ? 1 : 0);
        const auto [end, error] =
            std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), value);
        if (error == std::errc() && end == magnitude.data() + magnitude.size())
            literal.value = value;
    }
    return literal;
}

// The whole part of a number literal, saturated where it does not fit.
long long wholePart(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        if (value > (std::numeric_limits<long long>::max() - 9) / 10) {
            value = std::numeric_limits<long long>::max();
            break;
        }
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

constexpr std::string_view kComparisons[] = {"eq", "ne", "lt", "gt", "le", "ge", "bt", "bf"};
constexpr std::string_view kComparisonSymbols[] = {"=", "<>", "<", ">", "<=", ">="};

bool isOneOf(std::string_view word, std::span<const std::string_view> list) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

// Built by appends: GCC 12 warns falsely about a concatenation of literals here.
std::string quoted(std::string_view text) {
    std::string out(1, '"');
    out.append(shortenedToken(text)).push_back('"');
    return out;
}

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

bool wantsWholeNumber(ArgumentKind kind) {
    return kind == ArgumentKind::Integer || kind == ArgumentKind::Class ||
           kind == ArgumentKind::Event;
}

// Where an argument of a word stands: at a lexeme, or, when it is missing, at the text's end.
struct ArgumentSlot {
    std::size_t offset = 0;
    const Word* owner = nullptr;
    int index = 0;
    bool missing = false;
};

// One pass over a macro: each command, its arguments and the blocks they form. It reports
// findings, tokens, or both.
class Analyzer {
  public:
    Analyzer(std::string_view text, const CheckOptions& options, MacroKind kind)
        : m_text(text), m_options(options), m_dictionary(*options.dictionary), m_kind(kind) {}

    void collectFindings(const MacroText* macro, std::vector<Finding>* findings) {
        m_macro = macro;
        m_findings = findings;
    }
    void collectTokens(std::vector<Token>* tokens) { m_tokens = tokens; }
    // The argument places of the last command read.
    void collectArgumentSlots(std::vector<ArgumentSlot>* slots) { m_slots = slots; }
    void collectCommands(std::vector<ParsedCommand>* commands) { m_commands = commands; }

    void run() {
        if (m_kind == MacroKind::ScriptBody) m_blocks.push_back({nullptr, 0, 0, false});
        std::size_t next = 0;
        while (next != std::string_view::npos && next <= m_text.size()) {
            const std::size_t start = next;
            next = lexCommand(m_text, start, m_lexemes);
            if (m_slots) m_slots->clear();
            if (m_lexemes.empty()) continue;
            m_command = commandText(start, next);
            for (const Lexeme& lexeme : m_lexemes) {
                if (!lexeme.closed) {
                    report(Severity::Error, FindingCode::ByteStringNotClosed, lexeme.offset, 1,
                           textOf(Msg::ByteStringNotClosed));
                }
            }
            if (m_ended && m_findings) {
                report(Severity::Warning, FindingCode::CodeAfterEndm, m_lexemes.front(),
                       textOf(Msg::CommandsAfterEndm));
                break;
            }
            command();
        }
        if (m_findings) finish();
    }

  private:
    struct OpenBlock {
        const Word* word;  // nullptr for the script a macro file's commands belong to
        std::size_t offset;
        std::size_t length;
        bool sawElse;
    };

    std::string_view lexemeText(const Lexeme& lexeme) const {
        return m_text.substr(lexeme.offset, lexeme.length);
    }

    std::string_view commandText(std::size_t start, std::size_t next) const {
        std::size_t end = next == std::string_view::npos ? m_text.size() : next - 1;
        std::size_t begin = start;
        while (begin < end && isBlank(m_text[begin])) ++begin;
        while (end > begin && isBlank(m_text[end - 1])) --end;
        return m_text.substr(begin, end - begin);
    }

    // Hands an argument to the parsed command, when commands are collected.
    void parsed(ParsedArgument::Form form, const Lexeme& lexeme, const Word* word = nullptr,
                long long number = 0) {
        if (m_sink) m_sink->push_back({form, lexeme.offset, lexeme.length, word, number, {}});
    }

    void report(Severity severity, FindingCode code, std::size_t offset, std::size_t length,
                BilingualText text) {
        if (!m_findings) return;
        Finding finding;
        finding.position = m_macro ? m_macro->position(offset) : TextPosition{1, 1};
        const std::string_view subject = m_text.substr(offset, length);
        finding.length = std::max(1, characterCount(subject));
        finding.severity = severity;
        finding.code = code;
        finding.text = std::move(text);
        finding.subject = std::string(subject);
        finding.command = std::string(m_command);
        m_findings->push_back(std::move(finding));
    }
    void report(Severity severity, FindingCode code, const Lexeme& lexeme, BilingualText text) {
        report(severity, code, lexeme.offset, lexeme.length, std::move(text));
    }

    // A lexeme that is read as nothing better: a byte string, or an unknown word.
    void plainToken(const Lexeme& lexeme) {
        token(lexeme, lexeme.byteString ? TokenKind::ByteString : TokenKind::Unknown);
    }
    void token(const Lexeme& lexeme, TokenKind kind, const Word* word = nullptr) {
        token(lexeme.offset, lexeme.length, kind, word);
    }
    void token(std::size_t offset, std::size_t length, TokenKind kind, const Word* word) {
        if (!m_tokens) return;
        // Tokens come in text order, so the character count runs along with them.
        m_characters += characterCount(m_text.substr(m_counted, offset - m_counted));
        const int characters = characterCount(m_text.substr(offset, length));
        m_tokens->push_back({m_characters, characters, kind, word});
        m_characters += characters;
        m_counted = offset + length;
    }

    // A word of the language by its name in any letter case; a name that is known only in
    // lower case is reported, and read as known.
    const Word* known(const Lexeme& lexeme, std::string_view name, bool asCommand) {
        const std::string lower = lowered(name);
        const Word* word = asCommand ? m_dictionary.command(lower) : m_dictionary.value(lower);
        if (word && lower != name) {
            report(Severity::Error, FindingCode::UpperCase, lexeme.offset, name.size(),
                   {"The game knows " + quoted(lower) + " in lower case only",
                    "Das Spiel kennt " + quoted(lower) + " nur in Kleinbuchstaben"});
        }
        if (word && word->laterGeneration) {
            report(Severity::Warning, FindingCode::LaterGeneration, lexeme.offset, name.size(),
                   fill(Msg::FindingLaterGeneration, {quoted(lower)}));
        }
        return word;
    }

    void command() {
        const Lexeme& first = m_lexemes.front();
        if (first.byteString) {
            report(Severity::Error, FindingCode::UnknownCommand, first,
                   textOf(Msg::CommandBeforeByteString));
            return;
        }
        // The longest name that the language knows: "new: simp" before "new:".
        const Word* word = nullptr;
        std::size_t next = 1;
        std::size_t nameEnd = first.offset + first.length;
        const std::string_view firstName = lexemeText(first);
        if (m_lexemes.size() > 1 && !m_lexemes[1].byteString) {
            const Lexeme& second = m_lexemes[1];
            const std::string name = std::string(firstName) + " " + std::string(lexemeText(second));
            const std::string lower = lowered(name);
            if (m_dictionary.command(lower)) {
                word = known(first, name, true);
                next = 2;
                nameEnd = second.offset + second.length;
            }
        }
        if (!word) word = known(first, firstName, true);
        m_sink = nullptr;
        if (m_commands) {
            m_commands->push_back({word, first.offset, nameEnd - first.offset, {}});
            m_sink = &m_commands->back().arguments;
        }
        if (!word) {
            unknownCommand(first);
            return;
        }
        for (std::size_t k = 0; k < next; ++k) token(m_lexemes[k], TokenKind::Command, word);
        const Lexeme nameLexeme{first.offset, nameEnd - first.offset, false, true};
        arguments(*word, nameLexeme, next);
        block(*word, nameLexeme);
        noteInstAndCreation(*word, nameLexeme);
    }

    void unknownCommand(const Lexeme& first) {
        // "new: sim" names both its words in the message.
        std::size_t length = first.length;
        const std::string lowerFirst = lowered(lexemeText(first));
        if (m_dictionary.beginsLongerCommand(lowerFirst) && !m_dictionary.command(lowerFirst) &&
            m_lexemes.size() > 1 && !m_lexemes[1].byteString) {
            length = m_lexemes[1].offset + m_lexemes[1].length - first.offset;
        }
        token(first.offset, length, TokenKind::Unknown, nullptr);
        const std::string_view name = m_text.substr(first.offset, length);
        report(Severity::Error, FindingCode::UnknownCommand, first.offset, length,
               {"Unknown command " + quoted(name), "Unbekannter Befehl " + quoted(name)});
    }

    void arguments(const Word& word, const Lexeme& name, std::size_t at) {
        at = argumentsOf(word, name, at);
        if (at < m_lexemes.size()) {
            const std::size_t count = word.arguments.size();
            report(Severity::Error, FindingCode::TooManyArguments, m_lexemes[at],
                   count == 0 ? fill(Msg::FindingTakesNoArguments, {quoted(word.name)})
                              : fill(Msg::FindingTakesOnly,
                                     {untranslated(quoted(word.name)), argumentCount(count)}));
            for (; at < m_lexemes.size(); ++at) plainToken(m_lexemes[at]);
        }
    }

    void tooFew(const Word& word, const Lexeme& name, std::size_t given) {
        const std::size_t needed = word.arguments.size();
        report(Severity::Error, FindingCode::TooFewArguments, name,
               fill(Msg::FindingNeedsArguments,
                    {untranslated(quoted(word.name)), argumentCount(needed),
                     untranslated(std::to_string(given))}));
    }

    void wrongKind(Severity severity, const Word& owner, ArgumentKind kind, const Lexeme& lexeme) {
        const Bilingual wanted = wantedText(kind);
        const std::string_view given = lexemeText(lexeme);
        report(severity, FindingCode::WrongKind, lexeme,
               fill(Msg::FindingWrongKind, {untranslated(quoted(owner.name)), textOf(wanted),
                                            untranslated(quoted(given))}));
    }

    // Reads one argument at `at`; returns where the next one starts.
    std::size_t argument(ArgumentKind kind, std::size_t at, const Word& owner) {
        const Lexeme& lexeme = m_lexemes[at];
        switch (kind) {
            case ArgumentKind::Token:
            case ArgumentKind::Label:
                return name(kind, lexeme, owner), at + 1;
            case ArgumentKind::String:
                parsed(lexeme.byteString ? ParsedArgument::Form::ByteString
                                         : ParsedArgument::Form::Name,
                       lexeme);
                if (lexeme.byteString) {
                    token(lexeme, TokenKind::ByteString);
                } else {
                    // Some words take a bare name in scripts that run; say so, do not refuse.
                    token(lexeme, TokenKind::Name);
                    wrongKind(Severity::Warning, owner, kind, lexeme);
                }
                return at + 1;
            case ArgumentKind::Condition:
                return condition(at, owner);
            default:
                return value(kind, at, owner);
        }
    }

    void name(ArgumentKind kind, const Lexeme& lexeme, const Word& owner) {
        parsed(lexeme.byteString ? ParsedArgument::Form::ByteString : ParsedArgument::Form::Name,
               lexeme);
        if (lexeme.byteString) {
            plainToken(lexeme);
            wrongKind(kind == ArgumentKind::Token ? Severity::Warning : Severity::Error, owner,
                      kind, lexeme);
            return;
        }
        token(lexeme, TokenKind::Name);
        const std::string_view text = lexemeText(lexeme);
        if (kind == ArgumentKind::Label && owner.name != "subr") m_labelUses.push_back(lexeme);
        if (owner.name == "subr") m_labels.emplace_back(text);
        if (characterCount(text) != 4) {
            report(Severity::Warning, FindingCode::NameLength, lexeme,
                   fill(Msg::FindingNameLength, {quoted(text)}));
        }
    }

    std::size_t value(ArgumentKind kind, std::size_t at, const Word& owner) {
        const Lexeme& lexeme = m_lexemes[at];
        const std::string_view text = lexemeText(lexeme);
        if (lexeme.byteString) {
            parsed(ParsedArgument::Form::ByteString, lexeme);
            plainToken(lexeme);
            wrongKind(Severity::Error, owner, kind, lexeme);
            return at + 1;
        }
        if (const auto literal = numberLiteral(text)) {
            parsed(ParsedArgument::Form::Number, lexeme, nullptr, wholePart(text));
            token(lexeme, TokenKind::Number);
            if (kind == ArgumentKind::Variable) {
                wrongKind(Severity::Error, owner, kind, lexeme);
            } else {
                checkLiteral(kind, *literal, lexeme);
            }
            return at + 1;
        }
        const Word* word = known(lexeme, text, false);
        parsed(ParsedArgument::Form::Value, lexeme, word);
        if (!word) {
            token(lexeme, TokenKind::Unknown);
            if (m_dictionary.command(lowered(text))) {
                report(Severity::Error, FindingCode::NotAValue, lexeme,
                       fill(Msg::FindingCommandNotValue, {quoted(text)}));
            } else {
                report(Severity::Error, FindingCode::UnknownValue, lexeme,
                       {"Unknown value " + quoted(text), "Unbekannter Wert " + quoted(text)});
            }
            return at + 1;
        }
        const bool variable = word->kind == WordKind::Variable;
        token(lexeme, variable ? TokenKind::Variable : TokenKind::Value, word);
        if (kind == ArgumentKind::Variable && !variable)
            wrongKind(Severity::Error, owner, kind, lexeme);
        // A value's own arguments follow it, and are its own in the parsed command.
        std::vector<ParsedArgument>* const outer = m_sink;
        if (m_sink) m_sink = &m_sink->back().arguments;
        const std::size_t next = argumentsOf(*word, lexeme, at + 1);
        m_sink = outer;
        return next;
    }

    // Reads a word's arguments from the lexeme at `at`; returns where the lexemes after them
    // begin (the end when too few were given).
    std::size_t argumentsOf(const Word& word, const Lexeme& name, std::size_t at) {
        for (std::size_t index = 0; index < word.arguments.size(); ++index) {
            const bool given = at < m_lexemes.size();
            if (m_slots)
                m_slots->push_back({given ? m_lexemes[at].offset : m_text.size(), &word,
                                    static_cast<int>(index), !given});
            if (!given) {
                tooFew(word, name, index);
                return at;
            }
            at = argument(word.arguments[index], at, word);
        }
        return at;
    }

    void checkLiteral(ArgumentKind kind, const NumberLiteral& literal, const Lexeme& lexeme) {
        const std::string_view text = lexemeText(lexeme);
        if (!literal.whole && wantsWholeNumber(kind)) {
            report(Severity::Warning, FindingCode::DecimalForInteger, lexeme,
                   fill(Msg::FindingNotWholeNumber, {quoted(text)}));
            return;
        }
        if (!literal.value) return;
        const long long value = *literal.value;
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

    std::size_t condition(std::size_t at, const Word& owner) {
        while (true) {
            at = value(ArgumentKind::Decimal, at, owner);
            if (at >= m_lexemes.size()) {
                report(Severity::Error, FindingCode::BadComparison, m_lexemes[at - 1],
                       textOf(Msg::ConditionEndsBeforeComparison));
                return at;
            }
            comparison(m_lexemes[at]);
            if (++at >= m_lexemes.size()) {
                report(Severity::Error, FindingCode::BadComparison, m_lexemes[at - 1],
                       textOf(Msg::ConditionEndsAfterComparison));
                return at;
            }
            at = value(ArgumentKind::Decimal, at, owner);
            if (at >= m_lexemes.size()) return at;
            const std::string joint = lowered(lexemeText(m_lexemes[at]));
            if (joint != "and" && joint != "or") return at;
            parsed(ParsedArgument::Form::Joint, m_lexemes[at]);
            token(m_lexemes[at], TokenKind::Keyword);
            if (++at >= m_lexemes.size()) {
                report(Severity::Error, FindingCode::BadComparison, m_lexemes[at - 1],
                       {"The condition ends after " + quoted(joint),
                        "Die Bedingung endet nach " + quoted(joint)});
                return at;
            }
        }
    }

    void comparison(const Lexeme& lexeme) {
        parsed(ParsedArgument::Form::Comparison, lexeme);
        const std::string_view text = lexemeText(lexeme);
        if (lexeme.byteString) {
            plainToken(lexeme);
        } else {
            token(lexeme, TokenKind::Keyword);
        }
        if (!lexeme.byteString && isOneOf(lowered(text), kComparisons)) return;
        if (!lexeme.byteString && isOneOf(text, kComparisonSymbols)) {
            report(
                Severity::Warning, FindingCode::BadComparison, lexeme,
                {"Write the comparison " + quoted(text) + " as a word: eq, ne, lt, gt, le, ge",
                 "Den Vergleich " + quoted(text) + " als Wort schreiben: eq, ne, lt, gt, le, ge"});
            return;
        }
        report(Severity::Error, FindingCode::BadComparison, lexeme,
               {"Expected a comparison (eq, ne, lt, gt, le, ge, bt, bf) instead of " + quoted(text),
                "Statt " + quoted(text) +
                    " wird ein Vergleich erwartet (eq, ne, lt, gt, le, ge, "
                    "bt, bf)"});
    }

    // The words that close a block, as the messages list them: "endi", "untl" or "ever".
    static BilingualText closersOf(const Word& opener) {
        BilingualText text;
        for (std::size_t k = 0; k < opener.partners.size(); ++k) {
            if (k > 0) {
                text.english += " or ";
                text.german += " oder ";
            }
            text.english += quoted(opener.partners[k]);
            text.german += quoted(opener.partners[k]);
        }
        return text;
    }

    std::string_view openerName(const OpenBlock& open) const {
        return open.word ? std::string_view(open.word->name) : std::string_view("scrp");
    }

    void notClosed(const OpenBlock& open) {
        if (!open.word) return;
        const BilingualText closers = closersOf(*open.word);
        report(Severity::Error, FindingCode::BlockNotClosed, open.offset, open.length,
               fill(Msg::FindingBlockNotClosed, {untranslated(quoted(open.word->name)), closers}));
    }

    void block(const Word& word, const Lexeme& name) {
        switch (word.block) {
            case BlockRole::None:
                return;
            case BlockRole::Opens:
                if (word.name == "scrp" && !m_blocks.empty()) {
                    report(
                        Severity::Error, FindingCode::ScriptInsideBlock, name,
                        fill(Msg::FindingScriptInsideBlock, {quoted(openerName(m_blocks.back()))}));
                }
                m_blocks.push_back({&word, name.offset, name.length, false});
                return;
            case BlockRole::Within:
                return within(word, name);
            case BlockRole::Closes:
                return word.name == "endm" ? endMacro() : close(word, name);
        }
    }

    void within(const Word& word, const Lexeme& name) {
        const std::string& owner = word.partners.front();
        if (m_blocks.empty() || openerName(m_blocks.back()) != owner) {
            report(Severity::Error, FindingCode::ElseMisplaced, name,
                   fill(Msg::FindingElseMisplaced, {quoted(word.name), quoted(owner)}));
        } else if (m_blocks.back().sawElse) {
            report(Severity::Error, FindingCode::ElseMisplaced, name,
                   {"A second " + quoted(word.name) + " in one " + quoted(owner),
                    "Ein zweites " + quoted(word.name) + " in einem " + quoted(owner)});
        } else {
            m_blocks.back().sawElse = true;
        }
    }

    void close(const Word& word, const Lexeme& name) {
        const auto match =
            std::find_if(m_blocks.rbegin(), m_blocks.rend(),
                         [&](const OpenBlock& b) { return b.word && b.word->closedBy(word.name); });
        const Word* top = m_blocks.empty() ? nullptr : m_blocks.back().word;
        if (top && top->closedBy(word.name)) {
            m_blocks.pop_back();
            return;
        }
        // Inside a script's own block, a closer has nothing to close.
        if (top && top->name != "scrp") {
            const Word& open = *m_blocks.back().word;
            const BilingualText closers = closersOf(open);
            report(Severity::Error, FindingCode::WrongCloser, name,
                   fill(Msg::FindingWrongCloser, {untranslated(quoted(word.name)),
                                                  untranslated(quoted(open.name)), closers}));
            // Go on from the block it does close, if there is one.
            if (match != m_blocks.rend()) m_blocks.erase(match.base() - 1, m_blocks.end());
            return;
        }
        const std::string opener = openerOf(word.name);
        // A stray endi does nothing where the game meets it; everything else unbalances a loop.
        report(word.name == "endi" ? Severity::Warning : Severity::Error,
               FindingCode::CloserWithoutBlock, name,
               {quoted(word.name) + " without " + quoted(opener),
                quoted(word.name) + " ohne " + quoted(opener)});
    }

    std::string openerOf(std::string_view closer) const {
        for (const Word& word : m_dictionary.words()) {
            if (word.closedBy(closer)) return word.name;
        }
        return {};
    }

    void endMacro() {
        for (auto open = m_blocks.rbegin(); open != m_blocks.rend(); ++open) {
            if (!open->word || open->word->name != "scrp") notClosed(*open);
        }
        m_blocks.clear();
        // Tokens go on after the end; findings stop there.
        m_ended = m_findings != nullptr;
    }

    void noteInstAndCreation(const Word& word, const Lexeme& name) {
        if (word.name == "inst") m_instSeen = true;
        if (word.name == "scrp") {
            m_instSeen = false;
            m_creationReported = false;
        }
        if (word.name.starts_with("new: ") && !m_instSeen && !m_creationReported &&
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
                if (!open->word || open->word->name != "scrp") notClosed(*open);
            }
            const std::size_t end = m_text.size();
            m_command = {};
            report(Severity::Error, FindingCode::MissingEndm, end > 0 ? end - 1 : 0, 1,
                   textOf(Msg::MacroWithoutEndm));
        }
        for (const Lexeme& use : m_labelUses) {
            const std::string_view label = lexemeText(use);
            if (std::find(m_labels.begin(), m_labels.end(), label) == m_labels.end()) {
                report(Severity::Error, FindingCode::UnknownLabel, use,
                       fill(Msg::FindingUnknownLabel, {shortenedToken(label)}));
            }
        }
        if (m_kind == MacroKind::Routine && !m_instSeen && m_firstCommand) {
            m_command = {};
            report(Severity::Warning, FindingCode::RoutineWithoutInst, *m_firstCommand,
                   textOf(Msg::InstallationWithoutInst));
        }
        if (m_text.size() > kMacroTextLimit) {
            const std::string size = std::to_string(m_text.size());
            const std::string limit = std::to_string(kMacroTextLimit);
            m_command = {};
            report(Severity::Error, FindingCode::MacroTooLong, kMacroTextLimit, 1,
                   fill(Msg::FindingMacroTooLong, {size, limit}));
        }
    }

    const std::string_view m_text;
    const CheckOptions& m_options;
    const Dictionary& m_dictionary;
    const MacroKind m_kind;
    const MacroText* m_macro = nullptr;
    std::vector<Finding>* m_findings = nullptr;
    std::vector<Token>* m_tokens = nullptr;
    std::vector<ArgumentSlot>* m_slots = nullptr;
    std::vector<ParsedCommand>* m_commands = nullptr;
    std::vector<ParsedArgument>* m_sink = nullptr;  // where the current command's arguments go

    std::vector<Lexeme> m_lexemes;
    std::string_view m_command;
    std::vector<OpenBlock> m_blocks;
    std::vector<Lexeme> m_labelUses;
    std::vector<std::string> m_labels;
    std::optional<Lexeme> m_firstCommand;
    bool m_ended = false;
    bool m_instSeen = false;
    bool m_creationReported = false;
    int m_characters = 0;
    std::size_t m_counted = 0;
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
    std::vector<Finding> findings;
    Analyzer analyzer(macro.text(), options, kind);
    analyzer.collectFindings(&macro, &findings);
    analyzer.run();
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.position < b.position; });
    return findings;
}

namespace {

// Reads a text of commands as a macro for its tokens, its last command's argument places, or both.
void readCommands(std::string_view text, const Dictionary& dictionary, std::vector<Token>* tokens,
                  std::vector<ArgumentSlot>* slots) {
    CheckOptions options;
    options.dictionary = &dictionary;
    Analyzer analyzer(text, options, MacroKind::Macro);
    analyzer.collectTokens(tokens);
    analyzer.collectArgumentSlots(slots);
    analyzer.run();
}

}  // namespace

std::vector<ParsedCommand> parseCommands(std::string_view text, const Dictionary& dictionary) {
    CheckOptions options;
    options.dictionary = &dictionary;
    std::vector<ParsedCommand> commands;
    Analyzer analyzer(text, options, MacroKind::Macro);
    analyzer.collectCommands(&commands);
    analyzer.run();
    return commands;
}

std::vector<Token> tokenizeCommands(std::string_view text, const Dictionary& dictionary) {
    std::vector<Token> tokens;
    readCommands(text, dictionary, &tokens, nullptr);
    return tokens;
}

ArgumentPlace argumentAt(std::string_view line, int column, const Dictionary& dictionary) {
    const std::string_view before = line.substr(0, byteOffsetOfCharacter(line, column));
    std::vector<ArgumentSlot> slots;
    readCommands(before, dictionary, nullptr, &slots);
    // After a blank (outside a byte string) the caret is at the next argument, the first one
    // missing; else it is in the last one given.
    const std::size_t opened = before.rfind('[');
    const bool inByteString =
        opened != std::string_view::npos && before.find(']', opened) == std::string_view::npos;
    const bool afterBlank = !before.empty() && isBlank(before.back()) && !inByteString;
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
