#include "language/later_generation.h"

#include <algorithm>

#include "app/text_names.h"
#include "language/reading.h"

namespace vek {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isUnknownWord(const Finding& finding) {
    return finding.code == FindingCode::UnknownCommand || finding.code == FindingCode::UnknownValue;
}

// How many words the finding names before it ends in "...".
constexpr std::size_t kWordsNamed = 5;

}  // namespace

bool isLaterGenerationWord(std::string_view word) {
    const std::string lower = lowered(word);
    if (lower == "perm" || lower == "game") return true;
    if (lower.size() != 4) return false;
    const std::string_view prefix = std::string_view(lower).substr(0, 2);
    if ((prefix == "ov" || prefix == "va" || prefix == "mv") && isDigit(lower[2]) &&
        isDigit(lower[3]))
        return true;
    return lower.starts_with("obv") && lower[3] >= '3' && lower[3] <= '9';
}

void gatherLaterGenerationWords(std::vector<Finding>& findings) {
    std::vector<std::string> words;
    const Finding* first = nullptr;
    for (const Finding& finding : findings) {
        if (!isUnknownWord(finding) || !isLaterGenerationWord(finding.subject)) continue;
        if (!first) first = &finding;
        const std::string word = lowered(finding.subject);
        if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
    }
    if (words.size() < kLaterGenerationWordsForOneFinding) return;
    std::string named;
    for (std::size_t i = 0; i < std::min(words.size(), kWordsNamed); ++i)
        named.append(i == 0 ? "" : ", ").append(words[i]);
    if (words.size() > kWordsNamed) named.append(", ...");
    Finding gathered = *first;
    gathered.severity = Severity::Error;
    gathered.code = FindingCode::LaterGenerationSource;
    gathered.text = fill(Msg::FindingLaterGenerationSource, {std::to_string(words.size()), named});
    std::erase_if(findings, [](const Finding& finding) {
        return isUnknownWord(finding) && isLaterGenerationWord(finding.subject);
    });
    const auto place = std::find_if(findings.begin(), findings.end(), [&](const Finding& finding) {
        return gathered.position < finding.position;
    });
    findings.insert(place, std::move(gathered));
}

}  // namespace vek
