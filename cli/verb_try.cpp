#include <ostream>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/file_lookup.h"
#include "cli/verbs.h"
#include "demo/demo_installation.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
#include "vivarium/sprite_shelf.h"
#include "vivarium/try_run.h"

namespace vek::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: vek try OBJECT.cob|SOURCE.cos... [--ticks N] [--activate1 T] [--activate2 T]\n"
    "               [--pickup T] [--drop T] [--random-seed S] [--trace] [--game-dir DIR]\n"
    "Runs objects without the game, in a fresh stand-in world with the installation's sprite\n"
    "files (the demo's where no game is known): injects each as the object compiler does\n"
    "(its scripts, then its installation routine) and runs N ticks (default 100; a tick is\n"
    "1/10 s of game time) as fast as they go. --activate1, --activate2, --pickup and --drop\n"
    "send that event at the start of tick T to every object of the run; each may be given\n"
    "more than once. rndv draws from the seed S (default 1): the same run prints the same.\n"
    "A fault that would crash or freeze the game is printed as FILE:LINE:COLUMN: error: text\n"
    "(in an object file, line N is its N-th script or installation routine, scripts first);\n"
    "it stops that script, not the run. --trace prints, as it happens, one line a sound,\n"
    "message, stimulus and word the stand-in does not model, and after each tick one line\n"
    "an object: tick N FAMILY GENUS SPECIES #OBJECT X Y pose P.\n"
    "Exits with 1 when a fault happened.\n";

std::vector<vivarium::SentMacro> injectionOf(const std::string& name) {
    const std::filesystem::path path = pathFromUtf8(name);
    if (equalsIgnoringCase(pathToUtf8(path.extension()), ".cob"))
        return vivarium::injectionOfCob(readCobFile(path), name);
    std::vector<std::string> lines = readSourceFile(path);
    for (std::string& line : lines) line = ansiToUtf8(line);
    return vivarium::injectionOfSource(lines, name);
}

// The image directory of the installation, else of the demo (made when it is not there yet).
std::filesystem::path imageDirectory(Invocation& invocation, const ArgumentList& args) {
    if (const auto gameDir = args.option("--game-dir"))
        invocation.gamePathSources.gameDirOption = pathFromUtf8(*gameDir);
    const std::string& images = invocation.gamePaths().CImagePath;
    std::error_code error;
    if (!images.empty() && std::filesystem::is_directory(pathFromUtf8(images), error))
        return pathFromUtf8(images);
    const demo::DemoLayout demo{demo::defaultDemoRoot()};
    demo::ensureDemoInstallation(demo);
    return pathFromUtf8(gamePathsUnder(demo.gameDirectory()).CImagePath);
}

int runTry(Invocation& invocation) {
    const ArgumentList args(invocation.args,
                            {"--ticks", "--activate1", "--activate2", "--pickup", "--drop",
                             "--random-seed", "--game-dir"},
                            {"--trace"});
    args.expectPositional(1, SIZE_MAX);
    vivarium::TryOptions options;
    if (const auto ticks = args.option("--ticks"))
        options.ticks = parseIntArgument(*ticks, "--ticks");
    if (options.ticks < 0) throw UsageError{"--ticks must not be negative"};
    constexpr std::pair<std::string_view, int> kEvents[] = {
        {"--activate1", vivarium::kEventActivate1},
        {"--activate2", vivarium::kEventActivate2},
        {"--pickup", vivarium::kEventPickup},
        {"--drop", vivarium::kEventDrop}};
    for (const auto& [option, event] : kEvents) {
        for (const std::string& tick : args.options(option)) {
            const int at = parseIntArgument(tick, option);
            if (at < 1) throw UsageError{std::string(option) + " must name a tick from 1 on"};
            options.events.push_back({at, event});
        }
    }
    if (const auto seed = args.option("--random-seed"))
        options.seed = static_cast<std::uint32_t>(parseIntArgument(*seed, "--random-seed"));
    options.trace = args.flag("--trace");

    std::vector<std::vector<vivarium::SentMacro>> objects;
    for (const std::string& name : args.positional()) objects.push_back(injectionOf(name));
    vivarium::SpriteShelf sprites(imageDirectory(invocation, args));
    const bool faulted =
        vivarium::tryObjects(objects, sprites.lookup(), options, invocation.lines());
    return faulted ? kFailed : kSuccess;
}

}  // namespace

Verb tryVerb() {
    return {"try", "run objects in the stand-in world and report what would crash the game", kUsage,
            runTry};
}

}  // namespace vek::cli
