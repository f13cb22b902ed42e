#include <gtest/gtest.h>

#include "app/byte_io.h"
#include "app/file_io.h"
#include "generators/object_assistant.h"
#include "support/temp_dir.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using testing::errorOf;
using Lines = std::vector<std::string>;

const Lines kCreatureHeader = {"* Auto Creature", "* COB Assistent", "name CREATURE",
                               "quantity 1",      "used 0",          ""};

Lines indented(std::initializer_list<const char*> lines) {
    Lines out;
    for (const char* line : lines) out.push_back(std::string("       ") + line);
    return out;
}

Lines joined(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(ObjectAssistant, CreatureFromParentsAsEggAndAsCreature) {
    const Lines egg =
        joined({kCreatureHeader,
                {"inst"},
                indented({"new: simp eggs 8 32 2000 0", "pose 0", "setv clas 33882624",
                          "setv attr 64", "new: gene tokn mum1 tokn dad2 var0", "setv obv0 var0",
                          "setv obv1 0", "mvto 2848 868", "sys: cmra 2648 732", "slim", "evnt targ",
                          "tick 100", "dde: negg", "endm"})});
    EXPECT_EQ(creatureFromParentsSource("mum1", "dad2", CreatureSex::Random, ArrivalForm::Egg),
              egg);
    const Lines hatched = joined(
        {kCreatureHeader,
         {"inst"},
         indented({"new: gene tokn mum1 tokn dad2 var0", "new: crea var0 2", "mvto 2548 800",
                   "sys: cmra 2448 630", "slim", "evnt targ", "tick 100", "dde: negg", "endm"})});
    EXPECT_EQ(creatureFromParentsSource("mum1", "dad2", CreatureSex::Female, ArrivalForm::Creature),
              hatched);
}

TEST(ObjectAssistant, CloneAsEggAndAsCreatureWithItsEndi) {
    Lines header = kCreatureHeader;
    header[2] = "name Cloned CREATURE";
    const Lines egg = joined(
        {header,
         {"inst"},
         indented({"new: simp eggs 8 32 2000 0", "pose 0", "setv clas 33882624", "setv attr 64",
                   "setv obv0 tokn abcd", "setv obv1 2", "mvto 2848 868", "sys: cmra 2648 732",
                   "slim", "evnt targ", "tick 100", "dde: negg", "endm"})});
    EXPECT_EQ(cloneSource("abcd", CreatureSex::Female, ArrivalForm::Egg), egg);
    const Lines hatched =
        joined({header,
                {"inst"},
                indented({"new: crea tokn abcd 1", "mvto 2548 800", "sys: cmra 2448 630", "slim",
                          "evnt targ", "tick 100", "dde: negg", "endi", "endm"})});
    EXPECT_EQ(cloneSource(genomeToken("abcdef.gen"), CreatureSex::Male, ArrivalForm::Creature),
              hatched);
    EXPECT_EQ(genomeToken("ab"), "ab");
}

TEST(ObjectAssistant, InfusionCopiesTheAmountsAsTyped) {
    const std::array<ChemicalDose, kInfusionChemicals> doses = {
        {{12, "200"}, {0, ""}, {255, "1"}, {0, "0"}}};
    const Lines expected = {"* Auto Infusion",
                            "* COB Assistent",
                            "name Infusion",
                            "quantity 1",
                            "used 0",
                            "",
                            "inst",
                            "new: simp zzzz 1 6 3500 0",
                            "setv clas 34010880",
                            "setv attr 18",
                            "bhvr 0 1",
                            "mesg writ targ 8",
                            "endm",
                            "scrp 2 6 247 9",
                            "stim writ norn 10 255 0 0 12 200 0  255 1 0 0",
                            "kill targ",
                            "endm",
                            "scrp 2 6 247 7",
                            "tick 10",
                            "endm"};
    EXPECT_EQ(infusionSource(doses), expected);
}

std::vector<std::uint8_t> chemicalsFile(std::size_t records) {
    ByteWriter out;
    for (std::size_t k = 0; k < records; ++k) {
        const std::string name = k == 1 ? std::string() : "Chem\xE4" + std::to_string(k);
        out.u16(static_cast<std::uint16_t>(name.size()));
        out.text(name);
    }
    return out.take();
}

TEST(ObjectAssistant, ChemicalNamesAndTheirBadFiles) {
    ChemicalNames names;
    readChemicalNames(chemicalsFile(256), names);
    EXPECT_EQ(names[0], "Chemä0");
    EXPECT_EQ(names[1], "") << "a record of length 0";
    EXPECT_EQ(names[255], "Chemä255");

    EXPECT_EQ(errorOf([&] { readChemicalNames(chemicalsFile(10), names); }),
              "chemicals.txt ends before the name of chemical 10");
    EXPECT_EQ(names[9], "Chemä9") << "the names read stay";
    EXPECT_EQ(names[10], "");

    std::vector<std::uint8_t> huge = chemicalsFile(3);
    huge.push_back(0xFF);
    huge.push_back(0xFF);
    EXPECT_EQ(errorOf([&] { readChemicalNames(huge, names); }),
              "The name of chemical 3 claims 65535 bytes; chemicals.txt holds only 0 more");

    testing::TempDir dir;
    EXPECT_EQ(errorOf([&] { readChemicalNamesFile(dir / "chemicals.txt", names); }),
              std::string_view(kFileNotFound));
    EXPECT_EQ(names[0], "");
}

}  // namespace
}  // namespace vek
