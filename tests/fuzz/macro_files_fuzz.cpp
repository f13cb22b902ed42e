// Macro files: insertion into a source (first line the file's name, the rest its lines), the
// enumeration answer of extraction, and a script cut into file lines and joined again.
#include <algorithm>

#include "app/file_io.h"
#include "gamelink/macro_extraction.h"
#include "objects/macro_insertion.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf("02050301.MAC\n\"inst\nsnde drip\nendm\"\n"), bytesOf("ab050301.MAC\nx\n"),
            bytesOf("2|13|1|2|5|3|2|13|1|007|1|2|9|")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const std::string_view text = asText(input);
    const std::vector<std::string_view> lines = splitLines(text);
    if (!lines.empty()) {
        const std::vector<std::string> fileLines(lines.begin() + 1, lines.end());
        try {
            macroInsertionLines(lines.front(), fileLines);
        } catch (const VekError&) {
            // A name that is no class: refused, and the other readers still get the input.
        }
    }
    const std::vector<std::string> cut = macroFileLines(text);
    std::string joined;
    for (const std::string& line : cut) joined += (joined.empty() ? "" : ",") + line;
    expectSame(joined == "\"" + std::string(text) + "\"", "script cut into lines");
    for (const ClassKey& key : parseClassKeys(text).keys)
        expectSame(macroFileName(key.family, key.genus, key.species, 72).size() == 12,
                   "eight digits and .MAC");
}

}  // namespace vek::fuzz
