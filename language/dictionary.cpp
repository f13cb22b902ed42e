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

// One part of a name: one to four characters, none of them a capital or a separator.
bool wellFormedPart(std::string_view part) {
    return !part.empty() && part.size() <= 4 && std::none_of(part.begin(), part.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || c == '\t' || c == ',' || c == '[' || c == '|';
    });
}

// A word's name: lower case, at most two parts, one blank between.
bool wellFormedName(std::string_view name) {
    const auto parts = splitAt(name, ' ');
    return parts.size() <= 2 && std::all_of(parts.begin(), parts.end(), wellFormedPart);
}

// The words of a Choice argument ("cnam|ctim"): at least two, each a name's part.
std::vector<std::string> choiceWords(std::string_view written, int lineNumber) {
    const auto parts = splitAt(written, '|');
    if (parts.size() < 2 || !std::all_of(parts.begin(), parts.end(), wellFormedPart))
        badField(lineNumber, Msg::DictionaryFieldArgumentKind, written);
    return std::vector<std::string>(parts.begin(), parts.end());
}

void decodeArgument(Word& word, std::string_view written, int lineNumber) {
    if (written.find('|') != std::string_view::npos) {
        word.choices.resize(word.arguments.size());
        word.choices.push_back(choiceWords(written, lineNumber));
        word.arguments.push_back(ArgumentKind::Choice);
        return;
    }
    const auto argument =
        std::find_if(std::begin(kArgumentKinds), std::end(kArgumentKinds),
                     [&](const KindName& entry) { return entry.name == written; });
    if (argument == std::end(kArgumentKinds))
        badField(lineNumber, Msg::DictionaryFieldArgumentKind, written);
    word.arguments.push_back(argument->kind);
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
        for (std::string_view written : splitAt(fields[2], ' '))
            decodeArgument(word, written, lineNumber);
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

std::span<const std::string> Word::choicesOf(std::size_t index) const {
    if (index >= choices.size()) return {};
    return choices[index];
}

std::string_view argumentKindName(ArgumentKind kind, std::string_view language) {
    if (kind == ArgumentKind::Choice) return Msg::ArgumentKindChoice.in(language);
    for (const KindName& entry : kArgumentKinds) {
        if (entry.kind == kind) return entry.shown.in(language);
    }
    return {};
}

std::string argumentName(const Word& word, std::size_t index, std::string_view language) {
    const std::span<const std::string> choices = word.choicesOf(index);
    if (choices.empty()) return std::string(argumentKindName(word.arguments[index], language));
    std::string name;
    for (const std::string& choice : choices) {
        if (!name.empty()) name += '|';
        name += choice;
    }
    return name;
}

std::string signatureOf(const Word& word, std::string_view language) {
    std::string signature = word.name;
    for (std::size_t k = 0; k < word.arguments.size(); ++k) {
        signature += ' ';
        signature += argumentName(word, k, language);
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
