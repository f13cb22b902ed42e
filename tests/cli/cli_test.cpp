#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::cli {
namespace {

testing::VekRun vek(const std::vector<std::string>& args) { return testing::runVekHere(args); }

TEST(VekTool, HelpListsEveryVerbAndEachVerbHasItsOwn) {
    const testing::VekRun help = vek({"--help"});
    EXPECT_EQ(help.status, kSuccess);
    for (const Verb& verb : allVerbs()) {
        EXPECT_NE(help.out.find(std::string(verb.name)), std::string::npos) << verb.name;
        const testing::VekRun verbHelp = vek({std::string(verb.name), "--help"});
        EXPECT_EQ(verbHelp.status, kSuccess);
        EXPECT_EQ(verbHelp.out, verb.usage);
        EXPECT_NE(verb.usage.find("usage: vek " + std::string(verb.name)), std::string::npos)
            << verb.name;
    }
}

TEST(VekTool, UsageErrorsExitWithTwoOnStandardError) {
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"no-such-verb"},
                                                                  {"--game-dir"},
                                                                  {"--frobnicate", "demo"},
                                                                  {"demo", "--frobnicate"},
                                                                  {"demo", "a", "b"}}) {
        const testing::VekRun run = vek(args);
        EXPECT_EQ(run.status, kUsageError);
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
}

TEST(VekTool, TheDemoVerbWritesAnInstallationOnce) {
    testing::TempDir dir;
    const testing::VekRun first = vek({"demo", (dir / "d").string()});
    ASSERT_EQ(first.status, kSuccess) << first.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "d" / "Creatures" / "Palettes" / "palette.dta"));
    EXPECT_NE(first.out.find("game directory:"), std::string::npos);
}

TEST(ArgumentList, SeparatesOptionsFlagsAndValues) {
    const ArgumentList args({"a", "--zoom", "4", "b", "--force", "--zoom", "8"}, {"--zoom"},
                            {"--force"});
    EXPECT_EQ(args.positional(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(args.option("--zoom"), "8");
    EXPECT_FALSE(args.option("--palette").has_value());
    EXPECT_TRUE(args.flag("--force"));
    EXPECT_THROW(args.expectPositional(3, 3), UsageError);
    EXPECT_THROW(ArgumentList({"--zoom"}, {"--zoom"}), UsageError);
    EXPECT_EQ(parseIntArgument("-12", "N"), -12);
    EXPECT_THROW(parseIntArgument("12x", "N"), UsageError);
}

}  // namespace
}  // namespace vek::cli
