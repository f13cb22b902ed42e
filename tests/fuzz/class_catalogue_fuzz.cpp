// The class catalogue (classes.vek): the entries read before a refused line are written as a
// file and read back the same.
#include "app/vek_error.h"
#include "generators/class_catalogue.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf("2 {Objekte}\r\n\t2 5 {Spielzeug}\r\n\t\t2 5 3 {Ball}\r\n\t2 6 {Essen}\r\n"
                    "3 {Kreaturen}\r\n\x1A"),
            bytesOf("1 {Family}\n 1 2 {Genus \xE4}\n  1 2 3 {Species}\n\n\t\t\tdeep {x}\n"),
            bytesOf("4 {A}\r\nno brace\r\n5 {B}\r\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    ClassCatalogue catalogue;
    try {
        catalogue.read(asText(input));
    } catch (const VekError&) {
        // The entries before the refused line stay, and are what a save would write.
    }
    const std::filesystem::path file = inputFile({}, "classes.vek");
    catalogue.writeFile(file);
    ClassCatalogue again;
    again.readFile(file);
    expectSame(again.families() == catalogue.families(), "class catalogue written anew");
}

}  // namespace vek::fuzz
