#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"

namespace vek {

// The interface text table: for each tag a name, an English and a German caption and hint, found
// by identifier (tag, tag + 1000, tag + 2000, tag + 3000). A missing text is empty. The build
// turns the names into constants (Tag::OpenSpriteFile), so code never spells a tag's number.
class TextTable {
  public:
    static constexpr int kGermanOffset = 1000;
    static constexpr int kHintOffset = 2000;
    static constexpr std::size_t kMaxTextLength = 255;

    // The table compiled into the program.
    static const TextTable& builtIn();

    // Decodes the table's tab-separated form: tag, name, English caption, German caption, English
    // hint, German hint; a message row: "msg", name, English, German, where \n is a line break,
    // \s a blank and \\ a backslash; '#' starts a comment line.
    // Throws on a malformed line or a name that is not an identifier or is given twice.
    static TextTable decode(std::string_view text);

    std::string text(int identifier) const;
    std::string caption(int tag, int languageOffset) const { return text(tag + languageOffset); }
    std::string hint(int tag, int languageOffset) const {
        return text(tag + kHintOffset + languageOffset);
    }

    std::vector<int> tags() const;
    // The tag of that name; 0 for none.
    int tagNamed(std::string_view name) const;
    // The names of the message rows ("msg", name, English, German), which the build turns into
    // Msg::Name constants.
    std::vector<std::string> messageNames() const;
    // The texts of the message row of that name; nullptr for none.
    const BilingualText* message(std::string_view name) const;

  private:
    std::map<int, std::string> m_texts;
    std::map<std::string, int, std::less<>> m_tags;
    std::map<std::string, BilingualText, std::less<>> m_messages;
};

// 0 for English, 1000 for German.
int languageOffset(std::string_view language);

}  // namespace vek
