#include "objects/injection.h"

#include <thread>
#include <utility>

#include "app/scope_exit.h"
#include "app/text_names.h"
#include "objects/object_check.h"

namespace vek {

namespace {

constexpr std::string_view kInjectionPrefix = "dde: scrp 0 0 0 17,";

}  // namespace

std::string scriptInjectionMacro(std::string_view script) {
    return std::string(kInjectionPrefix) + "inst," + std::string(script);
}

std::string importInjectionMacro(std::string_view import) {
    return std::string(kInjectionPrefix) + std::string(import) + ",endm";
}

MacroText scriptInjectionMacro(const MacroText& script) {
    MacroText macro;
    macro.appendJoin(kInjectionPrefix);
    macro.appendJoin("inst,");
    macro.append(script);
    return macro;
}

MacroText importInjectionMacro(const MacroText& import) {
    MacroText macro;
    macro.appendJoin(kInjectionPrefix);
    macro.append(import);
    macro.appendJoin(",endm");
    return macro;
}

SourceBeforeInjecting sourceBeforeInjecting(const ObjectDocument& document) {
    const bool hasText = document.sourceText().find_first_not_of(" \t\r\n") != std::string::npos;
    return {document.source().changedButNotCompiled(), hasText && !document.source().compiled};
}

BilingualText nothingToInjectText(const SourceBeforeInjecting& source) {
    BilingualText text = textOf(kNothingToInjectBox.text);
    if (!source.textNotCompiled) return text;
    const Bilingual advice = Msg::ObjectCompileFirstAdvice;
    text.english.append("\n\n").append(advice.english);
    text.german.append("\n\n").append(advice.german);
    return text;
}

BilingualText injectedNote(InjectionTarget target, std::string_view objectName) {
    constexpr Bilingual kNotes[] = {Msg::InjectedIntoGameNote, Msg::InjectedIntoWineGameNote,
                                    Msg::InjectedIntoStandInNote, Msg::InjectedIntoVivariumNote};
    return fill(kNotes[static_cast<std::size_t>(target)], {objectName});
}

InjectionResult injectObject(const CobData& cob, const SourceBeforeInjecting& source,
                             std::string_view language, const InjectionSteps& steps) {
    const bool confirmed = !source.changedNotCompiled || steps.askOkCancel(kNotCompiledBox);
    if (cob.scripts.empty() && cob.imports.empty()) {
        steps.showMessage(nothingToInjectText(source), kNothingToInjectBox.caption);
        return {InjectionOutcome::NothingToInject, {}};
    }
    if (!confirmed) return {InjectionOutcome::Cancelled, {}};

    InjectionResult result{InjectionOutcome::Injected, {}};
    const auto send = [&steps, &result](std::string macro) {
        MacroOutcome outcome = steps.sendMacro(macro);
        result.sent.push_back({std::move(macro), std::move(outcome)});
    };
    // The title comes back once, when the injection ends or is broken off by an error.
    ScopeExit title(steps.restoreTitle);
    for (std::size_t k = 0; k < cob.scripts.size(); ++k) {
        steps.showProgress(std::string(Msg::ObjectSendingScript.in(language)) +
                           std::to_string(k + 1));
        send(scriptInjectionMacro(cob.scripts[k]));
    }
    // Only the first installation routine is injected.
    if (!cob.imports.empty()) {
        steps.showProgress(std::string(Msg::ObjectImportingObject.in(language)));
        send(importInjectionMacro(cob.imports.front()));
    }
    steps.wait(kInjectionSettleTime);
    title.runNow();
    send(std::string(kInjectionClosingMacro));
    return result;
}

SentMacro killEditObject(const MacroSender& sendMacro) {
    return {std::string(kKillEditMacro), sendMacro(kKillEditMacro)};
}

void sleepFor(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

InjectionSteps unattendedInjectionSteps(MacroSender sendMacro) {
    InjectionSteps steps;
    steps.sendMacro = std::move(sendMacro);
    steps.askOkCancel = [](const BilingualBox&) { return true; };
    steps.showMessage = [](const BilingualText&, const Bilingual&) {};
    steps.showProgress = [](const std::string&) {};
    steps.restoreTitle = [] {};
    steps.wait = sleepFor;
    return steps;
}

std::vector<Finding> checkInjection(const CobData& cob) {
    if (cob.imports.size() <= 1) return checkCobData(cob);
    CobData sent = cob;
    sent.imports.resize(1);
    return checkCobData(sent);
}

InjectionCheck checkBeforeInjecting(const ObjectDocument& document) {
    if (!document.objectFromSource()) return {checkInjection(document.cob()), false};
    InjectionCheck check{{}, true};
    bool routineSent = false;
    for (const SourceSection& section : sourceSections(document.sourceLines())) {
        // Only the first installation routine is sent, as checkInjection sees it.
        if (section.kind == MacroKind::Routine && std::exchange(routineSent, true)) continue;
        const std::vector<Finding> found =
            checkMacro(section.macro, section.kind, objectCheckOptions());
        check.findings.insert(check.findings.end(), found.begin(), found.end());
    }
    return check;
}

}  // namespace vek
