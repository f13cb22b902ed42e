#include <cerrno>
#include <csignal>
#include <ostream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/vek_error.h"
#include "cli/verbs.h"
#include "demo/stand_in_images.h"
#include "generators/class_catalogue.h"
#include "lsp/server.h"

namespace vek::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: vek lsp [--game-dir DIR] [--classes CLASSES.VEK]\n"
    "Serves the Language Server Protocol on standard input and output, for editors: the\n"
    "findings of vek check as diagnostics while a .cos source, a .mac macro file or a file of\n"
    "macros one a line is edited (language id caos-c1), completion with each command's\n"
    "arguments, signature help, hover with a word's whole entry, the outline, go to\n"
    "definition, references and rename of labels, folding of blocks, the layout of\n"
    "vek format, quick fixes, semantic tokens, inlay hints that name classes (from --classes,\n"
    "else classes.vek of the program directory), attribute and behaviour bits and events,\n"
    "and the commands vekstudio.inject, vekstudio.sendMacro and vekstudio.tryInWorld\n"
    "(inject the source, send the selection as a macro, run the source in the Vivarium).\n"
    "With the setting vekstudio.tryOnSave a save adds the faults of a vek try run to the\n"
    "diagnostics. The setting vekstudio.gameDir (initializationOptions or\n"
    "workspace/didChangeConfiguration), else --game-dir (here or before the verb), VEK_GAME_DIR\n"
    "or the game's key in the Wine prefix, names the installation to check against. Texts are\n"
    "German when the client's locale starts with \"de\". Standard output carries the protocol\n"
    "alone; what goes wrong is said on standard error.\n"
    "Exits with 0 after the client's shutdown and exit, 1 when the input ends before.\n";

// Whatever standard input has, up to `size` bytes, once at least one is there; 0 at its end.
std::size_t readSome(char* buffer, std::size_t size) {
    for (;;) {
#ifdef _WIN32
        const int got = _read(0, buffer, static_cast<unsigned>(size));
#else
        const ssize_t got = ::read(0, buffer, size);
#endif
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return 0;
    }
}

// The names of the class catalogue the hints show; none where there is no catalogue. A catalogue
// that cannot be read whole names the classes it read before the fault.
lsp::ClassNameLookup classNamesOf(const std::optional<std::string>& option, std::ostream& err) {
    const std::filesystem::path file =
        option ? pathFromUtf8(*option) : findIgnoringCase(programDirectory(), "classes.vek");
    if (!option && !std::filesystem::is_regular_file(file)) return {};
    auto catalogue = std::make_shared<ClassCatalogue>();
    try {
        catalogue->readFile(file);
    } catch (const std::exception& error) {
        err << "vek lsp: " << errorMessage(error, kLanguageEnglish) << '\n';
    }
    if (catalogue->empty()) return {};
    return [catalogue](int family, int genus, int species) {
        const auto part = [](int number) {
            return number == lsp::kAbsentClassPart ? kAbsentPart : number;
        };
        return catalogueName(*catalogue, {family, part(genus), part(species)});
    };
}

int runLsp(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"--game-dir", "--classes"});
    args.expectPositional(0, 0);
    takeGameDirOption(invocation, args);
#ifndef _WIN32
    // A client that is gone makes a write fail, which ends the session, rather than the signal
    // ending the process.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    lsp::CommandSurroundings surroundings;
    // A run in the Vivarium reads sprite files as vek try reads them: the demo's where no game
    // is known.
    surroundings.imageDirectory = [](const GamePathSources& sources) {
        return demo::standInImages(sources).directory;
    };
    lsp::Session session(invocation.gamePathSources, invocation.err, std::move(surroundings));
    session.server().setClassNames(classNamesOf(args.option("--classes"), invocation.err));
    std::string buffer(1 << 16, '\0');
    while (!session.finished()) {
        const std::size_t got = readSome(buffer.data(), buffer.size());
        if (got == 0) break;  // the client is gone
        const std::string answers = session.feed(std::string_view(buffer.data(), got));
        if (answers.empty()) continue;
        invocation.out << answers;
        invocation.out.flush();
        if (!invocation.out) return kFailed;
    }
    return session.exitStatus();
}

}  // namespace

Verb lspVerb() {
    return {"lsp", "serve the Language Server Protocol to editors on standard input and output",
            kUsage, runLsp};
}

}  // namespace vek::cli
