#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_installation.h"
#include "generators/class_catalogue.h"
#include "generators/object_assistant.h"
#include "support/temp_dir.h"

namespace vek::demo {
namespace {

TEST(DemoGenerators, CatalogueImportChemicalsAndGeneticsFitTogether) {
    testing::TempDir dir;
    const DemoLayout layout{dir.path()};
    generateDemoInstallation(layout);
    const std::filesystem::path program = layout.programDirectory();

    ClassCatalogue catalogue;
    catalogue.readFile(program / "classes.vek");
    std::vector<std::size_t> familyNumbers;
    for (const ClassEntry& family : catalogue.families())
        familyNumbers.push_back(static_cast<std::size_t>(classPartsOf(family.text).family));
    EXPECT_EQ(familyNumbers, (std::vector<std::size_t>{1, 2, 3, 4}));
    EXPECT_GE(catalogue.families()[1].children.size(), 3u) << "several genera of family 2";
    EXPECT_EQ(importObjedFile(program / "objed.dta").lines(), catalogue.lines());

    ChemicalNames names;
    readChemicalNamesFile(program / "chemicals.txt", names);
    EXPECT_FALSE(names[255].empty());

    const auto genetics = pathFromUtf8(gamePathsUnder(layout.gameDirectory()).CGeneticsPath);
    for (const char* name : {"mum1.gen", "mum6.gen", "dad1.gen", "dad6.gen", "gren.gen"})
        EXPECT_TRUE(std::filesystem::exists(genetics / name)) << name;
    EXPECT_TRUE(std::filesystem::exists(program / "mac" / "02050300.MAC"));
}

}  // namespace
}  // namespace vek::demo
