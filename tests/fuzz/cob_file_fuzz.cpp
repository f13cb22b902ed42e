// The object file (.COB): read, written, read back the same.
#include "objects/cob_data.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    CobData full;
    full.quantity = 3;
    full.scripts = {"scrp 2 5 3 1,snde drip,endm", std::string(300, 'x')};
    full.imports = {"inst,new: simp ball 3 0 1000 0,endm"};
    full.pictureWidth = full.pictureWidthCopy = 2;
    full.pictureHeight = 1;
    full.picturePixels = {4, 5};
    full.name = "Ball";
    return {encodeCob(full), encodeCob(CobData{}), bytesOf("cob2"), bytesOf("PRAY")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const CobData cob = decodeCob(input);
    expectSame(decodeCob(encodeCob(cob)) == cob, "object file written anew");
}

}  // namespace vek::fuzz
