#include "language/word_list.h"

#include <algorithm>
#include <array>
#include <vector>

#include "app/text_names.h"

namespace vek {

namespace {

struct KindHeading {
    WordKind kind;
    Bilingual title;
};
constexpr std::array<KindHeading, 5> kHeadings = {{
    {WordKind::Command, Msg::WordListCommands},
    {WordKind::Integer, Msg::WordListIntegers},
    {WordKind::Float, Msg::WordListFloats},
    {WordKind::Agent, Msg::WordListAgents},
    {WordKind::Variable, Msg::WordListVariables},
}};

std::vector<const Word*> wordsOfKind(const Dictionary& dictionary, WordKind kind) {
    std::vector<const Word*> words;
    for (const Word& word : dictionary.words())
        if (word.kind == kind) words.push_back(&word);
    std::sort(words.begin(), words.end(),
              [](const Word* a, const Word* b) { return a->name < b->name; });
    return words;
}

std::string escapedHtml(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '\n')
            out += "<br>\n";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::string wordListPage(const Dictionary& dictionary, std::string_view language) {
    const bool german = language == kLanguageGerman;
    const std::string title(textOf(Msg::WordListTitle).in(language));
    std::string page = "<!DOCTYPE html>\n<html lang=\"" + std::string(german ? "de" : "en") +
                       "\">\n<head><meta charset=\"utf-8\"><title>" + title +
                       "</title></head>\n<body>\n<p><a href=\"index.html\">" +
                       std::string(textOf(Msg::WordListContents).in(language)) + "</a></p>\n<h1>" +
                       title + "</h1>\n<p>" +
                       escapedHtml(textOf(Msg::WordListIntroduction).in(language)) + "</p>\n";
    for (const KindHeading& heading : kHeadings) {
        const std::vector<const Word*> words = wordsOfKind(dictionary, heading.kind);
        if (words.empty()) continue;
        page += "<h2>" + escapedHtml(textOf(heading.title).in(language)) + "</h2>\n<dl>\n";
        for (const Word* word : words) {
            page += "<dt id=\"" + escapedHtml(word->name) + "\"><code>" + escapedHtml(word->name) +
                    "</code></dt>\n<dd>" + escapedHtml(wordEntry(*word, language)) + "</dd>\n";
        }
        page += "</dl>\n";
    }
    return page + "</body>\n</html>\n";
}

std::string wordListText(const Dictionary& dictionary, std::string_view language) {
    std::string text;
    for (const KindHeading& heading : kHeadings) {
        for (const Word* word : wordsOfKind(dictionary, heading.kind))
            text += signatureOf(*word, language) + '\n';
    }
    return text;
}

}  // namespace vek
