#include <algorithm>
#include <ostream>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "cli/verbs.h"
#include "demo/demo_installation.h"
#include "demo/stand_in_images.h"
#include "generators/object_assistant.h"
#include "language/dictionary.h"
#include "vivarium/installation.h"
#include "vivarium/try_run.h"
#include "vivarium/word_table.h"

namespace vek::cli {

namespace {

constexpr std::string_view kTryUsage =
    "usage: vek try OBJECT.cob|SOURCE.cos... [--ticks N] [--activate1 T] [--activate2 T]\n"
    "               [--pickup T] [--drop T] [--random-seed S] [--trace] [--game-dir DIR]\n"
    "               [--creature X,Y [--creature-does ACTION@T,...] [--chemicals FILE]]\n"
    "       vek try --words\n"
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
    "--creature places a stand-in creature (class 4 1 0, 40 x 60, no pictures) after the\n"
    "injections, its top left corner at X,Y, standing on the ground there. --creature-does\n"
    "gives it orders: at the start of tick T it turns to the object nearest it then (centre\n"
    "to centre; for drop, what it carries), walks along the ground 8 pixels a tick until its\n"
    "centre is within 24 pixels of the object's across, and does ACTION: activate1,\n"
    "activate2, deactivate, hit, pickup or drop, sent as the hand's event but from the\n"
    "creature (from, norn and targ norn name it); what it picks up goes with it. A new order\n"
    "replaces the one before. Stimuli that reach it (stim writ and stm# writ naming it, stim\n"
    "from and stim writ from its events, every shou and sign, tact where it holds or reaches\n"
    "the target) are traced with the chemicals' names from chemicals.txt: FILE, else the\n"
    "program directory's, else the demo's when the run takes the demo installation. Its\n"
    "brain and chemistry are not modelled: their words read 0 and are traced as such.\n"
    "--words lists each word of the language, one a line: command or value, its name and\n"
    "how far the stand-in takes it (modelled, answered neutrally, not modelled).\n"
    "Exits with 1 when a fault happened or a file holds nothing to run.\n";

std::vector<vivarium::SentMacro> runnableInjectionOf(const std::string& name) {
    std::vector<vivarium::SentMacro> sent =
        vivarium::injectionOfFile(pathFromUtf8(name), name, vivarium::Routines::Every);
    if (vivarium::sendsNothing(sent)) throw VekError(fill(Msg::TryNothingToRun, {name}));
    return sent;
}

// The image directory of the installation, else of the demo (made when it is not there yet).
demo::StandInImages imagesOf(Invocation& invocation, const ArgumentList& args) {
    takeGameDirOption(invocation, args);
    return demo::standInImages(invocation.gamePathSources);
}

// "X,Y" of --creature.
std::pair<int, int> placeOption(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) throw UsageError{"--creature takes X,Y"};
    return {parseIntArgument(text.substr(0, comma), "--creature"),
            parseIntArgument(text.substr(comma + 1), "--creature")};
}

// "activate1@5,drop@20" of --creature-does.
std::vector<vivarium::TimedCreatureOrder> creatureOrders(const std::string& text) {
    std::vector<vivarium::TimedCreatureOrder> orders;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, end - start);
        start = end + 1;
        const std::size_t at = item.find('@');
        const auto action = vivarium::creatureActionNamed(item.substr(0, at));
        if (at == std::string::npos || !action)
            throw UsageError{
                "--creature-does takes ACTION@TICK, ACTION one of activate1, "
                "activate2, deactivate, hit, pickup, drop: " +
                item};
        const int tick = parseIntArgument(item.substr(at + 1), "--creature-does");
        if (tick < 1) throw UsageError{"--creature-does must name ticks from 1 on"};
        orders.push_back({tick, *action});
    }
    return orders;
}

std::vector<std::string> chemicalNames(const ArgumentList& args,
                                       const demo::StandInImages& images) {
    std::filesystem::path file = findIgnoringCase(programDirectory(), "chemicals.txt");
    if (const auto given = args.option("--chemicals")) {
        file = pathFromUtf8(*given);
    } else if (!std::filesystem::exists(file) && images.isDemo) {
        file = demo::DemoLayout{demo::defaultDemoRoot()}.programDirectory() / "chemicals.txt";
    }
    if (!args.option("--chemicals") && !std::filesystem::exists(file)) return {};
    return readChemicalNameList(file);
}

// One line a word of the dictionary: "command<TAB>new: simp<TAB>modelled".
void listWords(std::ostream& out) {
    for (const Word& word : Dictionary::builtIn().words()) {
        out << (word.isCommand() ? "command" : "value") << '\t' << word.name << '\t'
            << vivarium::modellingName(vivarium::modellingOf(word)) << '\n';
    }
}

int runTry(Invocation& invocation) {
    const ArgumentList args(
        invocation.args,
        {"--ticks", "--activate1", "--activate2", "--pickup", "--drop", "--random-seed",
         "--game-dir", "--creature", "--creature-does", "--chemicals"},
        {"--trace", "--words"});
    if (args.flag("--words")) {
        args.expectPositional(0, 0);
        listWords(invocation.lines());
        return kSuccess;
    }
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
    if (const auto place = args.option("--creature")) options.creature = placeOption(*place);
    if (const auto orders = args.option("--creature-does")) {
        if (!options.creature) throw UsageError{"--creature-does needs --creature"};
        options.creatureOrders = creatureOrders(*orders);
    }

    std::vector<std::vector<vivarium::SentMacro>> objects;
    for (const std::string& name : args.positional()) objects.push_back(runnableInjectionOf(name));
    const demo::StandInImages images = imagesOf(invocation, args);
    vivarium::StandInInstallation installation(images.directory);
    options.map = installation.map();
    if (options.creature) options.chemicalNames = chemicalNames(args, images);
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
