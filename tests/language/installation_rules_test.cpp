#include <gtest/gtest.h>

#include "language/checker.h"
#include "language/installation_rules.h"

namespace vek {
namespace {

// An installation of two sprite files and one sound, whose catalogue holds the class 2 5 3.
std::shared_ptr<InstallationFacts> installation() {
    auto facts = std::make_shared<InstallationFacts>();
    facts->spriteCounts = std::map<std::string, std::size_t>{{"ball", 4}, {"vtop", 10}};
    facts->sounds = std::set<std::string>{"drip"};
    facts->knowsClass = [](int family, int genus, int species) {
        return family == 2 && genus == 5 && species == 3;
    };
    return facts;
}

// The installation findings of a macro, as "column code subject".
std::vector<std::string> installationFindings(std::string_view macro,
                                              std::set<FindingCode> switchedOff = {}) {
    CheckOptions options;
    options.installation = installation();
    options.switchedOff = std::move(switchedOff);
    std::vector<std::string> found;
    for (const Finding& f : checkMacro(MacroText(macro), MacroKind::Macro, options)) {
        EXPECT_EQ(f.severity, Severity::Warning) << f.text.english;
        found.push_back(std::to_string(f.position.column) + " " + f.subject);
    }
    return found;
}

TEST(InstallationRules, FindWhatTheInstallationLacks) {
    const struct {
        const char* macro;
        std::vector<std::string> found;
    } cases[] = {
        // Sprite files: found in any letter case; images within the file.
        {"inst,new: simp BALL 4 0 1000 0,endm", {}},
        {"inst,new: simp bal2 1 0 1000 0,endm", {"16 bal2"}},
        {"inst,new: simp ball 2 3 1000 0,endm", {"23 3"}},
        {"inst,new: simp vtop 1 -1 1000 0,endm", {"23 -1"}},
        {"inst,new: comp ball 4 0 0,endm", {}},
        // Poses and animation frames within the images the object was created with.
        {"inst,new: simp ball 3 0 1000 0,pose 2,anim [0120R],endm", {}},
        {"inst,new: simp ball 3 0 1000 0,pose 3,endm", {"37 3"}},
        {"inst,new: simp ball 3 0 1000 0,anim [0123R],endm", {"37 [0123R]"}},
        // Once the target may be another object, nothing is known of its images.
        {"inst,new: simp ball 3 0 1000 0,targ ownr,pose 7,endm", {}},
        {"inst,new: simp ball var0 0 1000 0,pose 7,endm", {}},
        // Sounds.
        {"inst,snde drip,sndc DRIP,endm", {}},
        {"inst,snde drop,sndl spla,endm", {"11 drop", "21 spla"}},
        // Classes: a number written out, packed as setv clas takes it.
        {"inst,new: simp ball 1 0 1000 0,setv clas 33882880,endm", {}},
        {"inst,new: simp ball 1 0 1000 0,setv clas 33883136,endm", {"42 33883136"}},
        {"inst,new: simp ball 1 0 1000 0,setv clas var1,endm", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(installationFindings(c.macro), c.found) << c.macro;
}

TEST(InstallationRules, EachKindCanBeSwitchedOffAndUnknownFoldersReportNothing) {
    const std::string_view macro =
        "inst,new: simp nope 1 0 1000 0,setv clas 1,snde none,new: simp ball 9 0 1000 0,endm";
    EXPECT_EQ(installationFindings(macro).size(), 4u);
    std::set<FindingCode> all(kInstallationFindings.begin(), kInstallationFindings.end());
    EXPECT_TRUE(installationFindings(macro, all).empty());
    EXPECT_EQ(installationFindings(macro, {FindingCode::SoundMissing}).size(), 3u);

    CheckOptions options;
    options.installation = std::make_shared<InstallationFacts>();  // no folder read, no catalogue
    EXPECT_TRUE(checkMacro(MacroText(macro), MacroKind::Macro, options).empty());
}

TEST(InstallationRules, ClassNumbersUnpackAsSetvClasPacksThem) {
    const PackedClass packed = unpackClass((2LL << 24) | (5 << 16) | (3 << 8));
    EXPECT_EQ(std::tuple(packed.family, packed.genus, packed.species), std::tuple(2, 5, 3));
    const PackedClass top = unpackClass(0xFFFFFF00LL);
    EXPECT_EQ(std::tuple(top.family, top.genus, top.species), std::tuple(255, 255, 255));
}

// The warnings on scripts of a source given as its sections' macros, as "section:line:column
// subject"; the catalogue holds only 2 5 3.
std::vector<std::string> uncreatedScriptClasses(std::vector<std::string_view> macros) {
    std::vector<SectionClasses> sections;
    for (std::string_view macro : macros) sections.push_back(sectionClassesOf(MacroText(macro)));
    std::vector<std::string> found;
    for (const ScriptClassFinding& f : scriptsOfUncreatedClasses(sections, *installation())) {
        EXPECT_EQ(f.finding.code, FindingCode::ClassUnknown);
        EXPECT_EQ(f.finding.severity, Severity::Warning);
        EXPECT_EQ(f.finding.length, static_cast<int>(f.finding.subject.size()));
        found.push_back(std::to_string(f.section) + ":" + std::to_string(f.finding.position.line) +
                        ":" + std::to_string(f.finding.position.column) + " " + f.finding.subject);
    }
    return found;
}

TEST(InstallationRules, FindScriptsOfClassesNothingCreatesAndTheCatalogueLacks) {
    const std::string_view makes2_5_4 = "inst,new: simp ball 1 0 1000 0,setv clas 33883136,endm";
    const struct {
        std::vector<std::string_view> sections;
        std::vector<std::string> found;
    } cases[] = {
        // Created by a routine of the source, or held by the catalogue: no warning.
        {{makes2_5_4, "scrp 2 5 4 9,endm"}, {}},
        {{"scrp 2 5 4 9,endm", makes2_5_4}, {}},
        {{"scrp 2 5 3 9,endm"}, {}},
        // Neither: the script's class is marked, from the family to the species.
        {{"scrp 2 5 4 9,endm"}, {"0:1:6 2 5 4"}},
        {{makes2_5_4, "scrp  2 5  7 1,endm"}, {"1:1:7 2 5  7"}},
        // The class set while another object may be the target creates nothing.
        {{"inst,new: simp ball 1 0 1000 0,targ norn,setv clas 33883136,endm", "scrp 2 5 4 9,endm"},
         {"1:1:6 2 5 4"}},
        // setv clas without a new: before it gives no created object its class.
        {{"inst,setv clas 33883136,endm", "scrp 2 5 4 9,endm"}, {"1:1:6 2 5 4"}},
        // Each object of a routine gets the class set after its own new:.
        {{"inst,new: simp ball 1 0 1000 0,setv clas 33882880,new: comp ball 1 0 0,setv clas "
          "33883392,endm",
          "scrp 2 5 5 9,endm", "scrp 2 5 4 9,endm"},
         {"2:1:6 2 5 4"}},
        // A script that creates an object counts too.
        {{"scrp 2 5 3 9,new: simp ball 1 0 1000 0,setv clas 33883136,endm", "scrp 2 5 4 1,endm"},
         {}},
        // A class the check cannot read may be any: no warning at all.
        {{"inst,new: simp ball 1 0 1000 0,setv clas var0,endm", "scrp 2 5 4 9,endm"}, {}},
        // 0 stands for any class part, and a part the check cannot read is not checked.
        {{"scrp 2 0 0 9,endm", "scrp 2 var0 4 9,endm", "scrp 2 5 300 9,endm"}, {}},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (std::string_view section : c.sections) shown.append(section).append(" | ");
        EXPECT_EQ(uncreatedScriptClasses(c.sections), c.found) << shown;
    }
    // Without a catalogue nothing is known to be missing.
    const SectionClasses script = sectionClassesOf(MacroText("scrp 2 5 4 9,endm"));
    EXPECT_TRUE(scriptsOfUncreatedClasses(std::span(&script, 1), InstallationFacts{}).empty());
}

}  // namespace
}  // namespace vek
