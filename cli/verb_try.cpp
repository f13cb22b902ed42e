#include <ostream>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "cli/verbs.h"
#include "demo/stand_in_images.h"
#include "vivarium/installation.h"
#include "vivarium/try_run.h"

namespace vek::cli {

namespace {

constexpr std::string_view kTryUsage =
    "usage: vek try OBJECT.cob|SOURCE.cos... [--ticks N] [--activate1 T] [--activate2 T]\n"
    "               [--pickup T] [--drop T] [--random-seed S] [--trace] [--game-dir DIR]\n"
    "Runs objects without the game, in a fresh stand-in world with the installation's sprite\n"
    "files (the demo's where no game is known): injects each as the object compiler does,\n"
    "but with every installation routine (its scripts, then its routines in order), and\n"
    "runs N ticks (default 100; a tick is 1/10 s of game time) as fast as they go.\n"
    "--activate1, --activate2, --pickup and --drop send that event at the start of tick T\n"
    "to every object of the run; each may be given more than once. rndv draws from the seed\n"
    "S (default 1): the same run prints the same.\n"
    "A fault that would crash or freeze the game is printed as FILE:LINE:COLUMN: error: text\n"
    "(in an object file, line N is its N-th script or installation routine, scripts first);\n"
    "it stops that script, not the run. A tick that does more than the game could (commands,\n"
    "objects or events past their bounds) would freeze the game: the run ends with it.\n"
    "--trace prints, as it happens, one line a sound, message, stimulus and word the\n"
    "stand-in does not model, and after each tick one line an object:\n"
    "tick N FAMILY GENUS SPECIES #OBJECT X Y pose P.\n"
    "Exits with 1 when a fault happened or a file holds nothing to run.\n";

std::vector<vivarium::SentMacro> runnableInjectionOf(const std::string& name) {
    std::vector<vivarium::SentMacro> sent =
        vivarium::injectionOfFile(pathFromUtf8(name), name, vivarium::Routines::Every);
    if (vivarium::sendsNothing(sent)) throw VekError(fill(Msg::TryNothingToRun, {name}));
    return sent;
}

// The image directory of the installation, else of the demo (made when it is not there yet).
std::filesystem::path imageDirectory(Invocation& invocation, const ArgumentList& args) {
    takeGameDirOption(invocation, args);
    return demo::standInImages(invocation.gamePathSources).directory;
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
    for (const std::string& name : args.positional()) objects.push_back(runnableInjectionOf(name));
    vivarium::StandInInstallation installation(imageDirectory(invocation, args));
    options.map = installation.map();
    const bool faulted =
        vivarium::tryObjects(objects, installation.sprites(), options, invocation.lines());
    return faulted ? kFailed : kSuccess;
}

}  // namespace

Verb tryVerb() {
    return {"try", "run objects in the stand-in world and report what would crash the game",
            kTryUsage, runTry};
}

}  // namespace vek::cli
