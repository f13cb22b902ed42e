#include <gtest/gtest.h>

#include "app/file_io.h"
#include "demo/demo_installation.h"
#include "language/checker.h"
#include "objects/cob_compiler.h"
#include "objects/object_check.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::testing {
namespace {

TEST(CheckVerb, EveryDemoObjectMacroFileAndWorldScriptChecksClean) {
    TempDir dir;
    const demo::DemoLayout demo{dir.path()};
    demo::generateDemoInstallation(demo);
    std::vector<std::string> args = {"check"};
    for (const auto& folder : {demo.gameDirectory(), demo.programDirectory() / "mac"}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension == ".COS" || extension == ".COB" || extension == ".MAC")
                args.push_back(entry.path().string());
        }
    }
    ASSERT_GE(args.size(), 1u + 3 + 3 + 3);
    const VekRun run = runVekTool(args);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "");
    // Against their own installation too: every sprite file, image, sound and class is there.
    args.insert(args.end(), {"--game-dir", demo.gameDirectory().string(), "--classes",
                             (demo.programDirectory() / "classes.vek").string()});
    const VekRun installed = runVekTool(args);
    EXPECT_EQ(installed.status, 0) << installed.out;
    EXPECT_EQ(installed.out, "");

    for (const std::string& line : readFileLines(demo.gameDirectory() / "vivarium-world.txt")) {
        if (line.starts_with("*")) continue;
        const auto findings = checkMacro(MacroText(line), MacroKind::Macro, objectCheckOptions());
        EXPECT_TRUE(findings.empty()) << line << ": " << findings.front().text.english;
    }
}

TEST(CheckVerb, PrintsFindingsAsEditorsReadThemAndFailsOnErrors) {
    TempDir dir;
    writeSourceFile(dir / "bad.cos",
                    std::vector<std::string>{"inst", "\tzzzz 3", "\tsnde ab", "endm"});
    writeFileAtomically(dir / "warned.mac", "\"snde ab\r\nendm\"\r\n");
    const VekRun bad =
        runVekTool({"check", (dir / "bad.cos").string(), (dir / "warned.mac").string()});
    EXPECT_EQ(bad.status, 1);
    const std::string cos = (dir / "bad.cos").string();
    const std::string mac = (dir / "warned.mac").string();
    EXPECT_EQ(bad.out, cos + ":2:2: error: Unknown command \"zzzz\"\n" + cos +
                           ":3:7: warning: \"ab\" is not four characters long\n" + mac +
                           ":1:7: warning: \"ab\" is not four characters long\n");

    const VekRun warned = runVekTool({"check", mac});
    EXPECT_EQ(warned.status, 0);
    const VekRun input = runVekTool({"check", "-"}, "printf 'inst,tick 5\\n' |");
    EXPECT_EQ(input.status, 1);
    EXPECT_EQ(input.out, "-:1:11: error: The macro does not end with \"endm\"\n");
}

// A file of macros one a line, as world files hold them: each line is a macro of its own, its
// findings at its line; comments and empty lines are skipped, as the stand-in skips them.
TEST(CheckVerb, AFileOfMacrosIsCheckedLineByLine) {
    TempDir dir;
    const std::string world = pathToUtf8(dir / "world.txt");
    writeFileAtomically(dir / "world.txt",
                        "* a world\r\ninst,tick 5,endm\r\n\r\ninst,setv  var0 1,endm\r\n"
                        "scrp 2 5 3 9,zzzz,endm \r\ninst,,pose 0,endm\r\n");
    for (const std::string& input : {world, std::string("-")}) {
        const VekRun run = runVekTool({"check", input}, "", input == "-" ? world : "");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, input + ":4:11: error: The game crashes on two blanks in a row\n" +
                               input + ":5:14: error: Unknown command \"zzzz\"\n" + input +
                               ":5:23: error: The game crashes on a blank at the end of a macro\n" +
                               input + ":6:6: error: The game crashes on two commas in a row\n");
    }
}

TEST(CheckVerb, WarnsOfWhatTheInstallationLacksAndStillSucceeds) {
    TempDir dir;
    const demo::DemoLayout demo{dir.path()};
    demo::generateDemoInstallation(demo);
    const std::string source = (dir / "lacking.cos").string();
    writeSourceFile(source, std::vector<std::string>{"inst", "\tnew: simp nope 1 0 1000 0",
                                                     "\tsnde gone", "endm"});
    const VekRun plain = runVekTool({"check", source});
    EXPECT_EQ(plain.out, "");
    const VekRun run = runVekTool({"check", source, "--game-dir", demo.gameDirectory().string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, source +
                           ":2:12: warning: The sprite file \"nope\" is not in the game's image "
                           "folder\n" +
                           source +
                           ":3:7: warning: The sound \"gone\" is not in the game's sound "
                           "folder\n");
    // The global option and the environment name the game for the check as well.
    const std::string gameDir = demo.gameDirectory().string();
    EXPECT_EQ(runVekTool({"--game-dir", gameDir, "check", source}).out, run.out);
    EXPECT_EQ(runVekTool({"check", source}, "VEK_GAME_DIR=" + testing::shellQuoted(gameDir)).out,
              run.out);

    // With the catalogue: the routine's setv clas of a class it lacks, and a script of a class
    // that nothing in the source creates and it lacks; the catalogue's 2 5 3 and the created
    // 2 5 10 pass.
    const std::string scripts = (dir / "scripts.cos").string();
    writeSourceFile(scripts,
                    std::vector<std::string>{"inst", "\tnew: simp vbal 1 0 1000 0",
                                             "\tsetv clas 33884672", "endm", "scrp 2 5 9 9", "endm",
                                             "scrp 2 5 3 9", "endm", "scrp 2 5 10 9", "endm"});
    const VekRun classes = runVekTool(
        {"check", scripts, "--classes", (demo.programDirectory() / "classes.vek").string()});
    EXPECT_EQ(classes.status, 0);
    EXPECT_EQ(classes.out,
              scripts + ":3:12: warning: The class 2 5 10 is not in the class catalogue\n" +
                  scripts +
                  ":5:6: warning: Nothing in the source creates the class 2 5 9, and the class "
                  "catalogue does not hold it\n");
}

TEST(FormatVerb, PrintsOrRewritesTheLaidOutSourceKeepingItsLineBreaks) {
    TempDir dir;
    const std::string messy =
        "* ball\r\ninst\r\n  doif var0 eq 1\r\nsetv var0 2\r\nendi\r\nendm\r\n";
    const std::string tidy =
        "* ball\r\ninst\r\n\tdoif var0 eq 1\r\n\t\tsetv var0 2\r\n"
        "\tendi\r\nendm\r\n";
    writeFileAtomically(dir / "ball.cos", messy);
    writeFileAtomically(dir / "top.cos", "scrp 2 5 3 1\nreps 2\nrepe\nendm");
    const std::string ball = (dir / "ball.cos").string();
    const std::string top = (dir / "top.cos").string();

    const VekRun printed = runVekTool({"format", ball, top});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(printed.out, tidy + "scrp 2 5 3 1\n\treps 2\n\trepe\nendm");
    EXPECT_EQ(readFileText(dir / "ball.cos"), messy);

    const VekRun input = runVekTool({"format", "-"}, "printf 'inst\\n  tick 5\\nendm\\n' |");
    EXPECT_EQ(input.out, "inst\n\ttick 5\nendm\n");

    EXPECT_EQ(runVekTool({"format", "-i", ball}).status, 0);
    EXPECT_EQ(readFileText(dir / "ball.cos"), tidy);
    EXPECT_EQ(runVekTool({"format", "-i", "-"}).status, 2);
    EXPECT_EQ(runVekTool({"format", (dir / "none.cos").string()}).status, 1);
}

}  // namespace
}  // namespace vek::testing
