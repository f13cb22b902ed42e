// World files: the input is read as a world file and each of its macros runs in a world, which
// then ticks with events for every object. The world saved from that must load into a fresh
// world without a refused line, and that world must save the same file again.
#include "app/macro_outcome.h"
#include "tests/fuzz/fuzz_support.h"
#include "vivarium/world_file.h"

namespace vek::fuzz {

namespace {

vivarium::World makeWorld(const vivarium::SpriteSizes& sizes) {
    return vivarium::World([&sizes](std::string_view name) -> const vivarium::SpriteSizes* {
        return name == "ball" ? &sizes : nullptr;
    });
}

// Runs a macro as the link would answer it: "Error: ..." after a fault.
std::string answerOf(vivarium::World& world, const MacroText& macro) {
    std::string fault;
    world.setObserver([&fault](const vivarium::Happening& happening) {
        if (happening.kind == vivarium::HappeningKind::Fault && fault.empty())
            fault = std::string(MacroOutcome::kGameErrorPrefix) + happening.fault.english;
    });
    std::string answer = world.runMacro(macro, nullptr);
    world.setObserver({});
    return fault.empty() ? answer : fault;
}

}  // namespace

std::vector<Bytes> seeds() {
    return {bytesOf("* a world\n"
                    "scrp 2 5 3 1,anim [012R],wait 2,setv obv0 5,endm\n"
                    "scrp 2 5 3 9,addv obv1 1,base 1,endm\n"
                    "inst,new: simp ball 3 0 1000 0,setv clas 33882880,tick 2,endm\n"
                    "inst,new: simp ball 3 0 1000 0,kill targ,endm\n"
                    "inst,new: simp ball 3 0 1000 0,setv clas 33882880,mvto 4 5,pose 2,edit,endm\n"
                    "inst,new: comp lamp 1 0 0,setv attr 7,bhvr 1 2,endm\n"),
            bytesOf("inst,new: simp ball 3 0 10 0,base -1,anim [123R],base 2,endm\n"
                    "inst,reps 3,new: simp none 0 0 0 0,kill targ,repe,endm\r\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    vivarium::SpriteSizes sizes;
    sizes.sizes.assign(3, {16, 8});
    vivarium::World world = makeWorld(sizes);
    for (const vivarium::WorldFileMacro& macro : vivarium::worldFileMacros(asText(input)))
        world.runMacro(macro.macro, nullptr);
    for (int tick = 1; tick <= 8; ++tick) {
        for (const vivarium::Object& object : world.objects()) world.sendEvent(object.id, tick % 3);
        world.tick();
    }
    const std::string saved = vivarium::worldFileText(world);
    vivarium::World loaded = makeWorld(sizes);
    bool refused = false;
    for (const vivarium::WorldFileMacro& macro : vivarium::worldFileMacros(saved)) {
        refused =
            refused || answerOf(loaded, macro.macro).starts_with(MacroOutcome::kGameErrorPrefix);
    }
    expectSame(!refused, "every line of a saved world loads");
    expectSame(vivarium::worldFileText(loaded) == saved, "a loaded world saved again");
}

}  // namespace vek::fuzz
