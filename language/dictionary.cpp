#include "language/dictionary.h"

#include <algorithm>
#include <set>
#include <utility>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

extern const std::string_view kDictionaryData;

namespace {

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (true) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

struct KindName {
    std::string_view name;
    ArgumentKind kind;
    Bilingual shown;
};

constexpr KindName kArgumentKinds[] = {
    {"integer", ArgumentKind::Integer, Msg::ArgumentKindInteger},
    {"float", ArgumentKind::Float, Msg::ArgumentKindFloat},
    {"decimal", ArgumentKind::Decimal, Msg::ArgumentKindNumber},
    {"agent", ArgumentKind::Agent, Msg::ArgumentKindObject},
    {"variable", ArgumentKind::Variable, Msg::ArgumentKindVariable},
    {"token", ArgumentKind::Token, Msg::ArgumentKindName},
    {"string", ArgumentKind::String, Msg::ArgumentKindText},
    {"label", ArgumentKind::Label, Msg::ArgumentKindLabel},
    {"condition", ArgumentKind::Condition, Msg::ArgumentKindCondition},
    {"class", ArgumentKind::Class, Msg::ArgumentKindClass},
    {"event", ArgumentKind::Event, Msg::ArgumentKindEvent},
};

constexpr std::pair<std::string_view, WordKind> kWordKinds[] = {
    {"command", WordKind::Command}, {"integer", WordKind::Integer},   {"float", WordKind::Float},
    {"agent", WordKind::Agent},     {"variable", WordKind::Variable},
};

constexpr std::pair<std::string_view, BlockRole> kBlockRoles[] = {
    {"-", BlockRole::None},
    {"opens", BlockRole::Opens},
    {"within", BlockRole::Within},
    {"closes", BlockRole::Closes},
};

[[noreturn]] void malformed(int lineNumber, const BilingualText& why) {
    throw VekError(fill(Msg::DictionaryLineMalformed, {why}),
                   ErrorDetail::atLine(static_cast<std::uint64_t>(lineNumber)));
}

[[noreturn]] void badField(int lineNumber, Bilingual field, std::string_view value) {
    malformed(lineNumber,
              fill(Msg::DictionaryFieldValue, {textOf(field), untranslated(std::string(value))}));
}

// A word's name: lower case, at most two parts of one to four characters, one blank between.
bool wellFormedName(std::string_view name) {
    const auto parts = splitAt(name, ' ');
    if (parts.size() > 2) return false;
    return std::all_of(parts.begin(), parts.end(), [](std::string_view part) {
        return !part.empty() && part.size() <= 4 &&
               std::none_of(part.begin(), part.end(), [](char c) {
                   return (c >= 'A' && c <= 'Z') || c == '\t' || c == ',' || c == '[';
               });
    });
}

Word decodeWord(const std::vector<std::string_view>& fields, int lineNumber) {
    Word word;
    word.name = std::string(fields[0]);
    if (!wellFormedName(word.name)) badField(lineNumber, Msg::DictionaryFieldWord, word.name);

    const auto kind = std::find_if(std::begin(kWordKinds), std::end(kWordKinds),
                                   [&](const auto& entry) { return entry.first == fields[1]; });
    if (kind == std::end(kWordKinds)) badField(lineNumber, Msg::DictionaryFieldKind, fields[1]);
    word.kind = kind->second;

    if (fields[2] != "-") {
        for (std::string_view name : splitAt(fields[2], ' ')) {
            const auto argument =
                std::find_if(std::begin(kArgumentKinds), std::end(kArgumentKinds),
                             [&](const KindName& entry) { return entry.name == name; });
            if (argument == std::end(kArgumentKinds))
                badField(lineNumber, Msg::DictionaryFieldArgumentKind, name);
            word.arguments.push_back(argument->kind);
        }
    }

    const auto block = splitAt(fields[3], ' ');
    const auto role = std::find_if(std::begin(kBlockRoles), std::end(kBlockRoles),
                                   [&](const auto& entry) { return entry.first == block[0]; });
    if (role == std::end(kBlockRoles)) badField(lineNumber, Msg::DictionaryFieldBlock, fields[3]);
    word.block = role->second;
    word.partners.assign(block.begin() + 1, block.end());
    const bool needsPartners = word.block == BlockRole::Opens || word.block == BlockRole::Within;
    if (needsPartners == word.partners.empty())
        badField(lineNumber, Msg::DictionaryFieldBlock, fields[3]);

    if (fields[4] != "this" && fields[4] != "next")
        badField(lineNumber, Msg::DictionaryFieldKnown, fields[4]);
    word.laterGeneration = fields[4] == "next";

    if (fields[5].empty() || fields[6].empty())
        malformed(lineNumber, textOf(Msg::DictionaryDescriptionMissing));
    word.description = {std::string(fields[5]), std::string(fields[6])};
    return word;
}

}  // namespace

bool Word::closedBy(std::string_view closer) const {
    return block == BlockRole::Opens &&
           std::find(partners.begin(), partners.end(), closer) != partners.end();
}

std::string_view argumentKindName(ArgumentKind kind, std::string_view language) {
    for (const KindName& entry : kArgumentKinds) {
        if (entry.kind == kind) return entry.shown.in(language);
    }
    return {};
}

std::string signatureOf(const Word& word, std::string_view language) {
    std::string signature = word.name;
    for (ArgumentKind argument : word.arguments) {
        signature += ' ';
        signature += argumentKindName(argument, language);
    }
    return signature;
}

std::string wordEntry(const Word& word, std::string_view language) {
    std::string entry = signatureOf(word, language);
    entry += '\n';
    entry += word.description.in(language);
    std::string partners;
    for (const std::string& partner : word.partners) {
        if (!partners.empty()) partners += " / ";
        partners += partner;
    }
    BilingualText block;
    if (word.block == BlockRole::Opens) block = fill(Msg::HoverOpens, {partners});
    if (word.block == BlockRole::Closes) block = textOf(Msg::HoverCloses);
    if (word.block == BlockRole::Within) block = fill(Msg::HoverWithin, {partners});
    if (!block.english.empty()) {
        entry += '\n';
        entry += block.in(language);
    }
    return entry;
}

const Dictionary& Dictionary::builtIn() {
    static const Dictionary dictionary = decode(kDictionaryData);
    return dictionary;
}

Dictionary Dictionary::decode(std::string_view text) {
    Dictionary dictionary;
    std::set<std::pair<std::string, bool>> seen;
    int lineNumber = 0;
    for (std::string_view line : splitAt(text, '\n')) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const auto fields = splitAt(line, '\t');
        if (fields.size() != 7) malformed(lineNumber, textOf(Msg::DictionarySevenFields));
        Word word = decodeWord(fields, lineNumber);
        if (!seen.emplace(word.name, word.isCommand()).second)
            malformed(lineNumber, fill(Msg::DictionaryWordTwice, {word.name}));
        dictionary.m_words.push_back(std::move(word));
    }
    std::sort(dictionary.m_words.begin(), dictionary.m_words.end(),
              [](const Word& a, const Word& b) { return a.name < b.name; });
    dictionary.index();
    return dictionary;
}

void Dictionary::index() {
    for (const Word& word : m_words) {
        (word.isCommand() ? m_commands : m_values).add(word.name, &word);
        const std::size_t blank = word.name.find(' ');
        if (word.isCommand() && blank != std::string::npos)
            m_longFirstWords.add(std::string_view(word.name).substr(0, blank), &word);
    }
}

const Word* Dictionary::command(std::string_view name) const { return m_commands.find(name); }

const Word* Dictionary::value(std::string_view name) const { return m_values.find(name); }

bool Dictionary::beginsLongerCommand(std::string_view first) const {
    return m_longFirstWords.contains(first);
}

std::vector<const Word*> Dictionary::commandsStartingWith(std::string_view prefix) const {
    std::vector<const Word*> found;
    for (const Word& word : m_words) {
        if (word.isCommand() && word.name.starts_with(prefix)) found.push_back(&word);
    }
    return found;
}

std::vector<const Word*> Dictionary::valuesStartingWith(std::string_view prefix) const {
    std::vector<const Word*> found;
    for (const Word& word : m_words) {
        if (!word.isCommand() && word.name.starts_with(prefix)) found.push_back(&word);
    }
    return found;
}

}  // namespace vek
