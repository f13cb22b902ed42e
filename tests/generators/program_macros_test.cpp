#include <gtest/gtest.h>

#include <map>

#include "app/file_io.h"
#include "gamelink/launcher_object.h"
#include "gamelink/macro_extraction.h"
#include "generators/object_assistant.h"
#include "generators/simple_object_source.h"
#include "objects/injection.h"
#include "objects/macro_insertion.h"
#include "objects/object_check.h"
#include "objects/script_events.h"
#include "support/findings.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

using testing::describeFindings;

using Lines = std::vector<std::string>;

std::string macroFindings(std::string_view macro) {
    return describeFindings(checkMacro(MacroText(macro), MacroKind::Macro, objectCheckOptions()));
}

// Scripts as the game hands them to the extraction, by event.
const std::map<int, std::string> kWorldScripts = {
    {1, "snde drip,anim [0123],over,endm"},
    {9, "doif obv0 eq 1,setv obv0 0,pose 0,endi,endm"},
    {12, "stim writ from 0 255 0 0 11 30 0 0 0 0 0 0,kill ownr,endm"},
};

TEST(ProgramMacros, WhatTheLinkSendsAndTheExtractionSavesChecksClean) {
    for (const std::string_view macro :
         {kLauncherMacro, kInjectionClosingMacro, kKillEditMacro, kEnumerationMacro})
        EXPECT_EQ(macroFindings(macro), "") << macro;
    EXPECT_EQ(macroFindings(scriptInjectionMacro("scrp 2 5 3 1,snde drip,endm")), "");

    testing::TempDir mac;
    std::vector<std::string> sent;
    const auto game = [&](std::string_view macro) -> std::string {
        sent.emplace_back(macro);
        if (macro == kEnumerationMacro) return "2|5|3|2|13|1|";
        for (const auto& [event, script] : kWorldScripts) {
            const std::string request = scriptRequestMacro({"", 0, 0, 0}, event);
            if (macro.ends_with(request.substr(request.rfind(' ')))) return script;
        }
        return "";
    };
    extractAllMacros(game, mac.path(), kLanguageEnglish, [](const std::string&) {});
    EXPECT_EQ(sent.size(), 1u + 2 * 73);
    for (const std::string& macro : sent) EXPECT_EQ(macroFindings(macro), "") << macro;
    std::size_t files = 0;
    for (const std::string& name : macroFileNames(mac.path())) {
        EXPECT_EQ(describeFindings(checkMacroFileLines(readFileLines(mac / name))), "") << name;
        ++files;
    }
    EXPECT_EQ(files, 2 * kWorldScripts.size());
}

TEST(ProgramMacros, EveryChoiceOfTheSimpleObjectFormChecksClean) {
    const ClassSelection ball = ClassSelection::of("2 5 3 {Ball}");
    SimpleObjectForm form;
    form.name = "Ball";
    form.file = "ball";
    for (std::size_t position = 0; position < scriptEventList().size(); ++position)
        form.emptyScripts.push_back(position);
    for (const auto& [event, script] : kWorldScripts)
        form.macroScripts.push_back({macroFileName(2, 5, 3, event), macroFileLines(script)});
    for (int choice = 0; choice < 5 * 8 * 4 * 256; ++choice) {
        form.click = choice % 5;
        form.creatures = choice / 5 % 8;
        form.edit = choice / 40 % 2 == 1;
        form.cloneSprites = choice / 80 % 2 == 1;
        form.attributes = choice / 160 & ~kContainer;
        // Only the attributes change from here on: one full check of them is enough.
        if (choice >= 160 && choice % 160 != 0) continue;
        const std::vector<Finding> findings = checkSourceLines(simpleObjectSource(form, ball));
        ASSERT_EQ(describeFindings(findings), "") << "choice " << choice;
    }
}

TEST(ProgramMacros, TheAssistantsSourcesHaveNoErrors) {
    const auto errorsOf = [](const Lines& source) {
        std::vector<Finding> errors = checkSourceLines(source);
        std::erase_if(errors, [](const Finding& f) { return !f.isError(); });
        return describeFindings(errors);
    };
    const ChemicalDose doses[kInfusionChemicals] = {{12, "30"}, {0, "0"}, {255, "255"}, {7, "1"}};
    EXPECT_EQ(describeFindings(checkSourceLines(infusionSource(doses))), "");
    for (const CreatureSex sex : {CreatureSex::Random, CreatureSex::Male, CreatureSex::Female}) {
        for (const ArrivalForm form : {ArrivalForm::Egg, ArrivalForm::Creature}) {
            EXPECT_EQ(describeFindings(
                          checkSourceLines(creatureFromParentsSource("mumm", "dadd", sex, form))),
                      "");
            const std::vector<Finding> clone = checkSourceLines(cloneSource("abcd", sex, form));
            EXPECT_EQ(errorsOf(cloneSource("abcd", sex, form)), "");
            // The hatched clone's designed endi, with no doif before it, is pointed out.
            EXPECT_EQ(clone.size(), form == ArrivalForm::Creature ? 1u : 0u)
                << describeFindings(clone);
        }
    }
}

TEST(ProgramMacros, InsertingAMacroFileOfAnyNamedEventChecksClean) {
    const Lines file = {"\"snde drip", "anim [0123]", "over", "endm\""};
    for (const std::string_view entry : scriptEventList().entries()) {
        const int event = std::stoi(std::string(entry.substr(0, 2)));
        const Lines inserted = macroInsertionLines(macroFileName(2, 5, 3, event), file);
        EXPECT_EQ(describeFindings(checkSourceLines(inserted)), "") << entry;
    }
}

}  // namespace
}  // namespace vek
