// Setting a string in a Wine registry file: the result reads back the value set, and setting it
// again changes nothing. The input is a section pick, the lengths of name and value, the name,
// the value, then the registry text.
#include <algorithm>

#include "app/file_lookup.h"
#include "app/wine_registry.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf(std::string("\0\x0e\x03Main DirectoryC:\\", 20) +
                    "WINE REGISTRY Version 2\n\n[Software\\\\Vek] 1234\n#time=1d2\n"
                    "\"Main Directory\"=\"D:\\\\\"\n\n[Other]\n@=\"x\"\n"),
            bytesOf(std::string("\x01\x03\x02Zeda\"") +
                    "WINE REGISTRY Version 2\r\n[A]\r\n\"b\"=hex:00,\\\r\n  01\r\n[B]\r\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    if (input.size() < 3) return;
    std::string_view rest = asText(input.subspan(3));
    const std::string_view name = rest.substr(0, std::min<std::size_t>(input[1], rest.size()));
    rest.remove_prefix(name.size());
    const std::string_view value = rest.substr(0, std::min<std::size_t>(input[2], rest.size()));
    rest.remove_prefix(value.size());
    const WineRegistryText before = parseWineRegistry(rest);
    const std::string key =
        before.sections.empty() ? "" : before.sections[input[0] % before.sections.size()].key;

    const std::optional<std::string> result = setWineRegistryString(rest, key, name, value);
    if (!result) return;
    const WineRegistryText after = parseWineRegistry(*result);
    expectSame(after.hasHeader && !after.badLine && !after.truncated, "registry stays whole");
    const WineRegistrySection* section = findWineRegistrySection(after, key);
    expectSame(section != nullptr, "key still there");
    // The last value of that name counts, as for the game's paths.
    std::optional<std::string> readBack;
    for (const WineRegistryValue& candidate : section->values)
        if (equalsIgnoringCase(candidate.name, name)) readBack = candidate.text;
    expectSame(readBack == value, "value set reads back");
    expectSame(setWineRegistryString(*result, key, name, value) == result, "set twice the same");
}

}  // namespace vek::fuzz
