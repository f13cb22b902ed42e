#include "language/reading.h"

#include <array>
#include <cstdint>

#include "app/ansi_text.h"

namespace vek {

namespace {

// What a byte is to the lexer, from a table: it reads every byte of every macro checked.
enum class LexClass : std::uint8_t { Word, Blank, Comma, Open };
constexpr std::array<LexClass, 256> kLexClasses = [] {
    std::array<LexClass, 256> classes{};
    for (const char blank : {' ', '\t', '\r', '\n'})
        classes[static_cast<unsigned char>(blank)] = LexClass::Blank;
    classes[','] = LexClass::Comma;
    classes['['] = LexClass::Open;
    return classes;
}();
LexClass lexClassOf(char c) { return kLexClasses[static_cast<unsigned char>(c)]; }
bool isBlank(char c) { return lexClassOf(c) == LexClass::Blank; }

void lowerInPlace(std::string& text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

}  // namespace

std::string lowered(std::string_view text) {
    std::string lower(text);
    lowerInPlace(lower);
    return lower;
}

bool hasCapitals(std::string_view text) {
    for (const char c : text) {
        if (c >= 'A' && c <= 'Z') return true;
    }
    return false;
}

bool equalsInLowerCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lower[k]) return false;
    }
    return true;
}

MacroReader::MacroReader(std::string_view text, const Dictionary& dictionary)
    : m_text(text), m_dictionary(dictionary) {}

// The lexemes of the command that starts at `from`; returns where the next command starts, or
// npos at the end of the text. Commas end a command, except inside a byte string.
std::size_t MacroReader::lex(std::size_t from) {
    std::vector<Lexeme>& lexemes = m_command.lexemes;
    lexemes.clear();
    std::size_t at = from;
    while (at < m_text.size()) {
        switch (lexClassOf(m_text[at])) {
            case LexClass::Comma:
                return at + 1;
            case LexClass::Blank:
                ++at;
                break;
            case LexClass::Open: {
                const std::size_t close = m_text.find(']', at + 1);
                const bool closed = close != std::string_view::npos;
                const std::size_t end = closed ? close + 1 : m_text.size();
                lexemes.push_back({at, end - at, true, closed});
                at = end;
                break;
            }
            case LexClass::Word: {
                const std::size_t start = at;
                while (++at < m_text.size() && lexClassOf(m_text[at]) == LexClass::Word) {
                }
                lexemes.push_back({start, at - start, false, true});
                break;
            }
        }
    }
    return std::string_view::npos;
}

const CommandReading* MacroReader::next() {
    while (!m_done && m_next <= m_text.size()) {
        const std::size_t start = m_next;
        const std::size_t after = lex(start);
        m_done = after == std::string_view::npos;
        m_next = after;
        if (m_command.lexemes.empty()) continue;

        std::size_t end = m_done ? m_text.size() : after - 1;
        std::size_t begin = start;
        while (begin < end && isBlank(m_text[begin])) ++begin;
        while (end > begin && isBlank(m_text[end - 1])) --end;
        m_command.start = m_command.lexemes.front().offset;
        m_command.text = m_text.substr(begin, end - begin);
        m_command.word = nullptr;
        m_command.name = m_command.lexemes.front();
        m_command.pieces.clear();
        m_command.places.clear();
        m_command.endsText = m_done;
        readName();
        return &m_command;
    }
    return nullptr;
}

// The name in lower case: the name itself when it has no capitals, else a copy in `buffer`.
std::string_view MacroReader::inLowerCase(std::string_view name, std::string& buffer) {
    if (!hasCapitals(name)) return name;
    buffer.assign(name);
    lowerInPlace(buffer);
    return buffer;
}

const Word* MacroReader::valueNamed(std::string_view name) {
    return m_dictionary.value(inLowerCase(name, m_lower));
}

void MacroReader::add(PieceRole role, const Lexeme& lexeme, std::optional<TokenKind> token) {
    m_command.pieces.emplace_back(role, lexeme, token);
}

void MacroReader::readName() {
    const std::vector<Lexeme>& lexemes = m_command.lexemes;
    const Lexeme& first = lexemes.front();
    if (first.byteString) {
        add(PieceRole::StringFirst, first, std::nullopt);
        return;
    }
    // The longest name that the language knows: "new: simp" before "new:".
    const std::string_view firstName = lexemeText(first);
    const std::string_view lowerFirst = inLowerCase(firstName, m_lowerName);
    const bool longer = lexemes.size() > 1 && !lexemes[1].byteString &&
                        m_dictionary.beginsLongerCommand(lowerFirst);
    const Word* word = nullptr;
    int parts = 1;
    if (longer) {
        m_lowerPair.assign(lowerFirst).append(1, ' ').append(lexemeText(lexemes[1]));
        lowerInPlace(m_lowerPair);
        word = m_dictionary.command(m_lowerPair);
        if (word) parts = 2;
    }
    if (!word) word = m_dictionary.command(lowerFirst);
    if (!word) {
        // "new: sim" names both its words.
        const std::size_t length =
            longer ? lexemes[1].offset + lexemes[1].length - first.offset : first.length;
        const Lexeme name{first.offset, length, false, true};
        m_command.name = name;
        add(PieceRole::UnknownName, name, TokenKind::Unknown);
        return;
    }
    const Lexeme& last = lexemes[static_cast<std::size_t>(parts) - 1];
    m_command.word = word;
    // Kept in a local: the piece copies it from there rather than from the command.
    const Lexeme name{first.offset, last.offset + last.length - first.offset, false, true};
    m_command.name = name;
    add(PieceRole::Name, name, TokenKind::Command);
    m_command.pieces.back().parts = parts;
    m_command.pieces.back().word = word;

    std::size_t at = argumentsOf(*word, name, static_cast<std::size_t>(parts));
    for (; at < lexemes.size(); ++at) {
        const Lexeme& extra = lexemes[at];
        add(PieceRole::Extra, extra, extra.byteString ? TokenKind::ByteString : TokenKind::Unknown);
        m_command.pieces.back().owner = word;
    }
}

// Reads a word's arguments from the lexeme at `at`; returns where the lexemes after them begin
// (the end when too few were given).
std::size_t MacroReader::argumentsOf(const Word& word, const Lexeme& name, std::size_t at) {
    const std::vector<Lexeme>& lexemes = m_command.lexemes;
    for (std::size_t k = 0; k < word.arguments.size(); ++k) {
        const int index = static_cast<int>(k);
        const bool given = at < lexemes.size();
        m_command.places.push_back(
            {given ? lexemes[at].offset : m_text.size(), &word, index, !given});
        if (!given) {
            add(PieceRole::Missing, name, std::nullopt);
            m_command.pieces.back().owner = &word;
            m_command.pieces.back().index = index;
            return at;
        }
        const ArgumentKind kind = word.arguments[k];
        if (kind == ArgumentKind::Condition) {
            at = condition(at, word, index);
        } else if (kind == ArgumentKind::Token || kind == ArgumentKind::Label ||
                   kind == ArgumentKind::String || kind == ArgumentKind::Choice) {
            const Lexeme& lexeme = lexemes[at++];
            // A choice's word completes the command's name, as the blocks' keywords do.
            const TokenKind shown =
                kind == ArgumentKind::Choice ? TokenKind::Keyword : TokenKind::Name;
            argumentPiece(lexeme, word, index, kind).token =
                lexeme.byteString ? TokenKind::ByteString : shown;
        } else {
            at = value(kind, at, word, index);
        }
    }
    return at;
}

Piece& MacroReader::argumentPiece(const Lexeme& lexeme, const Word& owner, int index,
                                  ArgumentKind kind) {
    add(PieceRole::Argument, lexeme, TokenKind::Unknown);
    Piece& piece = m_command.pieces.back();
    piece.owner = &owner;
    piece.index = index;
    piece.wanted = kind;
    return piece;
}

std::size_t MacroReader::value(ArgumentKind kind, std::size_t at, const Word& owner, int index) {
    const Lexeme& lexeme = m_command.lexemes[at];
    Piece& piece = argumentPiece(lexeme, owner, index, kind);
    if (lexeme.byteString) {
        piece.token = TokenKind::ByteString;
        return at + 1;
    }
    const std::string_view text = lexemeText(lexeme);
    if (const std::optional<NumberLiteral> literal = numberLiteral(text)) {
        piece.number = *literal;
        piece.token = TokenKind::Number;
        return at + 1;
    }
    const Word* word = valueNamed(text);
    if (!word) return at + 1;
    piece.word = word;
    piece.token = word->kind == WordKind::Variable ? TokenKind::Variable : TokenKind::Value;
    // A value's own arguments follow it.
    return argumentsOf(*word, lexeme, at + 1);
}

std::size_t MacroReader::condition(std::size_t at, const Word& owner, int index) {
    const std::vector<Lexeme>& lexemes = m_command.lexemes;
    const auto cut = [&](std::size_t after, ConditionCut where) {
        add(PieceRole::ConditionEnds, lexemes[after], std::nullopt);
        m_command.pieces.back().index = where;
    };
    while (true) {
        at = value(ArgumentKind::Decimal, at, owner, index);
        if (at >= lexemes.size()) {
            cut(at - 1, CutBeforeComparison);
            return at;
        }
        const Lexeme& comparison = lexemes[at];
        add(PieceRole::Comparison, comparison,
            comparison.byteString ? TokenKind::ByteString : TokenKind::Keyword);
        if (++at >= lexemes.size()) {
            cut(at - 1, CutAfterComparison);
            return at;
        }
        at = value(ArgumentKind::Decimal, at, owner, index);
        if (at >= lexemes.size()) return at;
        const std::string_view joint = lexemeText(lexemes[at]);
        if (!equalsInLowerCase(joint, "and") && !equalsInLowerCase(joint, "or")) return at;
        add(PieceRole::Joint, lexemes[at], TokenKind::Keyword);
        if (++at >= lexemes.size()) {
            cut(at - 1, CutAfterJoint);
            return at;
        }
    }
}

void appendTokens(const CommandReading& command, std::string_view text, std::size_t& counted,
                  int& characters, std::vector<Token>& tokens) {
    const auto token = [&](std::size_t offset, std::size_t length, TokenKind kind,
                           const Word* word) {
        // Tokens come in text order, so the character count runs along with them.
        characters += characterCount(text.substr(counted, offset - counted));
        const int count = characterCount(text.substr(offset, length));
        tokens.push_back({characters, count, kind, word});
        characters += count;
        counted = offset + length;
    };
    for (const Piece& piece : command.pieces) {
        if (!piece.token) continue;
        if (piece.role == PieceRole::Name) {
            for (int part = 0; part < piece.parts; ++part) {
                const Lexeme& lexeme = command.lexemes[static_cast<std::size_t>(part)];
                token(lexeme.offset, lexeme.length, TokenKind::Command, piece.word);
            }
            continue;
        }
        token(piece.lexeme.offset, piece.lexeme.length, *piece.token, piece.word);
    }
}

namespace {

// Builds the tree of a command's arguments from its pieces, which stand flat in text order.
class ArgumentTree {
  public:
    ArgumentTree(const CommandReading& command, std::string_view text)
        : m_pieces(command.pieces), m_text(text) {}

    std::vector<ParsedArgument> arguments() {
        std::vector<ParsedArgument> arguments;
        for (std::size_t at = 0; at < m_pieces.size();) {
            const Piece& piece = m_pieces[at];
            if (piece.role == PieceRole::Argument) {
                at = argument(at, arguments);
                continue;
            }
            if (piece.role == PieceRole::Joint || piece.role == PieceRole::Comparison) {
                const auto form = piece.role == PieceRole::Joint ? ParsedArgument::Form::Joint
                                                                 : ParsedArgument::Form::Comparison;
                arguments.push_back(
                    {form, piece.lexeme.offset, piece.lexeme.length, nullptr, 0, {}});
            }
            ++at;
        }
        return arguments;
    }

  private:
    // Appends the argument at `at` with a value's own arguments; returns the piece after them.
    std::size_t argument(std::size_t at, std::vector<ParsedArgument>& into) {
        const Piece& piece = m_pieces[at];
        ParsedArgument& argument = into.emplace_back(parsed(piece));
        if (argument.form != ParsedArgument::Form::Value || !piece.word) return at + 1;
        // A value's arguments follow it, each owned by it and in order.
        ++at;
        for (std::size_t k = 0; k < piece.word->arguments.size() && at < m_pieces.size(); ++k) {
            const Piece& next = m_pieces[at];
            if (next.role != PieceRole::Argument || next.owner != piece.word ||
                next.index != static_cast<int>(k))
                break;
            at = this->argument(at, argument.arguments);
        }
        return at;
    }

    ParsedArgument parsed(const Piece& piece) const {
        using Form = ParsedArgument::Form;
        const Lexeme& lexeme = piece.lexeme;
        ParsedArgument argument{Form::Value, lexeme.offset, lexeme.length, piece.word, 0, {}};
        const bool named =
            piece.wanted == ArgumentKind::Token || piece.wanted == ArgumentKind::Label ||
            piece.wanted == ArgumentKind::String || piece.wanted == ArgumentKind::Choice;
        if (lexeme.byteString) {
            argument.form = Form::ByteString;
        } else if (named) {
            argument.form = Form::Name;
        } else if (piece.number) {
            argument.form = Form::Number;
            argument.number = piece.number->number;
        }
        return argument;
    }

    const std::vector<Piece>& m_pieces;
    std::string_view m_text;
};

}  // namespace

std::vector<ParsedArgument> parsedArguments(const CommandReading& command, std::string_view text) {
    return ArgumentTree(command, text).arguments();
}

std::vector<ParsedCommand> parseCommands(std::string_view text, const Dictionary& dictionary) {
    std::vector<ParsedCommand> commands;
    MacroReader reader(text, dictionary);
    while (const CommandReading* command = reader.next()) {
        if (command->lexemes.empty()) continue;
        commands.push_back({command->word, command->name.offset, command->name.length,
                            parsedArguments(*command, text)});
    }
    return commands;
}

}  // namespace vek
