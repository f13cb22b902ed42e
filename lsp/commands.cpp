#include "lsp/commands.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <span>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "gamelink/creatures.h"
#include "gamelink/macro_effect.h"
#include "language/completion.h"
#include "lsp/features.h"
#include "objects/cob_compiler.h"
#include "objects/injection.h"
#include "vivarium/installation.h"
#include "vivarium/try_run.h"

namespace vek::lsp {

namespace {

constexpr int kTryFaultSeverity = 1;  // the protocol's "error"

std::string inLanguageOf(const CommandContext& context, const BilingualText& text) {
    return std::string(text.in(context.language));
}

CommandOutcome outcomeOf(bool succeeded, std::string message, Json details = Json::object()) {
    details["succeeded"] = succeeded;
    details["message"] = message;
    return {succeeded, std::move(message), std::move(details)};
}

// Injection and a run in the Vivarium take an object source; other documents are no object.
void requireSource(const CommandContext& context) {
    if (context.kind == CheckedFileKind::Source) return;
    throw RequestError{kInvalidParams,
                       inLanguageOf(context, fill(Msg::LspNoObjectSource, {context.fileName}))};
}

// Where what is to be sent has errors, the refusal: the message names the first (through
// `refusal`: the count, the first one's line and its text), the result lists them all.
std::optional<CommandOutcome> refusalForErrors(
    const CommandContext& context, std::span<const Finding> findings,
    const std::function<BilingualText(std::string_view, std::string_view, const BilingualText&)>&
        refusal) {
    Json diagnostics = Json::array();
    const Finding* first = nullptr;
    for (const Finding& finding : findings) {
        if (!finding.isError()) continue;
        if (!first) first = &finding;
        diagnostics.push_back(
            diagnosticOf(context.model.lines(), finding, context.encoding, context.language));
    }
    if (!first) return std::nullopt;
    const BilingualText message = refusal(std::to_string(diagnostics.size()),
                                          std::to_string(first->position.line), first->text);
    return outcomeOf(false, inLanguageOf(context, message), {{"findings", diagnostics}});
}

// The link as `vek` reaches the game, with what it tells the user kept for the outcome.
class CommandLink {
  public:
    explicit CommandLink(const CommandContext& context) : m_creatures(context.sources) {
        if (context.surroundings.transport)
            m_creatures.setLinkTransport(context.surroundings.transport);
        m_creatures.setNoticeSink([this](const BilingualBox& box) { m_notice = textOf(box.text); });
    }

    // Sends a macro for its effect; where it did not have it, throws VekError saying why.
    MacroOutcome sendForEffect(std::string_view macro, bool answerDue) {
        MacroOutcome outcome = m_creatures.SendMacro(macro);
        if (const auto fault = effectFault(macro, outcome, answerDue)) throw VekError(*fault);
        if (outcome.toldByTheLink()) throw VekError(m_notice.value_or(outcome.fault));
        return outcome;
    }

    InjectionTarget target() const {
        if (m_creatures.reachesStandIn()) return InjectionTarget::StandInGame;
        return m_creatures.reachesGameUnderWine() ? InjectionTarget::GameUnderWine
                                                  : InjectionTarget::Game;
    }

  private:
    TCreatures m_creatures;
    std::optional<BilingualText> m_notice;
};

// Injection sends scripts and routines, never the picture: "sprite" lines read nothing.
class NoPictures : public PictureSource {
  public:
    void openSpriteFileByName(const std::string&) override {}
    void selectSprite(int) override {}
    bool spriteLoaded() const override { return false; }
    SpriteImage currentSprite() const override { return {}; }
};

CommandOutcome inject(const CommandContext& context) {
    requireSource(context);
    const std::string& file = context.fileName;
    if (auto refusal = refusalForErrors(
            context, context.model.findings(),
            [&file](std::string_view count, std::string_view line, const BilingualText& text) {
                return fill(Msg::LspObjectNotInjected,
                            {untranslated(file), untranslated(std::string(count)),
                             untranslated(std::string(line)), text});
            }))
        return *refusal;
    NoPictures pictures;
    const std::vector<std::string>& lines = context.model.lines();
    const CompiledObject compiled = compileSource(lineViews(lines), {{}, pictures, {}});
    CommandLink link(context);
    std::optional<BilingualText> shown;
    InjectionSteps steps = unattendedInjectionSteps(
        [&link](std::string_view macro) { return link.sendForEffect(macro, false); });
    steps.showMessage = [&shown](const BilingualText& text, const Bilingual&) { shown = text; };
    if (context.surroundings.wait) steps.wait = context.surroundings.wait;
    const InjectionResult result = injectObject(compiled.cob, {}, context.language, steps);
    if (result.outcome != InjectionOutcome::Injected)
        return outcomeOf(false, inLanguageOf(context, shown.value_or(BilingualText{})));
    return outcomeOf(true, inLanguageOf(context, injectedNote(link.target(), compiled.cob.name)),
                     {{"sent", result.sent.size()}});
}

// The selected text as one macro: its lines' texts joined by commas, each character at the
// place it was written.
MacroText selectedMacro(const CommandContext& context, const Json& range) {
    const std::vector<std::string>& lines = context.model.lines();
    const LinePlace from = placeOf(lines, range.at("start"), context.encoding);
    const LinePlace to = std::max(from, placeOf(lines, range.at("end"), context.encoding));
    MacroText macro;
    for (std::size_t line = from.line; line <= to.line && line < lines.size(); ++line) {
        const std::size_t start = line == from.line ? from.byte : 0;
        const std::size_t end = line == to.line ? to.byte : lines[line].size();
        std::string_view piece = std::string_view(lines[line]).substr(start, end - start);
        const std::size_t first = piece.find_first_not_of(" \t\r");
        if (first == std::string_view::npos) continue;
        piece = piece.substr(first, piece.find_last_not_of(" \t\r") - first + 1);
        if (!macro.text().empty()) macro.appendJoin(",");
        const TextPosition at = textPositionOf(lines, {line, start + first});
        macro.append(piece, at.line, at.column);
    }
    return macro;
}

CommandOutcome sendMacro(const CommandContext& context, const Json& arguments) {
    if (arguments.size() < 2 || !arguments[1].is_object())
        throw RequestError{kInvalidParams, std::string(kSendMacroCommand) + " takes [uri, range]"};
    const MacroText macro = selectedMacro(context, arguments[1]);
    if (macro.text().empty())
        return outcomeOf(false, inLanguageOf(context, textOf(Msg::LspNothingSelected)));
    if (!codePage1252HoldsAll(macro.text()))
        return outcomeOf(false, inLanguageOf(context, textOf(Msg::MacroOutsideCodePage)));
    if (auto refusal = refusalForErrors(
            context, checkMacro(macro, MacroKind::Macro, context.options),
            [](std::string_view count, std::string_view line, const BilingualText& text) {
                return fill(Msg::LspMacroNotSent, {untranslated(std::string(count)),
                                                   untranslated(std::string(line)), text});
            }))
        return *refusal;
    CommandLink link(context);
    const MacroOutcome outcome = link.sendForEffect(macro.text(), asksForAnswer(macro.text()));
    const BilingualText said = outcome.answer.empty()
                                   ? textOf(Msg::LspMacroTaken)
                                   : fill(Msg::LspGameAnswered, {outcome.answer});
    return outcomeOf(true, inLanguageOf(context, said), {{"answer", outcome.answer}});
}

int ticksArgument(const Json& arguments) {
    if (arguments.size() < 2 || arguments[1].is_null()) return vivarium::TryOptions{}.ticks;
    if (!arguments[1].is_number_integer() || arguments[1].get<long long>() < 0 ||
        arguments[1].get<long long>() > std::numeric_limits<int>::max())
        throw RequestError{kInvalidParams, "ticks must be a whole number from 0 on"};
    return arguments[1].get<int>();
}

// What `vek try` injects of the source: every script, then every installation routine.
std::vector<std::vector<vivarium::SentMacro>> injectionOf(const CommandContext& context) {
    return {vivarium::injectionOfSource(context.model.lines(), context.fileName,
                                        vivarium::Routines::Every)};
}

std::vector<vivarium::Happening> faultsOfRun(
    const CommandContext& context, std::span<const std::vector<vivarium::SentMacro>> objects,
    int ticks) {
    std::filesystem::path images;
    if (context.surroundings.imageDirectory) {
        images = context.surroundings.imageDirectory(context.sources);
    } else if (gameNamed(context.sources)) {
        images = pathFromUtf8(readGamePaths(context.sources).CImagePath);
    }
    // The installation's sprites, rooms and ground, as vek try runs it.
    vivarium::StandInInstallation installation(images);
    vivarium::TryOptions options;
    options.ticks = ticks;
    options.map = installation.map();
    return vivarium::faultsOfTry(objects, installation.sprites(), options);
}

// A fault marks the command it stopped at: the world names its place, the dictionary its length.
int faultedCommandLength(std::span<const std::string> lines, TextPosition position) {
    if (position.line < 1 || position.line > static_cast<int>(lines.size())) return 1;
    const Word* word =
        wordAt(lines[static_cast<std::size_t>(position.line - 1)], position.column - 1);
    return word ? static_cast<int>(word->name.size()) : 1;
}

Json faultDiagnostics(const CommandContext& context, std::span<const vivarium::Happening> faults) {
    const std::vector<std::string>& lines = context.model.lines();
    Json diagnostics = Json::array();
    for (const vivarium::Happening& fault : faults) {
        const int length = faultedCommandLength(lines, fault.position);
        diagnostics.push_back({{"range", rangeOf(lines, fault.position, length, context.encoding)},
                               {"severity", kTryFaultSeverity},
                               {"source", "vek try"},
                               {"message", inLanguageOf(context, fault.fault)}});
    }
    return diagnostics;
}

CommandOutcome tryInWorld(const CommandContext& context, const Json& arguments) {
    requireSource(context);
    const int ticks = ticksArgument(arguments);
    const auto objects = injectionOf(context);
    if (vivarium::sendsNothing(objects.front()))
        throw VekError(fill(Msg::TryNothingToRun, {context.fileName}));
    const std::vector<vivarium::Happening> faults = faultsOfRun(context, objects, ticks);
    const BilingualText name = untranslated(context.fileName);
    const BilingualText tickCount = untranslated(std::to_string(ticks));
    const BilingualText said =
        faults.empty()
            ? fill(Msg::LspTryWithoutFault, {name, tickCount})
            : fill(Msg::LspTryFaults, {name, tickCount, untranslated(std::to_string(faults.size())),
                                       untranslated(std::to_string(faults.front().position.line)),
                                       faults.front().fault});
    return outcomeOf(faults.empty(), inLanguageOf(context, said),
                     {{"ticks", ticks}, {"faults", faultDiagnostics(context, faults)}});
}

}  // namespace

std::vector<std::string> commandNames() {
    return {std::string(kInjectCommand), std::string(kSendMacroCommand),
            std::string(kTryInWorldCommand)};
}

std::string commandDocumentUri(std::string_view command, const Json& arguments) {
    const std::vector<std::string> names = commandNames();
    if (std::find(names.begin(), names.end(), command) == names.end())
        throw RequestError{kInvalidParams, "no command " + std::string(command)};
    if (!arguments.is_array() || arguments.empty() || !arguments[0].is_string())
        throw RequestError{kInvalidParams,
                           std::string(command) + " takes the document's uri first"};
    return arguments[0].get<std::string>();
}

CommandOutcome runCommand(std::string_view command, const Json& arguments,
                          const CommandContext& context) {
    try {
        if (command == kInjectCommand) return inject(context);
        if (command == kSendMacroCommand) return sendMacro(context, arguments);
        if (command == kTryInWorldCommand) return tryInWorld(context, arguments);
    } catch (const VekError& error) {
        return outcomeOf(false, errorMessage(error, context.language));
    }
    throw RequestError{kInvalidParams, "no command " + std::string(command)};
}

Json tryDiagnostics(const CommandContext& context) {
    if (context.kind != CheckedFileKind::Source) return Json::array();
    const auto objects = injectionOf(context);
    if (vivarium::sendsNothing(objects.front())) return Json::array();
    return faultDiagnostics(context, faultsOfRun(context, objects, vivarium::TryOptions{}.ticks));
}

}  // namespace vek::lsp
