// Map files: any text is read as the rooms and ground of a world, or refused with a VekError;
// a map that was read is written and read again to the same map.
#include "app/vek_error.h"
#include "tests/fuzz/fuzz_support.h"
#include "vivarium/map_file.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf("* room NUMBER LEFT TOP RIGHT BOTTOM TYPE; ground POINT HEIGHT\n"
                    "room 0 0 0 320 240 1\nroom 1 320 0 640 240 2\nground 0 200\nground 3 -4\n"),
            bytesOf("room 1 2 3\r\nground 8191 5\r\nground 8192 5\r\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    vivarium::Map map;
    try {
        map = vivarium::parseMapText(asText(input), "fuzz.txt");
    } catch (const VekError&) {
        return;
    }
    const std::string written = vivarium::mapFileText(map);
    expectSame(vivarium::mapFileText(vivarium::parseMapText(written, "again.txt")) == written,
               "a map written and read again");
}

}  // namespace vek::fuzz
