#pragma once

#include <initializer_list>
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

inline BilingualText textOf(const Bilingual& message) {
    return {std::string(message.english), std::string(message.german)};
}

// A text that reads the same in both languages: a number, a name, a quoted word.
inline BilingualText untranslated(std::string text) { return {text, text}; }

// The message in both languages with %1, %2, ... (up to %9) replaced by the parts in that order;
// a part is put in as it is, so a % in it is never replaced again.
BilingualText fill(const Bilingual& message, std::initializer_list<std::string_view> parts);
// The same with parts that are themselves in both languages, each put into its own language.
BilingualText fill(const Bilingual& message, std::initializer_list<BilingualText> parts);

// How the bytes of a text are to be read: the program's own UTF-8, or the game's code page 1252
// (text straight off the link), whose bytes 0x80 to 0x9F are mostly printable characters.
enum class TextEncoding { Utf8, Windows1252 };

// The text as a terminal line or a box may show it, so that a name or a token from a file can
// never steer the terminal, reorder what is shown or garble a box: every control character but
// the line break and the tab shown escaped (C0 and DEL as "\x1b", NUL as "\0"; the C1 controls
// U+0080 to U+009F and the bidirectional controls such as U+202E as "\u202e"), and every byte
// that is not part of a character as "\x9b". Code page 1252 text comes out as UTF-8.
std::string escapeControlCharacters(std::string_view text,
                                    TextEncoding encoding = TextEncoding::Utf8);

// A word from a file as a message quotes it: at most kMaxQuotedCharacters characters (counted in
// UTF-8), then "..." when it was longer, so that one huge token never floods a message.
inline constexpr std::size_t kMaxQuotedCharacters = 60;
std::string shortenedToken(std::string_view token);
// The shortened token in double quotes, as a finding names a word.
std::string quotedToken(std::string_view token);

// A message box's text and caption, both bilingual.
struct BilingualBox {
    Bilingual text;
    Bilingual caption;
};

}  // namespace vek
