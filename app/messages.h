#pragma once

#include <string>
#include <string_view>

namespace vek {

inline constexpr std::string_view kLanguageEnglish = "english";
inline constexpr std::string_view kLanguageGerman = "deutsch";

// A message in both interface languages; which one is shown is decided when it is shown.
struct Bilingual {
    std::string_view english;
    std::string_view german;

    // German for "deutsch"; English for "english" and for any other stored value.
    std::string_view in(std::string_view language) const {
        return language == kLanguageGerman ? german : english;
    }
};

// The same for texts made at run time.
struct BilingualText {
    std::string english;
    std::string german;

    std::string_view in(std::string_view language) const {
        return language == kLanguageGerman ? german : english;
    }
};

// A message box's text and caption, both bilingual.
struct BilingualBox {
    Bilingual text;
    Bilingual caption;
};

}  // namespace vek
