#include "vivarium/try_run.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <ostream>

#include "app/file_io.h"
#include "app/text_names.h"
#include "objects/cob_compiler.h"
#include "objects/injection.h"
#include "objects/object_check.h"
#include "vivarium/trace.h"

namespace vek::vivarium {

namespace {

std::shared_ptr<const Origin> originOf(std::string_view file, const Bilingual& routine) {
    return std::make_shared<Origin>(Origin{std::string(file), textOf(routine)});
}

SentMacro closingMacro(std::string_view file) {
    return {MacroText(kInjectionClosingMacro), originOf(file, Msg::VivariumMacroName)};
}

}  // namespace

std::vector<SentMacro> injectionOfCob(const CobData& cob, std::string_view file,
                                      Routines routines) {
    std::vector<SentMacro> sent;
    int line = 0;
    for (const std::string& script : cob.scripts) {
        MacroText text;
        text.append(script, ++line, 1);
        sent.push_back({scriptInjectionMacro(text), originOf(file, Msg::VivariumMacroName)});
    }
    for (const std::string& import : cob.imports) {
        MacroText text;
        text.append(import, ++line, 1);
        sent.push_back({importInjectionMacro(text), originOf(file, Msg::VivariumRoutineName)});
        if (routines == Routines::First) break;
    }
    sent.push_back(closingMacro(file));
    return sent;
}

std::vector<SentMacro> injectionOfSource(std::span<const std::string> lines, std::string_view file,
                                         Routines routines) {
    std::vector<SentMacro> scripts;
    std::vector<SentMacro> installs;
    for (const SourceSection& section : sourceSections(lines)) {
        if (section.kind == MacroKind::Script) {
            scripts.push_back(
                {scriptInjectionMacro(section.macro), originOf(file, Msg::VivariumMacroName)});
        } else {
            installs.push_back(
                {importInjectionMacro(section.macro), originOf(file, Msg::VivariumRoutineName)});
        }
    }
    if (routines == Routines::First && installs.size() > 1) installs.resize(1);
    std::move(installs.begin(), installs.end(), std::back_inserter(scripts));
    scripts.push_back(closingMacro(file));
    return scripts;
}

bool sendsNothing(std::span<const SentMacro> sent) {
    return std::all_of(sent.begin(), sent.end(), [](const SentMacro& macro) {
        return macro.macro.text() == kInjectionClosingMacro;
    });
}

std::vector<SentMacro> injectionOfFile(const std::filesystem::path& file, std::string_view name,
                                       Routines routines) {
    if (isObjectFileName(file)) return injectionOfCob(readCobFile(file), name, routines);
    const std::vector<std::string> lines = readSourceFile(file);
    refuseNonSourceText(readFileText(file, kMaxSourceFileSize), file);
    return injectionOfSource(lines, name, routines);
}

SentMacro placedMacro(const ObjectDocument& document, std::string_view macro) {
    const bool fromSource = document.objectFromSource();
    const std::vector<SentMacro> sent =
        fromSource ? injectionOfSource(document.sourceLines(), document.sourceFileName())
                   : injectionOfCob(document.cob(), document.objectFileName());
    const auto found = std::find_if(sent.begin(), sent.end(), [macro](const SentMacro& candidate) {
        return candidate.macro.text() == macro;
    });
    if (found == sent.end()) return {MacroText(macro), nullptr};
    auto origin = std::make_shared<Origin>(*found->origin);
    origin->onSourcePage = fromSource;
    return {found->macro, std::move(origin)};
}

namespace {

// Runs the objects in a fresh world, telling `observe` of every happening and `afterTick` of the
// world after the injections and after each tick.
void runTry(std::span<const std::vector<SentMacro>> objects, const SpriteLookup& sprites,
            const TryOptions& options, const std::function<void(const Happening&)>& observe,
            const std::function<void(const World&)>& afterTick) {
    World world(sprites, options.seed);
    world.setMap(options.map);
    bool frozen = false;
    world.setObserver([&](const Happening& happening) {
        frozen = frozen || happening.freezes;
        observe(happening);
    });
    for (const std::vector<SentMacro>& object : objects) {
        for (const SentMacro& sent : object) {
            if (!frozen) world.runMacro(sent.macro, sent.origin);
        }
    }
    world.setChemicalNames(options.chemicalNames);
    if (options.creature) world.placeCreature(options.creature->first, options.creature->second);
    afterTick(world);
    for (int tick = 1; tick <= options.ticks && !frozen; ++tick) {
        for (const TimedEvent& event : options.events) {
            if (event.tick != tick) continue;
            for (const Object& object : world.objects()) {
                if (object.id != world.creature().id) world.sendEvent(object.id, event.event);
            }
        }
        for (const TimedCreatureOrder& order : options.creatureOrders) {
            if (order.tick == tick)
                world.orderCreature(order.action, objectForCreature(world, order.action));
        }
        world.tick();
        afterTick(world);
    }
}

}  // namespace

bool tryObjects(std::span<const std::vector<SentMacro>> objects, const SpriteLookup& sprites,
                const TryOptions& options, std::ostream& out) {
    bool faulted = false;
    const auto observe = [&](const Happening& happening) {
        faulted = faulted || happening.kind == HappeningKind::Fault;
        if (options.trace || happening.kind == HappeningKind::Fault)
            out << happeningLine(happening) << '\n';
    };
    const auto traceStates = [&](const World& world) {
        if (!options.trace) return;
        for (const Object& object : world.objects())
            out << stateLine(world.currentTick(), object) << '\n';
    };
    runTry(objects, sprites, options, observe, traceStates);
    return faulted;
}

std::vector<Happening> faultsOfTry(std::span<const std::vector<SentMacro>> objects,
                                   const SpriteLookup& sprites, const TryOptions& options) {
    std::vector<Happening> faults;
    runTry(
        objects, sprites, options,
        [&faults](const Happening& happening) {
            if (happening.kind == HappeningKind::Fault) faults.push_back(happening);
        },
        [](const World&) {});
    return faults;
}

}  // namespace vek::vivarium
