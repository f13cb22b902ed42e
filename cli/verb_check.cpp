#include <ostream>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "cli/check_support.h"
#include "cli/verbs.h"
#include "generators/class_catalogue.h"
#include "language/installation_rules.h"
#include "language/layout.h"
#include "language/word_list.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
#include "objects/installation_facts.h"
#include "objects/object_check.h"
#include "objects/source_lines.h"
#include "vivarium/world_file.h"

namespace vek::cli {

namespace {

constexpr std::string_view kCheckUsage =
    "usage: vek check FILE... [--game-dir DIR] [--classes CLASSES.VEK]\n"
    "Checks macros against the game's language before they reach the game: .cos sources,\n"
    ".cob object files, .mac macro files, and any other file, or - for standard input, as\n"
    "macros one a line (as world files hold them; lines starting with * and empty lines are\n"
    "skipped). Each finding is printed as FILE:LINE:COLUMN: error|warning: text; an error is\n"
    "what the game would refuse or crash on, a warning what is legal but likely wrong. In an\n"
    "object file, line N is its N-th script or installation routine, scripts first.\n"
    "With --game-dir (here or before the verb), VEK_GAME_DIR or a named Wine prefix, sources and\n"
    "macros are checked against that installation too: a sprite file or sound that is not\n"
    "there, images beyond a sprite file or beyond those an object was created with; with\n"
    "--classes (a classes.vek), a class the catalogue does not hold. These are warnings: the\n"
    "files may come with the object.\n"
    "Exits with 1 when any file has an error.\n";

// Standard input ("-") is read once: a second "-" sees the same bytes.
std::vector<Finding> checkFile(const std::string& name, const CheckOptions& options) {
    const std::filesystem::path path = pathFromUtf8(name);
    switch (checkedFileKindOf(path)) {
        case CheckedFileKind::Source:
            return checkSourceLines(readSourceFile(path), options);
        case CheckedFileKind::ObjectFile:
            return checkCobData(readCobFile(path), options);
        case CheckedFileKind::MacroFile: {
            std::vector<std::string> lines = readFileLines(path, kMaxSourceFileSize);
            for (std::string& line : lines) line = ansiToUtf8(line);
            return checkMacroFileLines(lines, options);
        }
        case CheckedFileKind::MacroLines:
            break;
    }
    return vivarium::checkWorldFileMacros(ansiToUtf8(readFileText(path, kMaxSourceFileSize)),
                                          options);
}

// The language's checks, and those against an installation where one is named.
CheckOptions checkOptionsOf(Invocation& invocation, const ArgumentList& args) {
    CheckOptions options = objectCheckOptions();
    takeGameDirOption(invocation, args);
    const bool installed = gameNamed(invocation.gamePathSources);
    const std::optional<std::string> classes = args.option("--classes");
    if (!installed && !classes) return options;
    auto facts = std::make_shared<InstallationFacts>();
    if (installed) *facts = readInstallationFacts(invocation.gamePaths());
    if (classes) {
        ClassCatalogue catalogue;
        catalogue.readFile(pathFromUtf8(*classes));
        facts->knowsClass = classLookupOf(std::move(catalogue));
    }
    options.installation = std::move(facts);
    return options;
}

int runCheck(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"--game-dir", "--classes"});
    args.expectPositional(1, SIZE_MAX);
    const CheckOptions options = checkOptionsOf(invocation, args);
    bool errors = false;
    for (const std::string& name : args.positional()) {
        const std::vector<Finding> findings = checkFile(name, options);
        printFindings(invocation.out, name, findings);
        errors = errors || hasErrors(findings);
    }
    return errors ? kFailed : kSuccess;
}

constexpr std::string_view kFormatUsage =
    "usage: vek format [-i] FILE...|-\n"
    "Lays out object sources (.cos) as a discompiled source is laid out: a tab for each line\n"
    "inside an inst or scrp section and one more inside each block. Only blanks at the start of\n"
    "lines change, so the source compiles to the same object file; line breaks stay as they are.\n"
    "Prints the laid-out source on standard output; - reads standard input.\n"
    "  -i   rewrites each file in place instead (not with -)\n";

int runFormat(Invocation& invocation) {
    const ArgumentList args(invocation.args, {}, {"-i"});
    args.expectPositional(1, SIZE_MAX);
    const bool inPlace = args.flag("-i");
    for (const std::string& name : args.positional()) {
        if (inPlace && name == "-") throw UsageError{"-i rewrites files, not standard input"};
    }
    for (const std::string& name : args.positional()) {
        const std::string text = readFileText(pathFromUtf8(name), kMaxSourceFileSize);
        const std::string formatted = formatSourceText(text, sourceLineReading);
        if (!inPlace) {
            invocation.out << formatted;
        } else if (formatted != text) {
            writeFileAtomically(pathFromUtf8(name), formatted);
        }
    }
    return kSuccess;
}

constexpr std::string_view kWordsUsage =
    "usage: vek words [--html] [--german]\n"
    "Prints every word of the game's macro language that vek check knows: one a line with the\n"
    "kinds of its arguments, commands first, then the values by what they give.\n"
    "  --html     the whole entry of every word as a page of the manual instead\n"
    "  --german   in German\n";

int runWords(Invocation& invocation) {
    const ArgumentList args(invocation.args, {}, {"--html", "--german"});
    args.expectPositional(0, 0);
    const std::string_view language = args.flag("--german") ? kLanguageGerman : kLanguageEnglish;
    const Dictionary& dictionary = Dictionary::builtIn();
    invocation.out << (args.flag("--html") ? wordListPage(dictionary, language)
                                           : wordListText(dictionary, language));
    return kSuccess;
}

}  // namespace

void printFindings(std::ostream& out, std::string_view name, std::span<const Finding> findings) {
    for (const Finding& finding : findings) {
        out << escapeControlCharacters(name) << ':' << finding.position.line << ':'
            << finding.position.column << ": " << severityName(finding.severity) << ": "
            << escapeControlCharacters(finding.text.english) << '\n';
    }
}

bool mayBeSent(Invocation& invocation, std::string_view name, std::span<const Finding> findings,
               bool noCheck) {
    printFindings(invocation.err, name, findings);
    if (noCheck || !hasErrors(findings)) return true;
    invocation.err << "vek: nothing was sent: the game may crash on these errors; --no-check "
                      "sends all the same\n";
    return false;
}

Verb formatVerb() {
    return {"format", "lay out object sources with the tabs of their blocks", kFormatUsage,
            runFormat};
}

Verb wordsVerb() {
    return {"words", "list the words of the game's macro language", kWordsUsage, runWords};
}

Verb checkVerb() {
    return {"check", "check macros, sources, object and macro files against the game's language",
            kCheckUsage, runCheck};
}

}  // namespace vek::cli
