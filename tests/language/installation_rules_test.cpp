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

}  // namespace
}  // namespace vek
