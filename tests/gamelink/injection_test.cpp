#include <gtest/gtest.h>

#include <stdexcept>

#include "app/vek_error.h"
#include "gamelink/sim_harness.h"
#include "objects/injection.h"
#include "support/temp_dir.h"

namespace vek::testing {
namespace {

using namespace std::chrono_literals;

// Everything an injection did, in order: "send:...", "title:...", "restore", "wait:N", "ask:...",
// "box:...".
struct Recorder {
    std::vector<std::string> events;
    std::vector<BilingualText> boxTexts;
    bool answerOk = true;
    std::function<MacroOutcome(std::string_view)> send = [](std::string_view) {
        return MacroOutcome::answered({});
    };

    InjectionSteps steps() {
        InjectionSteps s;
        s.sendMacro = [this](std::string_view macro) {
            events.push_back("send:" + std::string(macro));
            return send(macro);
        };
        s.askOkCancel = [this](const BilingualBox& box) {
            events.push_back("ask:" + std::string(box.caption.english));
            return answerOk;
        };
        s.showMessage = [this](const BilingualText& text, const Bilingual& caption) {
            events.push_back("box:" + std::string(caption.english));
            boxTexts.push_back(text);
        };
        s.showProgress = [this](const std::string& title) { events.push_back("title:" + title); };
        s.restoreTitle = [this] { events.push_back("restore"); };
        s.wait = [this](std::chrono::milliseconds wait) {
            events.push_back("wait:" + std::to_string(wait.count()));
        };
        return s;
    }
    std::vector<std::string> sent() const {
        std::vector<std::string> macros;
        for (const auto& e : events) {
            if (e.starts_with("send:")) macros.push_back(e.substr(5));
        }
        return macros;
    }
};

constexpr SourceBeforeInjecting kChangedNotCompiled{.changedNotCompiled = true};

CobData object(std::vector<std::string> scripts, std::vector<std::string> imports) {
    CobData cob;
    cob.scripts = std::move(scripts);
    cob.imports = std::move(imports);
    return cob;
}

TEST(InjectionTest, SendsEachScriptThenTheImportWaitsTwoSecondsAndCloses) {
    Recorder r;
    const auto cob = object({"scrp 2 5 3 1,A,endm", "scrp 2 5 3 9,B,endm"},
                            {"inst,new: simp ball 1 0 10 0,endm"});
    EXPECT_EQ(injectObject(cob, {}, "english", r.steps()).outcome, InjectionOutcome::Injected);
    EXPECT_EQ(r.events, (std::vector<std::string>{
                            "title:Sending Script 1",
                            "send:dde: scrp 0 0 0 17,inst,scrp 2 5 3 1,A,endm",
                            "title:Sending Script 2",
                            "send:dde: scrp 0 0 0 17,inst,scrp 2 5 3 9,B,endm",
                            "title:Importing Object",
                            "send:dde: scrp 0 0 0 17,inst,new: simp ball 1 0 10 0,endm,endm",
                            "wait:2000",
                            "restore",
                            "send:inst,sys: wtop,endm",
                        }));
}

TEST(InjectionTest, OnlyAnImportSendsItAndTheClosingMacro) {
    Recorder r;
    injectObject(object({}, {"inst,endm"}), {}, "deutsch", r.steps());
    EXPECT_EQ(r.sent(), (std::vector<std::string>{"dde: scrp 0 0 0 17,inst,endm,endm",
                                                  "inst,sys: wtop,endm"}));
    EXPECT_EQ(r.events.front(), "title:Importier Objekt");
}

TEST(InjectionTest, OfThreeImportsOnlyTheFirstIsSent) {
    Recorder r;
    injectObject(object({}, {"inst,one,endm", "inst,two,endm", "inst,three,endm"}), {}, "english",
                 r.steps());
    EXPECT_EQ(r.sent(), (std::vector<std::string>{"dde: scrp 0 0 0 17,inst,one,endm,endm",
                                                  "inst,sys: wtop,endm"}));
}

TEST(InjectionTest, ScriptsWithoutImportsStillWaitAndClose) {
    Recorder r;
    injectObject(object({"scrp 1 2 3 4,endm"}, {}), {}, "deutsch", r.steps());
    EXPECT_EQ(r.events,
              (std::vector<std::string>{"title:Sende Skript 1",
                                        "send:dde: scrp 0 0 0 17,inst,scrp 1 2 3 4,endm",
                                        "wait:2000", "restore", "send:inst,sys: wtop,endm"}));
}

TEST(InjectionTest, UncompiledChangesAreAskedAboutAndCancelSendsNothing) {
    Recorder r;
    r.answerOk = false;
    EXPECT_EQ(
        injectObject(object({"scrp 1 2 3 4,endm"}, {}), kChangedNotCompiled, "english", r.steps())
            .outcome,
        InjectionOutcome::Cancelled);
    EXPECT_EQ(r.events, std::vector<std::string>{"ask:COS not compiled!"});

    Recorder ok;
    EXPECT_EQ(
        injectObject(object({"scrp 1 2 3 4,endm"}, {}), kChangedNotCompiled, "english", ok.steps())
            .outcome,
        InjectionOutcome::Injected);
    EXPECT_EQ(ok.sent().size(), 2u);
}

TEST(InjectionTest, AnEmptyObjectIsReportedEvenAfterCancel) {
    Recorder r;
    r.answerOk = false;
    EXPECT_EQ(injectObject(object({}, {}), kChangedNotCompiled, "english", r.steps()).outcome,
              InjectionOutcome::NothingToInject);
    EXPECT_EQ(r.events,
              (std::vector<std::string>{"ask:COS not compiled!", "box:Nothing to inject!"}));

    Recorder plain;
    injectObject(object({}, {}), {}, "english", plain.steps());
    EXPECT_EQ(plain.events, std::vector<std::string>{"box:Nothing to inject!"});
    EXPECT_EQ(kNothingToInjectBox.caption.german, "Nichts zum Senden!");
    EXPECT_EQ(kNotCompiledBox.text.german,
              "COS wurde geaendert aber nicht compiliert! Trotzdem fortfahren?");
}

// The designed text stands first; a source that waits uncompiled adds what to do, in the
// language the box is shown in.
TEST(InjectionTest, AnEmptyObjectsBoxAdvisesCompilingASourceThatWaits) {
    const std::string english = "No COB Data in memory! Load a COB or compile a COS.";
    const std::string german =
        "Keine COB Daten im Speicher! Laden Sie einen COB oder compilieren Sie einen COS.";
    const std::string englishAdvice =
        "\n\nThe source on the page Source (COS) is not compiled yet: compile it first "
        "(Source > Compile Source), then inject it.";
    const std::string germanAdvice =
        "\n\nDer Source auf der Seite Source (COS) ist noch nicht compiliert: compilieren Sie "
        "ihn zuerst (Source > Source compilieren) und injizieren Sie ihn dann.";
    const struct {
        SourceBeforeInjecting source;
        bool answerOk;
        std::vector<std::string> events;
        BilingualText box;
    } cases[] = {
        {{}, true, {"box:Nothing to inject!"}, {english, german}},
        {{.textNotCompiled = true},
         true,
         {"box:Nothing to inject!"},
         {english + englishAdvice, german + germanAdvice}},
        {{.changedNotCompiled = true, .textNotCompiled = true},
         false,
         {"ask:COS not compiled!", "box:Nothing to inject!"},
         {english + englishAdvice, german + germanAdvice}},
    };
    for (const auto& c : cases) {
        Recorder r;
        r.answerOk = c.answerOk;
        EXPECT_EQ(injectObject(object({}, {}), c.source, "english", r.steps()).outcome,
                  InjectionOutcome::NothingToInject);
        EXPECT_EQ(r.events, c.events);
        ASSERT_EQ(r.boxTexts.size(), 1u);
        EXPECT_EQ(r.boxTexts[0].english, c.box.english);
        EXPECT_EQ(r.boxTexts[0].german, c.box.german);
    }
}

TEST(InjectionTest, TheNoteNamesWhereTheObjectArrived) {
    const struct {
        InjectionTarget target;
        const char* english;
        const char* german;
    } cases[] = {
        {InjectionTarget::Game, "Ball injected into the game: it arrived.",
         "Ball ins Spiel injiziert: es ist angekommen."},
        {InjectionTarget::GameUnderWine, "Ball injected into the game under Wine: it arrived.",
         "Ball ins Spiel unter Wine injiziert: es ist angekommen."},
        {InjectionTarget::StandInGame,
         "Ball injected into the stand-in game vivarium-sim: it arrived.",
         "Ball ins Ersatzspiel vivarium-sim injiziert: es ist angekommen."},
        {InjectionTarget::Vivarium, "Ball injected into the Vivarium: it arrived.",
         "Ball ins Vivarium injiziert: es ist angekommen."},
    };
    for (const auto& c : cases) {
        const BilingualText note = injectedNote(c.target, "Ball");
        EXPECT_EQ(note.english, c.english);
        EXPECT_EQ(note.german, c.german);
    }
    // A name is put in as it stands.
    EXPECT_EQ(injectedNote(InjectionTarget::Game, "100% %1").english,
              "100% %1 injected into the game: it arrived.");
}

TEST(InjectionTest, TheTitleComesBackWhenASendFails) {
    Recorder r;
    r.send = [](std::string_view macro) -> MacroOutcome {
        if (macro.find("second") != std::string_view::npos) throw VekError::runtime("E/A-Fehler 3");
        return {};
    };
    EXPECT_THROW(injectObject(object({"scrp 1 1 1 1,first,endm", "scrp 1 1 1 2,second,endm"}, {}),
                              {}, "english", r.steps()),
                 VekError);
    EXPECT_EQ(r.events.back(), "restore");
    EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "restore"), 1);
}

TEST(InjectionTest, AnUnreachableGameReportsEveryMacroAndTheInjectionStillEnds) {
    TempDir dir;
    auto link = creaturesAt(dir / "nobody");
    int notices = 0;
    link->setNoticeSink([&notices](const BilingualBox&) { ++notices; });
    Recorder r;
    r.send = [&link](std::string_view macro) { return link->SendMacro(macro); };
    injectObject(object({"scrp 1 1 1 1,endm", "scrp 1 1 1 2,endm"}, {"inst,endm"}), {}, "english",
                 r.steps());
    EXPECT_EQ(notices, 2 + 2);
    EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "restore"), 1);
}

TEST(InjectionTest, TheGameLearnsTheScriptsAndRunsTheImport) {
    TempDir dir;
    SimProcess sim(dir / "game");
    auto link = creaturesAt(sim.socketPath());
    Recorder r;
    r.send = [&link](std::string_view macro) { return link->SendMacro(macro); };
    const auto cob =
        object({"scrp 2 5 3 1,inst,snde honk,endm"},
               {"inst,new: simp ball 1 0 3500 0,setv clas 33882880,setv attr 5,edit,endm"});
    injectObject(cob, {}, "english", r.steps());
    EXPECT_EQ(link->SendMacro("inst,dde: scrp 2 5 3 1,endm").answer, "inst,snde honk,endm");
    EXPECT_EQ(link->SendMacro("inst,enum 2 5 3,dde: putv attr,next,endm").answer, "5|");
    killEditObject([&link](std::string_view macro) { return link->SendMacro(macro); });
    EXPECT_EQ(link->SendMacro("inst,enum 2 5 3,dde: putv attr,next,endm").answer, "");
}

}  // namespace
}  // namespace vek::testing
