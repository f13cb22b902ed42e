#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// The text of a Wine registry file (system.reg, user.reg) as sections of values, with the byte
// ranges each one covers, so that one value can be changed and every other byte kept.
struct WineRegistryValue {
    std::string name;                 // unescaped; empty for the default value "@"
    std::optional<std::string> text;  // the data of a plain string value, unescaped
    std::size_t begin = 0;            // the value's first byte
    std::size_t end = 0;              // past the line break of its last line
};

struct WineRegistrySection {
    std::string key;  // unescaped, without the root
    std::vector<WineRegistryValue> values;
    std::size_t end = 0;  // past the line break of the section's last line that is not empty
};

struct WineRegistryText {
    std::vector<WineRegistrySection> sections;
    bool hasHeader = false;              // begins with "WINE REGISTRY Version "
    std::optional<std::size_t> badLine;  // the first line that is no registry text (from 1)
    bool truncated = false;              // ends inside a value or without a line break
    std::string_view lineBreak = "\n";   // the file's own: "\n" or "\r\n"
};

// Reads every line it understands; what it does not understand is noted, not thrown.
WineRegistryText parseWineRegistry(std::string_view text);

// The section of that key, compared without case.
const WineRegistrySection* findWineRegistrySection(const WineRegistryText& registry,
                                                   std::string_view keyPath);

// The text with the string value `valueName` of the key set to `value` (replacing its line, or
// added as the section's last line); every other byte stays. Nothing when the key is not there.
// Throws VekError for a text that is not a whole, readable registry file, and for a name or value
// that holds a line break.
std::optional<std::string> setWineRegistryString(std::string_view text, std::string_view keyPath,
                                                 std::string_view valueName,
                                                 std::string_view value);

}  // namespace vek
