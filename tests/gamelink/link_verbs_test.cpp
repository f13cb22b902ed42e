#include <gtest/gtest.h>

#include <fstream>

#include "app/file_io.h"
#include "gamelink/sim_harness.h"
#include "objects/cob_data.h"
#include "support/temp_dir.h"

namespace vek::testing {
namespace {

// The vek tool run against a stand-in game on a private socket.
class LinkVerbsTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path socket = dir / "game";

    int vek(std::vector<std::string> args) {
        args.insert(args.begin(), (binaryDirectory() / "vek").string());
        return runProgram(args, {"VEK_LINK_SOCKET=" + socket.string(), "VEK_GAME_DIR="},
                          dir / "out.txt");
    }
    std::string out() { return readFileText(dir / "out.txt"); }
    std::string err() { return readFileText(dir / "out.txt.err"); }
};

TEST_F(LinkVerbsTest, SendPrintsTheAnswerAndAMissingGameGoesToStandardError) {
    {
        SimProcess sim(socket);
        EXPECT_EQ(vek({"send", "inst,dde: putv 12,dde: putv 34,endm"}), 0);
        EXPECT_EQ(out(), "12|34|\n");
        EXPECT_EQ(err(), "");
    }
    EXPECT_EQ(vek({"send", "inst,endm"}), 1);
    EXPECT_EQ(out(), "");
    EXPECT_EQ(err(), "Creatures not found! Run Creatures! \nvek: the socket " + socket.string() +
                         ": no game serves there (it does not exist)\n");
    EXPECT_EQ(vek({"send"}), 2);
}

TEST_F(LinkVerbsTest, InjectSendsTheObjectFile) {
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,inst,snde honk,endm"};
    cob.imports = {"inst,new: simp ball 1 0 3500 0,setv clas 33882880,endm"};
    writeCobFile(dir / "ball.cob", cob);
    std::ofstream(dir / "log.txt");
    SimProcess sim(socket, {"--log", (dir / "log.txt").string()});
    EXPECT_EQ(vek({"inject", (dir / "ball.cob").string()}), 0);
    EXPECT_EQ(out(), "Sending Script 1\nImporting Object\n");
    EXPECT_EQ(readFileLines(dir / "log.txt"),
              (std::vector<std::string>{
                  "dde: scrp 0 0 0 17,inst,scrp 2 5 3 1,inst,snde honk,endm",
                  "dde: scrp 0 0 0 17,inst,new: simp ball 1 0 3500 0,setv clas 33882880,endm,endm",
                  "inst,sys: wtop,endm"}));

    writeCobFile(dir / "empty.cob", CobData{});
    EXPECT_EQ(vek({"inject", (dir / "empty.cob").string()}), 1);
    EXPECT_EQ(err(), "No COB Data in memory! Load a COB or compile a COS.\n");
    EXPECT_EQ(vek({"inject", (dir / "missing.cob").string()}), 1);
    // The command line prints the text in English and, on a second line, the file.
    EXPECT_EQ(err(),
              "File not found\n" + pathToUtf8(dir / "missing.cob") + ": no such file or folder\n");
}

TEST_F(LinkVerbsTest, ExtractWritesTheMacroFilesIntoTheFolderNamed) {
    std::ofstream(dir / "world.txt") << "inst,new: simp ball 1 0 10 0,setv clas 33882880,endm\n"
                                        "scrp 2 5 3 1,inst,snde honk,endm\n";
    SimProcess sim(socket, {"--seed", (dir / "world.txt").string()});
    EXPECT_EQ(vek({"extract", "--out", (dir / "macros").string()}), 0);
    EXPECT_EQ(readFileText(dir / "macros" / "02050301.MAC"), "\"inst\r\nsnde honk\r\nendm\"\r\n");
    EXPECT_NE(out().find("Scanning Object 1 of 1 (2 5 3 )"), std::string::npos) << out();
    EXPECT_NE(out().find("1 files written for 1 classes"), std::string::npos);
}

// A macro or object with errors never reaches the game, unless the user says so.
TEST_F(LinkVerbsTest, SendAndInjectRefuseErrorsUnlessToldNotToCheck) {
    std::ofstream(dir / "log.txt");
    SimProcess sim(socket, {"--log", (dir / "log.txt").string()});
    EXPECT_EQ(vek({"send", "inst,zzzz 3,endm"}), 1);
    EXPECT_EQ(err(),
              "macro:1:6: error: Unknown command \"zzzz\"\n"
              "vek: nothing was sent: the game may crash on these errors; --no-check sends all "
              "the same\n");
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,doif obv0 eq 1,endm"};
    writeCobFile(dir / "bad.cob", cob);
    EXPECT_EQ(vek({"inject", (dir / "bad.cob").string()}), 1);
    EXPECT_NE(err().find("bad.cob:1:14: error: \"doif\" is not closed by \"endi\""),
              std::string::npos)
        << err();
    EXPECT_EQ(readFileText(dir / "log.txt"), "");

    // Sent all the same, the game's error answer fails the verb.
    EXPECT_EQ(vek({"send", "--no-check", "inst,zzzz 3,endm"}), 1);
    EXPECT_EQ(out(), "");
    EXPECT_EQ(err(),
              "macro:1:6: error: Unknown command \"zzzz\"\n"
              "The game answered with an error: Error: unknown command 'zzzz 3'\n");
    EXPECT_EQ(readFileLines(dir / "log.txt"), std::vector<std::string>{"inst,zzzz 3,endm"});
}

// A game that answers every frame the same way; the conversation is always taken.
ScriptedServer::Handler answeringEvery(FrameKind poke, LinkFrame requestAnswer) {
    return [poke, requestAnswer](int fd) {
        FrameReader reader(1 << 20);
        while (auto frame = readFrame(fd, reader)) {
            if (frame->kind == FrameKind::Connect)
                writeFrame(fd, {FrameKind::Ack, frame->topic, {}, {}});
            if (frame->kind == FrameKind::Poke) writeFrame(fd, {poke, frame->topic, {}, {}});
            if (frame->kind == FrameKind::Request) writeFrame(fd, requestAnswer);
        }
    };
}

TEST_F(LinkVerbsTest, AGameThatRefusesOrAnswersNothingFailsSendAndInject) {
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,inst,snde honk,endm"};
    writeCobFile(dir / "ball.cob", cob);
    {
        ScriptedServer game(socket,
                            answeringEvery(FrameKind::Refused, {FrameKind::Refused, {}, {}, {}}));
        EXPECT_EQ(vek({"send", "inst,endm"}), 1);
        EXPECT_EQ(err(), "The game refused the macro: inst,endm\n");
        EXPECT_EQ(vek({"inject", (dir / "ball.cob").string()}), 1);
        EXPECT_EQ(out(), "Sending Script 1\n");
        EXPECT_NE(err().find("The game refused the macro: dde: scrp"), std::string::npos);
    }
    ScriptedServer game(socket,
                        answeringEvery(FrameKind::Ack, {FrameKind::Data, {}, {}, {"\0", 1}}));
    EXPECT_EQ(vek({"send", "inst,dde: putv 1,endm"}), 1);
    EXPECT_EQ(err(), "The game gave no answer to a macro that asks for one\n");
    EXPECT_EQ(out(), "");
    // Where no answer is asked for, or one may rightly be missing, none is needed.
    for (const char* macro : {"inst,setv norn 1,endm", "inst,enum 0 0 0,dde: putv fmly,next,endm",
                              "inst,doif norn eq 0,dde: putv 1,endi,endm"})
        EXPECT_EQ(vek({"send", macro}), 0) << macro << ": " << err();
}

TEST_F(LinkVerbsTest, SendSaysWhichSocketFailedAndWhy) {
    // A socket left behind by a game that ended: bound, never listened at.
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    EXPECT_EQ(vek({"send", "inst,endm"}), 1);
    EXPECT_NE(err().find(socket.string() + ": nobody listens there"), std::string::npos) << err();
    std::filesystem::remove(socket);
    std::ofstream(socket) << "not a socket";
    EXPECT_EQ(vek({"send", "inst,endm"}), 1);
    EXPECT_NE(err().find(socket.string() + ": it is not a socket"), std::string::npos) << err();
    EXPECT_EQ(out(), "");
}

TEST_F(LinkVerbsTest, SendTakesTheMacroFromAFileAndRefusesWhatTheCodePageCannotHold) {
    SimProcess sim(socket);
    std::ofstream(dir / "macro.txt") << "inst,dde: putv 56,endm\n";
    EXPECT_EQ(vek({"send", "-f", (dir / "macro.txt").string()}), 0) << err();
    EXPECT_EQ(out(), "56|\n");
    EXPECT_EQ(vek({"send", "inst,dde: puts [\xE2\x98\xBA],endm"}), 1);
    EXPECT_EQ(err(),
              "The macro holds characters that the game's code page (Windows-1252) cannot hold\n");
    EXPECT_EQ(vek({"send", "-f", (dir / "macro.txt").string(), "inst,endm"}), 2);
}

}  // namespace
}  // namespace vek::testing
