#include <algorithm>
#include <ostream>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "cli/compile_support.h"
#include "cli/verbs.h"
#include "generators/class_catalogue.h"
#include "generators/object_assistant.h"
#include "generators/simple_object_source.h"
#include "objects/cob_data.h"
#include "objects/script_events.h"

namespace vek::cli {

namespace {

constexpr std::string_view kClassesUsage =
    "usage: vek classes list [--file FILE]\n"
    "       vek classes import OBJED.DTA -o OUT\n"
    "list    the class catalogue (default: classes.vek of the program directory) as it would\n"
    "        be written, one entry a line, a TAB a level\n"
    "import  the tree of an objed.dta file, written as a classes.vek file\n";

constexpr std::string_view kNewUsage =
    "usage: vek new simple F G S NAME FILE [--count N] [--start N] [--plane N]\n"
    "           [--attributes LIST] [--click dumb|one-shot|retriggerable|toggle|cycle]\n"
    "           [--creatures LIST] [--edit] [--clone] [--scripts E,E,...] [--mac FILE]...\n"
    "       vek new creature MUM DAD [--sex male|female|random] [--as egg|creature]\n"
    "       vek new clone GEN [--sex male|female|random] [--as egg|creature]\n"
    "       vek new infusion [--chemical NUMBER:AMOUNT]...   (at most four)\n"
    "each also takes -o OUT.cos (writes the source, CR LF) and --cob OUT.cob (compiles it and\n"
    "saves the object file); without them the source is printed.\n"
    "simple    the source of a simple object of class F G S: attributes carryable, draggable,\n"
    "          activateable, invisible, floatable, wallbound, groundbound; creatures activate1,\n"
    "          activate2, deactivate; --scripts adds empty scripts for these event numbers,\n"
    "          --mac the script of a macro file (once per file)\n"
    "creature  a creature from a mother's and a father's genetics file\n"
    "clone     a clone of one genetics file\n"
    "infusion  an object that doses a creature with up to four chemicals\n";

// ---- classes ----------------------------------------------------------------------------------

int runClasses(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"--file", "-o"});
    if (args.positional().empty()) throw UsageError{"missing the command: list or import"};
    const std::string& command = args.positional()[0];
    if (command == "list") {
        args.expectPositional(1, 1);
        const auto file = args.option("--file");
        ClassCatalogue catalogue;
        catalogue.readFile(file ? pathFromUtf8(*file)
                                : findIgnoringCase(programDirectory(), "classes.vek"));
        for (const std::string& line : catalogue.lines()) invocation.lines() << line << "\n";
        return kSuccess;
    }
    if (command == "import") {
        args.expectPositional(2, 2);
        const auto output = args.option("-o");
        if (!output) throw UsageError{"import needs -o OUT"};
        importObjedFile(pathFromUtf8(args.positional()[1])).writeFile(pathFromUtf8(*output));
        return kSuccess;
    }
    throw UsageError{"unknown command " + command};
}

// ---- new --------------------------------------------------------------------------------------

std::vector<std::string> commaList(const std::optional<std::string>& text) {
    std::vector<std::string> items;
    if (!text) return items;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const std::size_t comma = std::min(rest.find(','), rest.size());
        items.emplace_back(rest.substr(0, comma));
        rest.remove_prefix(std::min(comma + 1, rest.size()));
    }
    return items;
}

template <std::size_t N>
int choice(std::string_view value, const std::pair<std::string_view, int> (&names)[N],
           std::string_view what) {
    for (const auto& [name, number] : names) {
        if (value == name) return number;
    }
    throw UsageError{"unknown " + std::string(what) + " '" + std::string(value) + "'"};
}

template <std::size_t N>
int bitsOf(const std::optional<std::string>& list,
           const std::pair<std::string_view, int> (&names)[N], std::string_view what) {
    int bits = 0;
    for (const std::string& item : commaList(list)) bits |= choice(item, names, what);
    return bits;
}

constexpr std::pair<std::string_view, int> kAttributes[] = {
    {"carryable", kCarryable},    {"draggable", kDraggable}, {"activateable", kActivateable},
    {"invisible", kInvisible},    {"floatable", kFloatable}, {"wallbound", kWallbound},
    {"groundbound", kGroundbound}};
constexpr std::pair<std::string_view, int> kClicks[] = {
    {"dumb", 0}, {"one-shot", 1}, {"retriggerable", 2}, {"toggle", 3}, {"cycle", 4}};
constexpr std::pair<std::string_view, int> kCreatureActions[] = {
    {"activate1", kActivate1}, {"activate2", kActivate2}, {"deactivate", kDeactivate}};
constexpr std::pair<std::string_view, int> kSexes[] = {{"random", 0}, {"male", 1}, {"female", 2}};
constexpr std::pair<std::string_view, int> kForms[] = {{"egg", 0}, {"creature", 1}};

// The positions in the event list of the given event numbers, in the list's order.
std::vector<std::size_t> scriptPositions(const std::optional<std::string>& list) {
    std::vector<std::size_t> positions;
    const auto entries = scriptEventList().entries();
    for (const std::string& item : commaList(list)) {
        const std::string_view text =
            scriptEventTable().lookup(parseIntArgument(item, "--scripts"));
        const auto found =
            text.empty() ? entries.end() : std::find(entries.begin(), entries.end(), text);
        if (found == entries.end()) throw UsageError{"no script event " + item};
        positions.push_back(static_cast<std::size_t>(found - entries.begin()));
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

std::vector<std::string> simpleSource(Invocation& invocation, const ArgumentList& args) {
    args.expectPositional(6, 6);
    const auto& given = args.positional();
    SimpleObjectForm form;
    form.name = given[4];
    form.file = given[5];
    form.count = args.option("--count").value_or(form.count);
    form.start = args.option("--start").value_or(form.start);
    form.plane = args.option("--plane").value_or(form.plane);
    form.attributes = bitsOf(args.option("--attributes"), kAttributes, "attribute");
    if ((form.attributes & kWallbound) && (form.attributes & kGroundbound))
        throw UsageError{"wallbound and groundbound exclude each other"};
    form.click = choice(args.option("--click").value_or("dumb"), kClicks, "click");
    form.creatures = bitsOf(args.option("--creatures"), kCreatureActions, "creature action");
    form.edit = args.flag("--edit");
    form.cloneSprites = args.flag("--clone");
    form.emptyScripts = scriptPositions(args.option("--scripts"));
    const ClassSelection selection =
        ClassSelection::of(given[1] + " " + given[2] + " " + given[3] + " {" + form.name + "}");
    const std::vector<BilingualBox> failures = checkSimpleObject(form, selection);
    for (const BilingualBox& failure : failures) invocation.err << failure.text.english << "\n";
    if (!failures.empty()) return {};
    for (const std::string& file : args.options("--mac"))
        form.macroScripts.push_back(readMacroScript(pathFromUtf8(file)));
    return simpleObjectSource(form, selection);
}

CreatureSex sexOf(const ArgumentList& args) {
    return static_cast<CreatureSex>(choice(args.option("--sex").value_or("random"), kSexes, "sex"));
}

ArrivalForm formOf(const ArgumentList& args) {
    return choice(args.option("--as").value_or("egg"), kForms, "form") == 0 ? ArrivalForm::Egg
                                                                            : ArrivalForm::Creature;
}

std::string tokenOf(const std::string& file) {
    return genomeToken(pathToUtf8(pathFromUtf8(file).filename()));
}

std::vector<std::string> infusion(const ArgumentList& args) {
    args.expectPositional(1, 1);
    const std::vector<std::string> given = args.options("--chemical");
    if (given.size() > kInfusionChemicals) throw UsageError{"at most four chemicals"};
    std::array<ChemicalDose, kInfusionChemicals> doses;
    for (std::size_t k = 0; k < given.size(); ++k) {
        const std::size_t colon = given[k].find(':');
        if (colon == std::string::npos) throw UsageError{"--chemical wants NUMBER:AMOUNT"};
        doses[k].chemical = parseIntArgument(given[k].substr(0, colon), "the chemical");
        if (doses[k].chemical < 0 || doses[k].chemical > 255)
            throw UsageError{"a chemical's number lies between 0 and 255"};
        doses[k].amount = given[k].substr(colon + 1);
    }
    return infusionSource(doses);
}

int runNew(Invocation& invocation) {
    const ArgumentList args(
        invocation.args,
        {"-o", "--cob", "--count", "--start", "--plane", "--attributes", "--click", "--creatures",
         "--scripts", "--mac", "--sex", "--as", "--chemical"},
        {"--edit", "--clone"});
    if (args.positional().empty())
        throw UsageError{"missing the kind: simple, creature, clone or infusion"};
    const std::string& kind = args.positional()[0];
    std::vector<std::string> lines;
    if (kind == "simple") {
        lines = simpleSource(invocation, args);
        if (lines.empty()) return kFailed;
    } else if (kind == "creature") {
        args.expectPositional(3, 3);
        lines = creatureFromParentsSource(tokenOf(args.positional()[1]),
                                          tokenOf(args.positional()[2]), sexOf(args), formOf(args));
    } else if (kind == "clone") {
        args.expectPositional(2, 2);
        lines = cloneSource(tokenOf(args.positional()[1]), sexOf(args), formOf(args));
    } else if (kind == "infusion") {
        lines = infusion(args);
    } else {
        throw UsageError{"unknown kind " + kind};
    }
    const auto source = args.option("-o");
    const auto object = args.option("--cob");
    if (source) writeSourceFile(pathFromUtf8(*source), lines);
    if (object) writeCobFile(pathFromUtf8(*object), compileWithGameSprites(invocation, lines).cob);
    if (!source && !object) {
        for (const std::string& line : lines) invocation.out << line << "\n";
    }
    return kSuccess;
}

}  // namespace

Verb classesVerb() {
    return {"classes", "list the class catalogue, import objed.dta", kClassesUsage, runClasses};
}

Verb newVerb() {
    return {"new", "generate simple object, creature, clone and infusion sources", kNewUsage,
            runNew};
}

}  // namespace vek::cli
