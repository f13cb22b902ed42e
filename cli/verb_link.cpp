#include <chrono>
#include <ostream>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/program_directory.h"
#include "app/user_folders.h"
#include "app/vek_error.h"
#include "cli/check_support.h"
#include "cli/verbs.h"
#include "gamelink/creatures.h"
#include "gamelink/macro_extraction.h"
#include "objects/cob_data.h"
#include "objects/injection.h"
#include "objects/object_check.h"

namespace vek::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLinkNote =
    "The game is reached at its local socket (VEK_LINK_SOCKET names another one, for instance\n"
    "that of a vivarium-sim started with --socket) or, under Wine, through vek-bridge.exe in\n"
    "its prefix (see vek --help).\n";

// The link for one verb: the game's messages that the windows show in boxes go to stderr.
struct CliLink {
    explicit CliLink(Invocation& invocation) : creatures(invocation.gamePathSources) {
        creatures.setNoticeSink([this, &invocation](const BilingualBox& box) {
            invocation.err << box.text.english << "\n";
            noticed = true;
        });
    }

    // A game that does not answer in time fails the verb; the windows keep its empty answer.
    std::string send(std::string_view macro) {
        std::string answer = creatures.SendMacro(macro);
        if (creatures.lastOutcome() == TCreatures::Outcome::TimedOut) {
            const std::string seconds = std::to_string(
                std::chrono::ceil<std::chrono::seconds>(creatures.linkTimeouts().request).count());
            throw VekError(
                "The game did not answer within " + seconds + " seconds",
                "Das Spiel hat nicht innerhalb von " + seconds + " Sekunden geantwortet");
        }
        if (creatures.lastOutcome() == TCreatures::Outcome::Broken) noticed = true;
        return answer;
    }

    TCreatures creatures;
    bool noticed = false;
};

int runSend(Invocation& invocation) {
    const ArgumentList args(invocation.args, {}, {"--no-check"});
    args.expectPositional(1, 1);
    const std::string& macro = args.positional()[0];
    if (!mayBeSent(invocation, "macro",
                   checkMacro(MacroText(macro), MacroKind::Macro, objectCheckOptions()),
                   args.flag("--no-check"))) {
        return kFailed;
    }
    CliLink link(invocation);
    invocation.out << link.send(args.positional()[0]) << "\n";
    return link.noticed ? kFailed : kSuccess;
}

int runInject(Invocation& invocation) {
    const ArgumentList args(invocation.args, {}, {"--no-check"});
    args.expectPositional(1, 1);
    const CobData cob = readCobFile(pathFromUtf8(args.positional()[0]));
    if (!mayBeSent(invocation, args.positional()[0], checkInjection(cob), args.flag("--no-check")))
        return kFailed;
    CliLink link(invocation);
    InjectionSteps steps;
    steps.sendMacro = [&link](std::string_view macro) { return link.send(macro); };
    steps.askOkCancel = [](const BilingualBox&) { return true; };
    steps.showMessage = [&invocation](const BilingualBox& box) {
        invocation.err << box.text.english << "\n";
    };
    steps.showProgress = [&invocation](const std::string& text) { invocation.out << text << "\n"; };
    steps.restoreTitle = [] {};
    steps.wait = sleepFor;
    const InjectionOutcome outcome = injectObject(cob, false, kLanguageEnglish, steps);
    return outcome == InjectionOutcome::Injected && !link.noticed ? kSuccess : kFailed;
}

int runExtract(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"--out"});
    args.expectPositional(0, 0);
    fs::path directory;
    if (const auto out = args.option("--out")) {
        // A folder named on the command line is made when missing.
        directory = fs::absolute(pathFromUtf8(*out));
        fs::create_directories(directory);
    } else {
        directory = findIgnoringCase(programDirectory(), "mac");
    }
    CliLink link(invocation);
    const ExtractionResult result = extractAllMacros(
        [&link](std::string_view macro) { return link.send(macro); }, directory, kLanguageEnglish,
        [&invocation](const std::string& line) { invocation.out << line << "\n"
                                                                << std::flush; });
    invocation.out << result.files << " files written for " << result.classes << " classes\n";
    return link.noticed ? kFailed : kSuccess;
}

}  // namespace

Verb sendVerb() {
    static const std::string usage =
        std::string(
            "usage: vek send [--no-check] MACRO\n"
            "Sends one macro to the running game and prints its answer, for example\n"
            "  vek send \"inst,enum 0 0 0,dde: putv fmly,next,endm\"\n"
            "A macro with errors (see vek check) is not sent unless --no-check is given.\n") +
        std::string(kLinkNote);
    return {"send", "send a macro to the running game and print its answer", usage, runSend};
}

Verb injectVerb() {
    static const std::string usage =
        std::string(
            "usage: vek inject [--no-check] FILE.cob\n"
            "Injects an object file into the running game: each script, then the first\n"
            "installation routine, and after two seconds the closing macro. An object with\n"
            "errors (see vek check) is not injected unless --no-check is given.\n") +
        std::string(kLinkNote);
    return {"inject", "inject an object file into the running game", usage, runInject};
}

Verb extractVerb() {
    static const std::string usage =
        std::string(
            "usage: vek extract [--out DIR]\n"
            "Saves every script of the running game's classes as a macro file (FFGGSSEE.MAC) in\n"
            "DIR, by default the program directory's mac folder.\n") +
        std::string(kLinkNote);
    return {"extract", "save every script of the running game as macro files", usage, runExtract};
}

}  // namespace vek::cli
