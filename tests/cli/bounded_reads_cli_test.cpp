#include <gtest/gtest.h>

#include <filesystem>

#include "app/file_io.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::testing {
namespace {

namespace fs = std::filesystem;

bool mentions(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// A file of `size` bytes that takes no room on the disk.
fs::path sparseFile(const fs::path& file, std::uint64_t size) {
    writeFileAtomically(file, std::string_view("x"));
    fs::resize_file(file, size);
    return file;
}

// Every read stops where the format ends, from a file or from standard input, and says why.
TEST(BoundedReads, EveryReadStopsAtWhatItsFormatCanHold) {
    TempDir dir;
    const std::string big = pathToUtf8(sparseFile(dir / "big.mac", kMaxSourceFileSize + 1));
    const std::string bigSource = pathToUtf8(sparseFile(dir / "big.cos", kMaxSourceFileSize + 1));
    const std::string bigMacros = pathToUtf8(sparseFile(dir / "big.txt", kMaxSourceFileSize + 1));
    writeSpriteFile(dir / "s.spr", std::vector<SpriteImage>{SpriteImage(2, 2)});
    const std::string sprite = pathToUtf8(dir / "s.spr");
    const std::string out = pathToUtf8(dir / "out.bmp");
    struct Case {
        std::vector<std::string> args;
        fs::path input;  // standard input, where the verb reads it
        std::string said;
    };
    const Case cases[] = {
        {{"check", big}, "", "holds at most 67108864"},
        {{"check", bigSource}, "", "holds at most 67108864"},
        {{"check", bigMacros}, "", "holds at most 67108864"},
        {{"check", "-"}, "/dev/zero", "More than 67108864 bytes arrived"},
        {{"thumbnail", "-", pathToUtf8(dir / "o.png")}, "/dev/zero", "There is no picture"},
        {{"cob", "compile", "-", pathToUtf8(dir / "o.cob")}, "/dev/zero", "More than 67108864"},
        {{"spr", "export", sprite, "0", out, "--palette", pathToUtf8(sparseFile(dir / "767", 767))},
         "",
         "exactly 768 bytes; this one holds 767"},
        {{"spr", "export", sprite, "0", out, "--palette", pathToUtf8(sparseFile(dir / "769", 769))},
         "",
         "holds at most 768"},
        {{"spr", "export", sprite, "0", out, "--palette",
          pathToUtf8(sparseFile(dir / "1g", std::uint64_t{1} << 30))},
         "",
         "holds at most 768"},
    };
    for (const Case& c : cases) {
        const std::string shown = c.args[0] + " " + c.args[1];
        const VekRun run = runVekTool(c.args, "", c.input);
        EXPECT_EQ(run.status, 1) << shown << ": " << run.err;
        EXPECT_TRUE(mentions(run.err, c.said)) << shown << ": " << run.err;
        EXPECT_LT(run.err.size(), 1000u) << shown;
    }
}

// Standard input that cannot be read is an error like any file's, and a second "-" sees the
// same macro as the first.
TEST(BoundedReads, StandardInputIsReadOnceAndItsFaultsAreTold) {
    TempDir dir;
    const VekRun folder = runVekTool({"check", "-"}, "", dir.path());
    EXPECT_EQ(folder.status, 1);
    EXPECT_TRUE(mentions(folder.err, "-: is a folder")) << folder.err;
    const VekRun closed = runVekTool({"check", "-"}, "exec 0<&-;");
    EXPECT_EQ(closed.status, 1);
    EXPECT_TRUE(mentions(closed.err, "Bad file descriptor")) << closed.err;
    EXPECT_FALSE(mentions(closed.out, "endm")) << closed.out;

    const VekRun twice = runVekTool({"check", "-", "-"}, "printf 'inst,zzzz 5,endm\\n' |");
    EXPECT_EQ(twice.status, 1);
    EXPECT_EQ(twice.out,
              "-:1:6: error: Unknown command \"zzzz\"\n"
              "-:1:6: error: Unknown command \"zzzz\"\n");
}

// A message quotes at most 60 characters of a token, and shows control characters escaped.
TEST(BoundedReads, MessagesQuoteTokensShortAndEscaped) {
    TempDir dir;
    const std::string token = "inst," + std::string(5000, 'q') + ",endm";
    writeFileAtomically(dir / "long.txt", token);
    const VekRun longToken = runVekTool({"check", pathToUtf8(dir / "long.txt")});
    EXPECT_EQ(longToken.out, pathToUtf8(dir / "long.txt") + ":1:6: error: Unknown command \"" +
                                 std::string(60, 'q') + "...\"\n");

    writeFileAtomically(dir / "esc.txt", std::string("inst,\x1b]0;x\x07\x1b[2J,endm"));
    const VekRun escaped = runVekTool({"check", pathToUtf8(dir / "esc.txt")});
    EXPECT_TRUE(mentions(escaped.out, "\\x1b]0")) << escaped.out;
    EXPECT_FALSE(mentions(escaped.out, "\x1b")) << escaped.out;

    const std::string named = pathToUtf8(dir / "a\x1b[2Jb.cos");
    const VekRun missing = runVekTool({"check", named});
    EXPECT_TRUE(mentions(missing.err, "a\\x1b[2Jb.cos")) << missing.err;
    EXPECT_FALSE(mentions(missing.err, "\x1b")) << missing.err;
}

// The command line speaks English throughout, also where the program's boxes keep the German
// texts of the run-time library.
TEST(BoundedReads, TheCommandLineTellsFailuresInEnglish) {
    TempDir dir;
    writeFileAtomically(dir / "short.spr", std::string_view("\x01\x00\x0a", 3));
    const std::string missing = pathToUtf8(dir / "missing.cos");
    struct Case {
        std::vector<std::string> args;
        std::string said;
    };
    const Case cases[] = {
        {{"check", missing}, "Cannot open file " + missing + "\nno such file or folder"},
        {{"spr", "list", pathToUtf8(dir / "missing.spr")}, "File not found\n"},
        {{"spr", "list", pathToUtf8(dir / "short.spr")}, "Read past the end of the file (EOF)\n"},
    };
    for (const Case& c : cases) {
        const VekRun run = runVekTool(c.args);
        EXPECT_EQ(run.status, 1) << c.args[0];
        EXPECT_TRUE(mentions(run.err, c.said)) << run.err;
        for (const char* german : {"Datei", "Kann ", "Lesen", "nicht"})
            EXPECT_FALSE(mentions(run.err, german)) << run.err;
    }
}

// Every verb that reads object files takes both extensions in any case.
TEST(BoundedReads, EveryVerbTakesObjectFilesByEitherNameInAnyCase) {
    TempDir dir;
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,endm"};
    cob.pictureWidth = 2;
    cob.pictureHeight = 2;
    cob.picturePixels = {1, 2, 3, 4};
    for (const char* name : {"a.cob", "b.COB", "c.rcb", "d.RCB", "e.Rcb"}) {
        writeCobFile(dir / name, cob);
        const std::string file = pathToUtf8(dir / name);
        const std::vector<std::vector<std::string>> verbs = {
            {"check", file},
            {"cob", "info", file},
            {"cob", "discompile", file, "-o", pathToUtf8(dir / (std::string(name) + ".cos"))},
            {"thumbnail", file, pathToUtf8(dir / (std::string(name) + ".png"))},
        };
        for (const auto& args : verbs) {
            const VekRun run = runVekTool(args);
            EXPECT_EQ(run.status, 0) << name << " " << args[0] << ": " << run.err << run.out;
        }
    }
}

// A picture with one side 0 draws nothing, in a thumbnail and in an export.
TEST(BoundedReads, PicturesWithASideOfZeroHaveNothingToShow) {
    TempDir dir;
    const std::string png = pathToUtf8(dir / "o.png");
    const fs::path palette = dir / "palette.dta";
    writeFileAtomically(palette, std::vector<std::uint8_t>(768, 0));
    for (const auto& [width, height] : {std::pair{0, 1}, {0, 500}, {500, 0}}) {
        const fs::path sprite = dir / "side.spr";
        writeSpriteFile(sprite,
                        std::vector<SpriteImage>{SpriteImage(static_cast<std::uint16_t>(width),
                                                             static_cast<std::uint16_t>(height))});
        CobData cob;
        cob.pictureWidth = width;
        cob.pictureHeight = height;
        writeCobFile(dir / "side.cob", cob);
        const struct {
            std::vector<std::string> args;
            std::string said;
        } cases[] = {
            {{"thumbnail", pathToUtf8(sprite), png}, "There is no picture to show."},
            {{"thumbnail", pathToUtf8(dir / "side.cob"), png}, "There is no picture to show."},
            {{"spr", "export", pathToUtf8(sprite), "0", pathToUtf8(dir / "o.bmp"), "--palette",
              pathToUtf8(palette)},
             "The area is empty"},
        };
        for (const auto& c : cases) {
            const VekRun run = runVekTool(c.args);
            EXPECT_EQ(run.status, 1) << width << "x" << height << " " << c.args[1] << run.err;
            EXPECT_TRUE(mentions(run.err, c.said)) << run.err;
        }
    }
}

}  // namespace
}  // namespace vek::testing
