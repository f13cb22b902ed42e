// The hand-over message: bytes read in three pieces as they may arrive; a complete message is
// encoded again and must give the same bytes.
#include <string>

#include "app/hand_over_message.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf(encodeHandOver({"/home/a/ball.spr", "/tmp/x\ny.cob"})),
            bytesOf(encodeHandOver({})), bytesOf(std::string("rel\0\0", 5))};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const std::string_view bytes = asText(input);
    HandOverReader reader;
    const std::size_t third = bytes.size() / 3;
    reader.append(bytes.substr(0, third));
    reader.append(bytes.substr(third, third));
    reader.append(bytes.substr(2 * third));
    if (reader.state() != HandOverReader::State::Complete) return;
    expectSame(encodeHandOver(reader.files()) == bytes, "message encoded again");
}

}  // namespace vek::fuzz
