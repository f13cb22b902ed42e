// The objed.dta import: a catalogue imported is saved as classes.vek and reads back the same.
#include "generators/class_catalogue.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf("2,\"Objekte\",1\r\n5,\"Spielzeug\",2\r\n3,\"Ball\",3\r\n6,\"Essen\",2\r\n"
                    "3,\"Kreaturen\",1\r\n"),
            bytesOf("1,\"\xC4pfel\",1\n2,\"\",2\n"), bytesOf("1,\"x\",2\n"),
            bytesOf("7,\"level\",4\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const ClassCatalogue catalogue = importObjed(asText(input));
    const std::filesystem::path file = inputFile({}, "classes.vek");
    catalogue.writeFile(file);
    ClassCatalogue again;
    again.readFile(file);
    expectSame(again.families() == catalogue.families(), "imported catalogue saved and read");
}

}  // namespace vek::fuzz
