#include "lsp/annotations.h"

#include <algorithm>
#include <optional>

#include "app/ansi_text.h"
#include "app/text_names.h"
#include "app/text_table.h"

namespace vek::lsp {

namespace {

// The token types in the order of the legend; a token's type is its index here.
enum SemanticType : std::uint32_t {
    kTypeFunction,
    kTypeKeyword,
    kTypeProperty,
    kTypeVariable,
    kTypeNumber,
    kTypeLabel,
    kTypeString,
    kTypeComment,
    kTypeMacro,
};
constexpr const char* kSemanticTypeNames[] = {
    "function", "keyword", "property", "variable", "number", "label", "string", "comment", "macro"};

std::optional<std::uint32_t> semanticTypeOf(TokenKind kind) {
    switch (kind) {
        case TokenKind::Command:
            return kTypeFunction;
        case TokenKind::Keyword:
            return kTypeKeyword;
        case TokenKind::Value:
            return kTypeProperty;
        case TokenKind::Variable:
            return kTypeVariable;
        case TokenKind::Number:
            return kTypeNumber;
        case TokenKind::Name:
            return kTypeLabel;
        case TokenKind::ByteString:
            return kTypeString;
        case TokenKind::Unknown:
            break;
    }
    return std::nullopt;
}

// A token of one line by its bytes.
struct LineSpanOfType {
    std::size_t from = 0;
    std::size_t to = 0;
    std::uint32_t type = 0;
};

std::vector<LineSpanOfType> spansOf(std::string_view line, const ShownLine& shown) {
    std::vector<LineSpanOfType> spans;
    if (shown.role == LineRole::Comment || shown.role == LineRole::Header) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos)
            spans.push_back(
                {first, line.size(), shown.role == LineRole::Comment ? kTypeComment : kTypeMacro});
        return spans;
    }
    for (const Token& token : shown.tokens) {
        const std::optional<std::uint32_t> type = semanticTypeOf(token.kind);
        if (!type || token.length <= 0) continue;
        spans.push_back({byteOffsetOfCharacter(line, token.start),
                         byteOffsetOfCharacter(line, token.start + token.length), *type});
    }
    return spans;
}

// The number a token writes out, if it is a whole one.
std::optional<long long> numberOf(std::string_view line, const Token& token) {
    if (token.kind != TokenKind::Number) return std::nullopt;
    const std::size_t from = byteOffsetOfCharacter(line, token.start);
    const std::size_t to = byteOffsetOfCharacter(line, token.start + token.length);
    const std::optional<NumberLiteral> literal = numberLiteral(line.substr(from, to - from));
    return literal ? literal->value() : std::nullopt;
}

// A hint after the token at `index` of a line's tokens.
struct PendingHint {
    std::size_t token = 0;
    std::string label;
};

class LineHints {
  public:
    LineHints(const FeatureContext& context, std::string_view line, const ShownLine& shown,
              const ClassNameLookup& names)
        : m_context(context), m_line(line), m_tokens(shown.tokens), m_names(names) {}

    std::vector<PendingHint> hints() {
        for (std::size_t k = 0; k < m_tokens.size(); ++k) {
            const Token& token = m_tokens[k];
            if (!token.word) continue;
            if (token.kind == TokenKind::Command) {
                // Both parts of a two-part name are tokens of the same word.
                if (k > 0 && m_tokens[k - 1].word == token.word &&
                    m_tokens[k - 1].kind == TokenKind::Command)
                    continue;
                command(k);
            } else if (token.word->is("attr")) {
                attributeValue(k);
            }
        }
        return std::move(m_hints);
    }

  private:
    std::string_view language() const { return m_context.language; }

    // The hints of a command's arguments written out as numbers, from the token after its name.
    void command(std::size_t at) {
        const Word& word = *m_tokens[at].word;
        std::size_t first = at + 1;
        while (first < m_tokens.size() && m_tokens[first].word == &word &&
               m_tokens[first].kind == TokenKind::Command)
            ++first;
        std::vector<long long> numbers;
        while (numbers.size() < word.arguments.size() && first + numbers.size() < m_tokens.size()) {
            const std::optional<long long> number =
                numberOf(m_line, m_tokens[first + numbers.size()]);
            if (!number) break;
            numbers.push_back(*number);
        }
        for (std::size_t k = 0; k < numbers.size(); ++k) {
            const ArgumentKind kind = word.arguments[k];
            if (kind == ArgumentKind::Class && k + 2 < numbers.size() &&
                word.arguments[k + 1] == ArgumentKind::Class &&
                word.arguments[k + 2] == ArgumentKind::Class) {
                add(first + k + 2, classLabel(numbers[k], numbers[k + 1], numbers[k + 2]));
                k += 2;
            } else if (kind == ArgumentKind::Event) {
                add(first + k, eventLabel(numbers[k]));
            }
        }
        if (word.is("bhvr")) {
            if (!numbers.empty()) add(first, clickLabel(numbers[0]));
            if (numbers.size() > 1) add(first + 1, creatureActionsLabel(numbers[1]));
        }
    }

    // `setv attr 5`, and `attr` compared with a number.
    void attributeValue(std::size_t at) {
        std::size_t next = at + 1;
        if (next < m_tokens.size() && m_tokens[next].kind == TokenKind::Keyword) ++next;
        if (next >= m_tokens.size()) return;
        if (const std::optional<long long> number = numberOf(m_line, m_tokens[next]))
            add(next, bitsLabel(*number, Tag::Carryable, 8));
    }

    void add(std::size_t token, std::string label) {
        if (!label.empty()) m_hints.push_back({token, std::move(label)});
    }

    std::string classLabel(long long family, long long genus, long long species) const {
        if (!m_names || family <= 0 || family > 255 || genus < 0 || genus > 255 || species < 0 ||
            species > 255)
            return {};
        const auto f = static_cast<int>(family);
        const auto g = static_cast<int>(genus);
        const auto s = static_cast<int>(species);
        const std::string fs = std::to_string(f), gs = std::to_string(g), ss = std::to_string(s);
        // 0 stands for any genus or species: only the parts before it can be named.
        if (g > 0 && s > 0) {
            if (const std::string name = m_names(f, g, s); !name.empty())
                return std::string(fill(Msg::HintWholeClass, {fs, gs, ss, name}).in(language()));
        }
        if (g > 0) {
            if (const std::string name = m_names(f, g, kAbsentClassPart); !name.empty())
                return std::string(fill(Msg::HintGenus, {fs, gs, name}).in(language()));
        }
        if (const std::string name = m_names(f, kAbsentClassPart, kAbsentClassPart); !name.empty())
            return std::string(fill(Msg::HintFamily, {fs, name}).in(language()));
        return {};
    }

    std::string eventLabel(long long event) const {
        const std::span<const std::string_view> events = m_context.events;
        if (event < 0 || event >= static_cast<long long>(events.size())) return {};
        std::string_view text = events[static_cast<std::size_t>(event)];
        // The table writes each name after its number.
        const std::size_t name = text.find_first_not_of(" 0123456789");
        return name == std::string_view::npos ? std::string() : std::string(text.substr(name));
    }

    // The interface's captions of the bits set, from the caption of bit 0 on; bits beyond them
    // as the number they leave.
    std::string bitsLabel(long long value, int firstTag, int bits) const {
        if (value <= 0) return {};
        std::string label;
        const auto join = [&label](std::string_view part) {
            if (!label.empty()) label += " | ";
            label += part;
        };
        const int offset = languageOffset(language());
        for (int bit = 0; bit < bits; ++bit) {
            if (value & (1LL << bit)) join(TextTable::builtIn().caption(firstTag + bit, offset));
        }
        if (const long long rest = value & ~((1LL << bits) - 1); rest != 0)
            join(std::to_string(rest));
        return label;
    }

    // A mouse click's effect, by its caption's name before the number it shows in brackets.
    std::string clickLabel(long long click) const {
        constexpr long long kClickKinds = 5;
        if (click < 0 || click >= kClickKinds) return {};
        const std::string caption = TextTable::builtIn().caption(
            Tag::ClickDumb + static_cast<int>(click), languageOffset(language()));
        return caption.substr(0, std::min(caption.find(" ("), caption.size()));
    }

    std::string creatureActionsLabel(long long actions) const {
        return bitsLabel(actions, Tag::Activate1, 3);
    }

    const FeatureContext& m_context;
    std::string_view m_line;
    const std::vector<Token>& m_tokens;
    const ClassNameLookup& m_names;
    std::vector<PendingHint> m_hints;
};

}  // namespace

Json inlayHints(const FeatureContext& context, const Json& params, const ClassNameLookup& names) {
    const std::vector<std::string>& lines = context.model.lines();
    const std::vector<ShownLine>& shown = context.model.shownLines();
    const LinePlace from = placeOf(lines, params.at("range").at("start"), context.encoding);
    const LinePlace to = placeOf(lines, params.at("range").at("end"), context.encoding);
    Json hints = Json::array();
    for (std::size_t line = from.line; line <= to.line && line < lines.size(); ++line) {
        const std::string_view text = lines[line];
        for (const PendingHint& hint : LineHints(context, text, shown[line], names).hints()) {
            const Token& token = shown[line].tokens[hint.token];
            const LinePlace after{line, byteOffsetOfCharacter(text, token.start + token.length)};
            if (after < from || after > to) continue;
            hints.push_back({{"position", positionOf(lines, after, context.encoding)},
                             {"label", hint.label},
                             {"paddingLeft", true}});
        }
    }
    return hints;
}

Json semanticTokensLegend() {
    Json types = Json::array();
    for (const char* name : kSemanticTypeNames) types.push_back(name);
    return {{"tokenTypes", std::move(types)}, {"tokenModifiers", Json::array()}};
}

std::vector<std::uint32_t> semanticTokenData(const FeatureContext& context) {
    const std::vector<std::string>& lines = context.model.lines();
    const std::vector<ShownLine>& shown = context.model.shownLines();
    std::vector<std::uint32_t> data;
    std::size_t lastLine = 0;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const std::string_view text = lines[line];
        std::size_t lastStart = 0;  // in units, of the token before on this line
        for (const LineSpanOfType& span : spansOf(text, shown[line])) {
            const std::size_t start = unitCount(text.substr(0, span.from), context.encoding);
            const std::size_t length =
                unitCount(text.substr(span.from, span.to - span.from), context.encoding);
            const bool sameLine = line == lastLine && !data.empty();
            data.insert(data.end(),
                        {static_cast<std::uint32_t>(line - lastLine),
                         static_cast<std::uint32_t>(sameLine ? start - lastStart : start),
                         static_cast<std::uint32_t>(length), span.type, 0});
            lastLine = line;
            lastStart = start;
        }
    }
    return data;
}

const SemanticTokensMemory::Sent& SemanticTokensMemory::keep(const std::string& uri,
                                                             std::vector<std::uint32_t> data) {
    Sent& sent = m_sent[uri];
    sent.resultId = std::to_string(++m_lastId);
    sent.data = std::move(data);
    return sent;
}

Json SemanticTokensMemory::full(const FeatureContext& context, const std::string& uri) {
    const Sent& sent = keep(uri, semanticTokenData(context));
    return {{"resultId", sent.resultId}, {"data", sent.data}};
}

Json SemanticTokensMemory::delta(const FeatureContext& context, const std::string& uri,
                                 const Json& params) {
    const std::string previous = params.at("previousResultId").get<std::string>();
    const auto found = m_sent.find(uri);
    if (found == m_sent.end() || found->second.resultId != previous) return full(context, uri);
    const std::vector<std::uint32_t> old = std::move(found->second.data);
    std::vector<std::uint32_t> now = semanticTokenData(context);
    // One edit from the first number that differs to the last.
    const std::size_t shorter = std::min(old.size(), now.size());
    std::size_t prefix = 0;
    while (prefix < shorter && old[prefix] == now[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    Json edits = Json::array();
    if (old != now) {
        const auto inserted =
            std::vector<std::uint32_t>(now.begin() + static_cast<std::ptrdiff_t>(prefix),
                                       now.end() - static_cast<std::ptrdiff_t>(suffix));
        edits.push_back(
            {{"start", prefix}, {"deleteCount", old.size() - prefix - suffix}, {"data", inserted}});
    }
    const Sent& sent = keep(uri, std::move(now));
    return {{"resultId", sent.resultId}, {"edits", std::move(edits)}};
}

}  // namespace vek::lsp
