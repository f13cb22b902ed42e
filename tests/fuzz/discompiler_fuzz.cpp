// The discompiler over any object file that reads.
#include "objects/cob_data.h"
#include "objects/discompiler.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,doif a,b,else,c,endi,endm", "SCRP 1 1 1 1,endm", "",
                   "scrp 1 2 3 x9,endm"};
    cob.imports = {"inst,enum 2 0 0,reps 3,next,repe,endm"};
    return {encodeCob(cob)};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const CobData cob = decodeCob(input);
    discompile(cob, fieldsOf(cob), "fuzz.cob");
    countDroppedByCompiling(cob);
}

}  // namespace vek::fuzz
