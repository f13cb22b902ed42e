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

// The characters of UTF-8 text, as a user sees them.
int characterCount(std::string_view text);
// Where the character at `characters` (counted from 0) begins: a byte offset, at most the size.
std::size_t byteOffsetOfCharacter(std::string_view text, int characters);

}  // namespace vek
