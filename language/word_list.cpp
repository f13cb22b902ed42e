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

// Pages are built by appends: GCC 12 at -O3 warns falsely on long concatenations of temporaries.
std::string wordListPage(const Dictionary& dictionary, std::string_view language) {
    const BilingualText titleText = textOf(Msg::WordListTitle);
    const std::string_view title = titleText.in(language);
    std::string page = "<!DOCTYPE html>\n<html lang=\"";
    page.append(language == kLanguageGerman ? "de" : "en")
        .append("\">\n<head><meta charset=\"utf-8\">");
    page.append("<title>").append(title).append(
        "</title></head>\n<body>\n<p><a href=\"index.html\">");
    page.append(textOf(Msg::WordListContents).in(language)).append("</a></p>\n<h1>");
    page.append(title).append("</h1>\n<p>");
    page.append(escapedHtml(textOf(Msg::WordListIntroduction).in(language))).append("</p>\n");
    for (const KindHeading& heading : kHeadings) {
        const std::vector<const Word*> words = wordsOfKind(dictionary, heading.kind);
        if (words.empty()) continue;
        page.append("<h2>").append(escapedHtml(textOf(heading.title).in(language)));
        page.append("</h2>\n<dl>\n");
        for (const Word* word : words) {
            const std::string name = escapedHtml(word->name);
            page.append("<dt id=\"").append(name).append("\"><code>").append(name);
            page.append("</code></dt>\n<dd>").append(escapedHtml(wordEntry(*word, language)));
            page.append("</dd>\n");
        }
        page.append("</dl>\n");
    }
    return page.append("</body>\n</html>\n");
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
