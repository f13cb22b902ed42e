#include "language/nearest_words.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>

#include "app/text_names.h"
#include "language/reading.h"

namespace vek {

namespace {

// The most letters a suggestion may differ by.
constexpr std::size_t kMostEdits = 2;

// Letters inserted, removed, changed or two neighbours swapped, each one edit.
std::size_t editDistance(std::string_view a, std::string_view b) {
    const std::size_t width = b.size() + 1;
    std::vector<std::size_t> before(width), previous(width), row(width);
    std::iota(previous.begin(), previous.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t changed = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + changed});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, row);
    }
    return previous[b.size()];
}

}  // namespace

std::vector<const Word*> nearestWords(std::string_view written, bool commands, std::size_t most,
                                      const Dictionary& dictionary) {
    const std::string lower = lowered(written);
    std::vector<std::pair<std::size_t, const Word*>> near;
    for (const Word& word : dictionary.words()) {
        if (word.isCommand() != commands || word.laterGeneration) continue;
        // Lengths further apart than the edits allowed cannot come near.
        const std::size_t apart = lower.size() > word.name.size() ? lower.size() - word.name.size()
                                                                  : word.name.size() - lower.size();
        if (apart > kMostEdits) continue;
        const std::size_t distance = editDistance(lower, word.name);
        if (distance > 0 && distance <= kMostEdits && distance < word.name.size())
            near.emplace_back(distance, &word);
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const Word*> words;
    for (std::size_t k = 0; k < near.size() && k < most; ++k) words.push_back(near[k].second);
    return words;
}

BilingualText quotedAlternatives(std::span<const std::string> texts) {
    BilingualText list;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const bool last = k + 1 == texts.size();
        if (k > 0) {
            list.english += last ? " or " : ", ";
            list.german += last ? " oder " : ", ";
        }
        const std::string text = quotedToken(texts[k]);
        list.english += text;
        list.german += text;
    }
    return list;
}

BilingualText didYouMean(BilingualText text, std::span<const Word* const> words) {
    if (words.empty()) return text;
    std::vector<std::string> names;
    for (const Word* word : words) names.push_back(word->name);
    return fill(Msg::FindingDidYouMean, {std::move(text), quotedAlternatives(names)});
}

}  // namespace vek
