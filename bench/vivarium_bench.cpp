#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "demo/demo_installation.h"
#include "objects/classifier.h"
#include "objects/cob_compiler.h"
#include "vivarium/sprite_shelf.h"
#include "vivarium/try_run.h"
#include "vivarium/world_file.h"

namespace {

// A timer script that runs 20 commands each time: arithmetic on object and script variables,
// a doif with else, a reps block, a move and a random number.
constexpr std::string_view kTimerScript =
    "scrp 2 10 1 9,addv obv0 1,setv var0 obv0,modv var0 2,doif var0 eq 0,pose 1,else,pose 0,"
    "endi,setv var1 posl,addv var1 1,mvto var1 100,reps 2,addv var2 3,repe,rndv var3 0 9,"
    "mulv var3 2,subv var3 1,doif var3 gt 100,stop,endi,setv var4 var3,endm";

// One tick of a world of `count` objects whose timers come every tick; with `inRooms` each is
// wallbound in one of ten rooms over a ground line, so that every move is limited by them; with
// `creature` a creature walks along the ground to hit the first object, sent back when it did.
void tickOfObjects(benchmark::State& state, bool inRooms, bool creature = false) {
    vek::vivarium::SpriteSizes sizes;
    sizes.sizes.assign(4, {32, 32});
    vek::vivarium::World world(
        [&](std::string_view) -> const vek::vivarium::SpriteSizes* { return &sizes; });
    if (inRooms) {
        vek::vivarium::Map map;
        for (int room = 0; room < 10; ++room)
            map.setRoom({room, room * 1000, 0, room * 1000 + 1000, 400, 1});
        for (int point = 0; point < 10000 / vek::vivarium::kGroundPointWidth; ++point)
            map.setGround(point, 380);
        world.setMap(std::move(map));
    }
    world.runMacro(vek::MacroText(kTimerScript), nullptr);
    const std::string clas = std::to_string(vek::Classifier{2, 10, 1}.classNumber());
    const std::string attributes = inRooms ? ",setv attr 64" : "";
    for (std::int64_t k = 0; k < state.range(0); ++k) {
        world.runMacro(vek::MacroText("inst,new: simp dogg 4 0 1000 0,setv clas " + clas +
                                      attributes + ",mvto " + std::to_string(k) + " 0,tick 1,endm"),
                       nullptr);
    }
    std::size_t commands = 0;
    world.setCommandHook([&](const vek::vivarium::Run&, const vek::vivarium::Instruction&) {
        ++commands;
        return true;
    });
    world.tick();
    const double perTick = static_cast<double>(commands);
    world.setCommandHook({});
    const int first = world.objects().front().id;
    for (auto _ : state) {
        if (creature && !world.creature().order) {
            world.placeCreature(9000, 0);
            world.orderCreature(vek::vivarium::CreatureAction::Hit, first);
        }
        world.tick();
        benchmark::DoNotOptimize(world.objects().front().x);
    }
    state.counters["commands"] = perTick;
}
void tickOfManyObjects(benchmark::State& state) { tickOfObjects(state, false); }
BENCHMARK(tickOfManyObjects)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
void tickOfManyObjectsInRooms(benchmark::State& state) { tickOfObjects(state, true); }
BENCHMARK(tickOfManyObjectsInRooms)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
void tickOfManyObjectsWithACreature(benchmark::State& state) { tickOfObjects(state, true, true); }
BENCHMARK(tickOfManyObjectsWithACreature)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// `vek try` of a demo object for 1,000 ticks, activated at tick 1: the injection with its check,
// and the run, without the start of the program.
// Loading a world file of N objects, where every other number is gone: the time grows with the
// lines (a pass over every object for each line made it grow with their square).
void loadWorldFile(benchmark::State& state) {
    std::string text;
    for (int k = 0; k < state.range(0); ++k) {
        text.append("inst,new: simp ball 4 0 10 0,mvto ")
            .append(std::to_string(k % 8000))
            .append(" 0,endm\n")
            .append("inst,reps 1,new: simp none 0 0 0 0,kill targ,repe,endm\n");
    }
    for (auto _ : state) {
        vek::vivarium::World world;
        vek::vivarium::runWorldText(text, "W.TXT", [&world](const vek::MacroText& macro) {
            world.runMacro(macro, nullptr);
            return std::optional<vek::BilingualText>();
        });
        benchmark::DoNotOptimize(world.objects().size());
    }
}
BENCHMARK(loadWorldFile)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

void tryDemoObject(benchmark::State& state, const char* name) {
    static const std::filesystem::path root = [] {
        const auto dir = std::filesystem::temp_directory_path() / "vek-vivarium-bench";
        vek::demo::ensureDemoInstallation(vek::demo::DemoLayout{dir});
        return dir;
    }();
    const auto game = vek::demo::DemoLayout{root}.gameDirectory();
    const std::vector<std::string> source = vek::readSourceFile(game / name);
    vek::vivarium::TryOptions options;
    options.ticks = 1000;
    options.events = {{1, vek::vivarium::kEventActivate1}};
    for (auto _ : state) {
        vek::vivarium::SpriteShelf sprites(game / "Images");
        const std::vector<std::vector<vek::vivarium::SentMacro>> objects = {
            vek::vivarium::injectionOfSource(source, name)};
        std::ostringstream out;
        benchmark::DoNotOptimize(
            vek::vivarium::tryObjects(objects, sprites.lookup(), options, out));
    }
}
BENCHMARK_CAPTURE(tryDemoObject, spinningTop, "SPTOP.COS")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(tryDemoObject, ball, "BALL.COS")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(tryDemoObject, heater, "HEATER.COS")->Unit(benchmark::kMillisecond);

}  // namespace
