#include <ostream>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/program_directory.h"
#include "app/text_names.h"
#include "app/user_folders.h"
#include "app/vek_error.h"
#include "cli/check_support.h"
#include "cli/verbs.h"
#include "gamelink/creatures.h"
#include "gamelink/macro_effect.h"
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
    explicit CliLink(Invocation& invocation)
        : creatures(invocation.gamePathSources), err(invocation.err) {
        creatures.setNoticeSink([this, &invocation](const BilingualBox& box) {
            invocation.err << box.text.english << "\n";
            noticed = true;
        });
    }

    // A game that does not answer in time fails the verb.
    MacroOutcome send(std::string_view macro) {
        MacroOutcome outcome = creatures.SendMacro(macro);
        if (outcome.kind == MacroOutcome::Kind::TimedOut) throw VekError(outcome.fault);
        if (outcome.toldByTheLink()) noticed = true;
        if (outcome.kind == MacroOutcome::Kind::NotReached && !outcome.fault.english.empty()) {
            err << "vek: " << outcome.fault.english << "\n";
        }
        return outcome;
    }

    // A refusal, an error answer, or no answer where one is due fails the verb. Nothing
    // reached says so through the notice already.
    MacroOutcome sendForEffect(std::string_view macro, bool answerDue) {
        MacroOutcome outcome = send(macro);
        if (noticed) return outcome;
        if (const auto fault = effectFault(macro, outcome, answerDue)) throw VekError(*fault);
        return outcome;
    }

    TCreatures creatures;
    std::ostream& err;
    bool noticed = false;
};

// The macro from the command line, or from a file with -f ("-" for standard input), since the
// system limits the length of one argument. A file's last line break is not part of it.
std::string macroArgument(const ArgumentList& args) {
    std::string macro;
    if (const auto file = args.option("-f")) {
        args.expectPositional(0, 0);
        macro = readFileText(pathFromUtf8(*file), kMacroBufferLimit + 2);
    } else {
        args.expectPositional(1, 1);
        macro = args.positional()[0];
        if (macro == "-") macro = readFileText(pathFromUtf8(macro), kMacroBufferLimit + 2);
    }
    while (!macro.empty() && (macro.back() == '\n' || macro.back() == '\r')) macro.pop_back();
    // The link carries the game's code page; anything else would arrive as "?".
    if (!codePage1252HoldsAll(macro)) {
        throw VekError(Msg::MacroOutsideCodePage);
    }
    return macro;
}

int runSend(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"-f"}, {"--no-check"});
    const std::string macro = macroArgument(args);
    if (!mayBeSent(invocation, "macro",
                   checkMacro(MacroText(macro), MacroKind::Macro, objectCheckOptions()),
                   args.flag("--no-check"))) {
        return kFailed;
    }
    CliLink link(invocation);
    const MacroOutcome outcome = link.sendForEffect(macro, asksForAnswer(macro));
    if (link.noticed) return kFailed;
    invocation.lines() << outcome.answer << "\n";
    return kSuccess;
}

int runInject(Invocation& invocation) {
    const ArgumentList args(invocation.args, {}, {"--no-check"});
    args.expectPositional(1, 1);
    const CobData cob = readCobFile(pathFromUtf8(args.positional()[0]));
    if (!mayBeSent(invocation, args.positional()[0], checkInjection(cob), args.flag("--no-check")))
        return kFailed;
    CliLink link(invocation);
    // Installing a script runs none of it, so no answer is due.
    InjectionSteps steps = unattendedInjectionSteps(
        [&link](std::string_view macro) { return link.sendForEffect(macro, false); });
    steps.showMessage = [&invocation](const BilingualText& text, const Bilingual&) {
        invocation.err << text.english << "\n";
    };
    steps.showProgress = [&invocation](const std::string& text) {
        invocation.lines() << text << "\n";
    };
    const InjectionResult result = injectObject(cob, {}, kLanguageEnglish, steps);
    return result.outcome == InjectionOutcome::Injected && !link.noticed ? kSuccess : kFailed;
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
        [&link](std::string_view macro) { return link.send(macro).answerIfReached(); }, directory,
        kLanguageEnglish,
        [&invocation](const std::string& line) {
            invocation.lines() << line << "\n" << std::flush;
        });
    invocation.lines() << result.files << " files written for " << result.classes << " classes\n";
    return link.noticed || result.stopped ? kFailed : kSuccess;
}

}  // namespace

Verb sendVerb() {
    static const std::string usage =
        std::string(
            "usage: vek send [--no-check] MACRO\n"
            "       vek send [--no-check] -f FILE\n"
            "Sends one macro to the running game and prints its answer, for example\n"
            "  vek send \"inst,enum 0 0 0,dde: putv fmly,next,endm\"\n"
            "The macro comes from FILE with -f, from standard input when MACRO is -.\n"
            "A macro with errors (see vek check) is not sent unless --no-check is given.\n"
            "A game that refuses the macro or answers \"Error: ...\", or gives no answer to a\n"
            "macro that hands values back (dde: putv, ...), fails with exit status 1.\n") +
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
