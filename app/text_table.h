#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// The interface text table: for each tag an English and a German caption and hint, found by
// identifier (tag, tag + 1000, tag + 2000, tag + 3000). A missing text is empty.
class TextTable {
  public:
    static constexpr int kGermanOffset = 1000;
    static constexpr int kHintOffset = 2000;
    static constexpr std::size_t kMaxTextLength = 255;

    // The table compiled into the program.
    static const TextTable& builtIn();

    // Decodes the table's tab-separated form: tag, English caption, German caption, English hint,
    // German hint; '#' starts a comment line. Throws on a malformed line.
    static TextTable decode(std::string_view text);

    std::string text(int identifier) const;
    std::string caption(int tag, int languageOffset) const { return text(tag + languageOffset); }
    std::string hint(int tag, int languageOffset) const {
        return text(tag + kHintOffset + languageOffset);
    }

    std::vector<int> tags() const;

  private:
    std::map<int, std::string> m_texts;
};

// 0 for English, 1000 for German.
int languageOffset(std::string_view language);

}  // namespace vek
