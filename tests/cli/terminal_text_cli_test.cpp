#include <gtest/gtest.h>

#include <sstream>

#include "app/file_io.h"
#include "cli/cli.h"
#include "objects/classifier.h"
#include "objects/cob_compiler.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::testing {
namespace {

// What would steer a terminal or reorder the line it stands on: ESC, BEL, CSI as a C1 control
// in UTF-8, and the right-to-left override.
constexpr std::string_view kHostile[] = {"\x1b", "\x07", "\xc2\x9b", "\xe2\x80\xae"};

bool showsRaw(const std::string& printed) {
    for (const std::string_view raw : kHostile)
        if (printed.find(raw) != std::string::npos) return true;
    return false;
}

// Every line the tool prints of file names, source text and sound names shows such characters
// escaped, on standard output as on standard error.
TEST(TerminalText, FileNamesSourceTextAndSoundNamesArePrintedEscaped) {
    TempDir dir;
    const std::string hostile =
        "\x1b]0;x\x07\xc2\x9b"
        "2J\xe2\x80\xae";
    const std::string escaped = "\\x1b]0;x\\x07\\u009b2J\\u202e";
    std::filesystem::create_directories(dir / "game" / "Images");
    std::filesystem::create_directories(dir / "game" / "Sounds");
    writeSpriteFile(dir / "game" / "Images" / "DOGG.SPR", std::vector<SpriteImage>(3, {8, 6, 1}));
    writeFileAtomically(dir / "game" / "Sounds" / pathFromUtf8(hostile + ".wav"), "RIFF");
    const std::string clas = std::to_string(Classifier{2, 10, 1}.classNumber());
    const std::string source = pathToUtf8(dir / pathFromUtf8(hostile + ".cos"));
    // The sound's name is source text; pose 7 is beyond the sprite file's images: a fault.
    writeSourceFile(
        pathFromUtf8(source),
        std::vector<std::string>{"inst", "new: simp dogg 3 0 1000 0", "setv clas " + clas,
                                 "snde " + hostile, "pose 7", "endm"});
    const std::string macro = pathToUtf8(dir / pathFromUtf8(hostile + ".txt"));
    writeFileAtomically(pathFromUtf8(macro), "inst,tikc 5,endm");
    const std::string game = pathToUtf8(dir / "game");
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::string shown;  // on standard output
    } cases[] = {
        {"a fault of vek try",
         {"try", source, "--ticks", "1", "--game-dir", game},
         // Control bytes make the source binary: refused, its name escaped.
         pathToUtf8(dir.path()) + "/" + escaped + ".cos, byte"},
        {"a sound of vek try --trace",
         {"try", source, "--ticks", "1", "--game-dir", game, "--trace"},
         escaped + ".cos, byte"},
        {"a finding of vek check", {"check", macro}, escaped + ".txt:1:6: error"},
        {"a sound file of vek sounds", {"--game-dir", game, "sounds"}, escaped + ".wav"},
    };
    for (const auto& c : cases) {
        const VekRun run = runVekTool(c.args);
        EXPECT_FALSE(showsRaw(run.out)) << c.what << ": " << run.out;
        EXPECT_FALSE(showsRaw(run.err)) << c.what << ": " << run.err;
        EXPECT_NE((run.out + run.err).find(c.shown), std::string::npos)
            << c.what << ": " << run.out << run.err;
    }
}

// A character written a byte at a time comes out whole, or escaped where it steers.
TEST(TerminalText, TheEscapingStreamWaitsForACharactersLastByte) {
    const struct {
        std::string written;
        std::string shown;
    } cases[] = {
        {"gr\xc3\xbc\xc3\x9f", "gr\xc3\xbc\xc3\x9f"},
        {"\xe2\x80\xae\xc2\x9b\x1b", "\\u202e\\u009b\\x1b"},
        {"cut \xe2\x80", "cut \\xe2\\x80"},  // shown when the stream is flushed
    };
    for (const auto& c : cases) {
        std::ostringstream target;
        {
            cli::EscapingStream stream(target);
            for (const char byte : c.written) stream << byte;
        }
        EXPECT_EQ(target.str(), c.shown);
    }
}

}  // namespace
}  // namespace vek::testing
