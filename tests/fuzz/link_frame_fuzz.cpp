// The link's frames: bytes cut into frames (arriving in two pieces), each frame encoded again
// and read back the same.
#include "gamelink/link_frame.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    const std::string poke =
        encodeFrame({FrameKind::Poke, "VEK.EXE", "Macro", std::string("inst,endm\0", 10)});
    const std::string data = encodeFrame({FrameKind::Data, "VEK.EXE", "Macro", "2|5|3|"});
    return {bytesOf(poke + data), bytesOf(encodeFrame({FrameKind::Connect, "t", {}, {}}))};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const std::string_view bytes = asText(input);
    FrameReader reader(1 << 16);
    reader.append(bytes.substr(0, bytes.size() / 2));
    reader.append(bytes.substr(bytes.size() / 2));
    while (const auto frame = reader.next()) {
        FrameReader again(1 << 16);
        again.append(encodeFrame(*frame));
        expectSame(again.next() == frame && !again.holdsPartialFrame(), "frame encoded again");
    }
}

}  // namespace vek::fuzz
