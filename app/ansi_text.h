#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vek {

// The game's files hold text in the Windows ANSI code page (1252), one byte a character; the
// program keeps text as UTF-8. These convert at the file boundary.

// Every byte has a character, so reading never fails.
std::string ansiToUtf8(std::string_view ansi);
// A character that code page 1252 cannot hold becomes '?'; malformed UTF-8 bytes do too.
std::string utf8ToAnsi(std::string_view utf8);
// Whether code page 1252 has the character, so that the game can show it.
bool codePage1252Holds(char32_t codePoint);
// Whether UTF-8 text goes through code page 1252 unchanged: every character held, no bad bytes.
bool codePage1252HoldsAll(std::string_view utf8);

// Decodes the UTF-8 sequence at `at` and moves past it. A malformed or cut-off sequence gives
// its first byte with `valid` false and moves one byte on.
char32_t nextCodePoint(std::string_view text, std::size_t& at, bool& valid);

// How many bytes at the end of `text` begin a UTF-8 character that the text cuts off (0 to 3).
std::size_t incompleteUtf8Tail(std::string_view text);

// The characters of UTF-8 text, as a user sees them.
int characterCount(std::string_view text);
// Where the character at `characters` (counted from 0) begins: a byte offset, at most the size.
std::size_t byteOffsetOfCharacter(std::string_view text, int characters);

}  // namespace vek
