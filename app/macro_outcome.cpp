#include "app/macro_outcome.h"

#include <algorithm>

#include "app/text_names.h"

namespace vek {

bool allWentThrough(std::span<const SentMacro> sent) {
    return std::all_of(sent.begin(), sent.end(), [](const SentMacro& one) {
        return one.outcome.reached() && !one.outcome.isErrorAnswer();
    });
}

std::vector<BilingualText> macroProblems(std::span<const SentMacro> sent) {
    std::vector<BilingualText> problems;
    for (const SentMacro& one : sent) {
        const MacroOutcome& outcome = one.outcome;
        if (outcome.toldByTheLink() || (outcome.reached() && !outcome.isErrorAnswer())) continue;
        const BilingualText why = outcome.reached() ? untranslated(outcome.answer) : outcome.fault;
        problems.push_back(fill(Msg::MacroProblem, {untranslated(shownMacro(one.macro)), why}));
    }
    return problems;
}

std::string shownMacro(std::string_view macro) {
    if (macro.size() <= kMacroShownLength) return std::string(macro);
    std::size_t cut = kMacroShownLength;
    // Never in the middle of a character.
    while (cut > 0 && (static_cast<unsigned char>(macro[cut]) & 0xC0) == 0x80) --cut;
    return std::string(macro.substr(0, cut)) + "...";
}

}  // namespace vek
