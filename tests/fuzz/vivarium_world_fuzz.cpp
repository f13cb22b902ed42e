// The stand-in world: each line of the input is one macro run in the same world, as the link
// delivers them; then ticks run with events sent to every object. Whatever a macro holds, the
// world never crashes, and it gives the same happenings when run again from the start.
#include "app/file_io.h"
#include "tests/fuzz/fuzz_support.h"
#include "vivarium/trace.h"
#include "vivarium/world.h"

namespace vek::fuzz {

namespace {

std::string runOnce(std::string_view text) {
    vivarium::SpriteSizes sizes;
    sizes.sizes.assign(3, {16, 8});
    vivarium::World world([&](std::string_view name) -> const vivarium::SpriteSizes* {
        return name == "ball" ? &sizes : nullptr;
    });
    std::string trace;
    world.setObserver([&](const vivarium::Happening& happening) {
        trace += vivarium::happeningLine(happening) + "\n";
    });
    for (const std::string_view macro : splitLines(text)) {
        trace += world.runMacro(MacroText(macro), nullptr) + "\n";
    }
    for (int tick = 1; tick <= 12; ++tick) {
        for (const vivarium::Object& object : world.objects()) world.sendEvent(object.id, tick % 6);
        world.tick();
        for (const vivarium::Object& object : world.objects())
            trace += vivarium::stateLine(tick, object) + "\n";
    }
    return trace;
}

}  // namespace

std::vector<Bytes> seeds() {
    return {bytesOf("scrp 2 5 3 1,anim [012R],wait 2,mesg writ ownr 3,endm\n"
                    "scrp 2 5 3 3,rndv var0 -5 5,mvby var0 1,pose 2,over,endm\n"
                    "inst,new: simp ball 3 0 1000 0,setv clas 33882880,tick 2,endm\n"
                    "scrp 2 5 3 9,enum 0 0 0,doif targ ne ownr,kill targ,endi,next,endm\n"),
            bytesOf("inst,loop,gsub abcd,untl var0 gt 3,stop,subr abcd,addv var0 1,retn,endm\n"
                    "inst,setv var1 0,divv var0 var1,endm\n"
                    "inst,reps 70,gsub deep,repe,stop,subr deep,gsub deep,retn,endm\n"),
            bytesOf("inst,new: simp ball 9 0 10 0,anim [0129],pose 7,chem 3 4,stim writ norn 1 2 "
                    "3 4 5 6 7 8 9 10 11 12,dde: putv posx,dde: puts [x],endm\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const std::string_view text = asText(input);
    expectSame(runOnce(text) == runOnce(text), "a second run of the same macros");
}

}  // namespace vek::fuzz
