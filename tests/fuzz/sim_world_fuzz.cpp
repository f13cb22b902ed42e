// The stand-in game's interpreter: each line of the input is one macro run in the same world.
#include "app/file_io.h"
#include "gamesim/sim_world.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf("inst,new: simp ball 3 0 1000 0,setv cls2 2 5 3,endm\n"
                    "scrp 2 5 3 1,snde drip,endm\n"
                    "inst,enum 0 0 0,dde: putv fmly,dde: putv gnus,next,endm\n"
                    "inst,dde: scrp 2 5 3 1,endm\n"),
            bytesOf("inst,targ norn,mvto 100 200,kill targ,sys: wtop,endm\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    sim::World world;
    for (const std::string_view macro : splitLines(asText(input))) world.run(macro);
}

}  // namespace vek::fuzz
