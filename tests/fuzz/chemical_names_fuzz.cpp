// chemicals.txt: 256 length-prefixed names; a file that ends early is refused.
#include "generators/object_assistant.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

namespace {

Bytes chemicalsFile(std::size_t records, std::string_view name) {
    Bytes bytes;
    for (std::size_t i = 0; i < records; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(name.size()));
        bytes.push_back(0);
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    return bytes;
}

}  // namespace

std::vector<Bytes> seeds() {
    Bytes tooLong = chemicalsFile(3, "ATP");
    tooLong.insert(tooLong.end(), {0xFF, 0xFF, 'x'});
    return {chemicalsFile(kChemicalCount, "Glyc\xE9n"), chemicalsFile(kChemicalCount, ""),
            chemicalsFile(10, "Alcohol"), tooLong};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    ChemicalNames names;
    readChemicalNames(input, names);
    // Every record takes at least its two length bytes.
    expectSame(input.size() >= 2 * kChemicalCount, "a short chemicals.txt read whole");
}

}  // namespace vek::fuzz
