#include "app/text_search.h"

namespace vek {

namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A byte of a word: ASCII letters, digits, the underscore, and every byte of a character
// beyond ASCII (an umlaut in a comment is part of its word).
bool isWordByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
           (byte >= 'A' && byte <= 'Z') || byte == '_';
}

bool sameText(std::string_view a, std::string_view b, bool matchCase) {
    if (matchCase) return a == b;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i])) return false;
    return true;
}

}  // namespace

bool matchesAt(std::string_view text, std::size_t offset, std::string_view wanted,
               SearchOptions options) {
    if (wanted.empty() || offset > text.size() || text.size() - offset < wanted.size())
        return false;
    if (!sameText(text.substr(offset, wanted.size()), wanted, options.matchCase)) return false;
    if (!options.wholeWord) return true;
    const std::size_t end = offset + wanted.size();
    return (offset == 0 || !isWordByte(text[offset - 1])) &&
           (end == text.size() || !isWordByte(text[end]));
}

std::vector<TextMatch> findAll(std::string_view text, std::string_view wanted,
                               SearchOptions options) {
    std::vector<TextMatch> found;
    if (wanted.empty()) return found;
    for (std::size_t at = 0; at + wanted.size() <= text.size();) {
        if (matchesAt(text, at, wanted, options)) {
            found.push_back({at, wanted.size()});
            at += wanted.size();
        } else {
            ++at;
        }
    }
    return found;
}

std::optional<TextMatch> findNext(std::string_view text, std::string_view wanted,
                                  SearchOptions options, std::size_t from, bool backwards) {
    const std::vector<TextMatch> all = findAll(text, wanted, options);
    if (all.empty()) return std::nullopt;
    if (backwards) {
        for (auto match = all.rbegin(); match != all.rend(); ++match)
            if (match->offset + match->length <= from) return *match;
        return all.back();
    }
    for (const TextMatch& match : all)
        if (match.offset >= from) return match;
    return all.front();
}

Replacement replaceAll(std::string_view text, std::string_view wanted, std::string_view replacement,
                       SearchOptions options) {
    Replacement out;
    std::size_t copied = 0;
    for (const TextMatch& match : findAll(text, wanted, options)) {
        out.text.append(text.substr(copied, match.offset - copied));
        out.text.append(replacement);
        copied = match.offset + match.length;
        ++out.count;
    }
    out.text.append(text.substr(copied));
    return out;
}

}  // namespace vek
