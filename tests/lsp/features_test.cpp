#include <gtest/gtest.h>

#include "language/dictionary.h"
#include "language/layout.h"
#include "lsp_client.h"
#include "objects/source_lines.h"

namespace vek::testing {
namespace {

// A demo-like source: an installation routine that creates the object, and a script with a
// subroutine.
const std::string kSource =
    "* ball\n"
    "inst\n"
    "new: simp ball 1 0 10 0\n"
    "setv clas 33882880\n"
    "endm\n"
    "scrp 2 5 3 1\n"
    "doif obv0 eq 1\n"
    "gsub roll\n"
    "endi\n"
    "stop\n"
    "subr roll\n"
    "mvto 1 1\n"
    "retn\n"
    "endm\n";

class LspFeatures : public ::testing::Test {
  protected:
    void SetUp() override {
        m_client.initialize();
        m_client.open(kUri, kSource);
        ASSERT_EQ(m_client.diagnostics(kUri), Json::array());
    }
    Json ask(const std::string& method, const Json& params) {
        Json reply = m_client.request(method, params);
        EXPECT_TRUE(reply.contains("result")) << method << reply;
        return reply["result"];
    }
    Json askAt(const std::string& method, int line, int character, Json more = Json::object()) {
        Json params = place(kUri, line, character);
        params.update(more);
        return ask(method, params);
    }
    TestClient m_client;
};

TEST_F(LspFeatures, CompletesByThePrefixWithEachCommandsArgumentsAsASnippet) {
    m_client.open("file:///work/b.cos", "inst\nnew: si\nmvt\nsetv obv0 obv\nendm\n");
    const auto labels = [&](int line, int character) {
        std::vector<std::string> names;
        const Json answer =
            ask("textDocument/completion", place("file:///work/b.cos", line, character));
        for (const Json& item : answer["items"]) names.push_back(item["label"]);
        return names;
    };
    for (const auto& [line, character] : {std::pair{1, 7}, {2, 3}, {3, 13}}) {
        const std::vector<std::string> names = labels(line, character);
        ASSERT_FALSE(names.empty()) << line;
        for (const std::string& name : names) {
            const std::string typed = line == 1 ? "new: si" : line == 2 ? "mvt" : "obv";
            EXPECT_TRUE(name.starts_with(typed)) << name;
        }
    }
    const Json items = ask("textDocument/completion", place("file:///work/b.cos", 1, 7))["items"];
    ASSERT_EQ(items.size(), 1u);
    const Json simp = items[0];
    EXPECT_EQ(simp["label"], "new: simp");
    EXPECT_EQ(simp["insertTextFormat"], 2);
    const Word& word = *Dictionary::builtIn().command("new: simp");
    ASSERT_EQ(word.arguments.size(), 5u);
    std::string snippet = "new: simp";
    for (std::size_t k = 0; k < 5; ++k)
        snippet +=
            " ${" + std::to_string(k + 1) + ":" + argumentName(word, k, kLanguageEnglish) + "}";
    EXPECT_EQ(simp["textEdit"]["newText"], snippet);
    EXPECT_EQ(simp["textEdit"]["range"], range(1, 0, 1, 7));
    EXPECT_EQ(simp["documentation"], wordEntry(word, kLanguageEnglish));
}

TEST_F(LspFeatures, HoverAndSignatureHelpGiveTheWordsEntry) {
    ASSERT_TRUE(Dictionary::builtIn().command("mvto"));
    const Word& mvto = *Dictionary::builtIn().command("mvto");
    // On the word and just after it, as an editor's caret stands.
    for (const int character : {0, 2, 4}) {
        EXPECT_EQ(askAt("textDocument/hover", 11, character)["contents"]["value"],
                  wordEntry(mvto, kLanguageEnglish));
    }
    EXPECT_TRUE(askAt("textDocument/hover", 0, 3).is_null());

    const Json help = askAt("textDocument/signatureHelp", 2, 17);
    EXPECT_EQ(help["activeParameter"], 2);
    const Json signature = help["signatures"][0];
    const std::string label = signature["label"];
    EXPECT_EQ(label, signatureOf(*Dictionary::builtIn().command("new: simp"), kLanguageEnglish));
    ASSERT_EQ(signature["parameters"].size(), 5u);
    const Json third = signature["parameters"][2]["label"];
    EXPECT_EQ(label.substr(third[0], third[1].get<int>() - third[0].get<int>()), "integer");
}

TEST_F(LspFeatures, OutlinesRoutinesScriptsAndTheirSubroutines) {
    const Json symbols = ask("textDocument/documentSymbol", {{"textDocument", {{"uri", kUri}}}});
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0]["name"], "Installation routine 1");
    EXPECT_EQ(symbols[0]["range"]["start"]["line"], 1);
    EXPECT_EQ(symbols[0]["range"]["end"]["line"], 4);
    EXPECT_NE(symbols[1]["name"].get<std::string>().find("2 5 3"), std::string::npos);
    ASSERT_EQ(symbols[1]["children"].size(), 1u);
    EXPECT_EQ(symbols[1]["children"][0]["name"], "subr roll");
    EXPECT_EQ(symbols[1]["children"][0]["selectionRange"], range(10, 5, 10, 9));
}

TEST_F(LspFeatures, GoesFromGsubToItsSubrAndFindsAndRenamesTheLabel) {
    EXPECT_EQ(askAt("textDocument/definition", 7, 6),
              Json({{"uri", kUri}, {"range", range(10, 5, 10, 9)}}));
    EXPECT_TRUE(askAt("textDocument/definition", 11, 1).is_null());

    const Json uses =
        askAt("textDocument/references", 10, 7, {{"context", {{"includeDeclaration", true}}}});
    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(uses[0]["range"], range(7, 5, 7, 9));
    EXPECT_EQ(uses[1]["range"], range(10, 5, 10, 9));

    EXPECT_EQ(askAt("textDocument/prepareRename", 7, 9), range(7, 5, 7, 9));
    EXPECT_TRUE(askAt("textDocument/prepareRename", 2, 1).is_null());
    const Json edit = askAt("textDocument/rename", 7, 6, {{"newName", "spin"}});
    const Json edits = edit["changes"][kUri];
    ASSERT_EQ(edits.size(), 2u);
    for (const Json& one : edits) EXPECT_EQ(one["newText"], "spin");
    const Json refused = m_client.request("textDocument/rename", [] {
        Json params = place(kUri, 7, 6);
        params["newName"] = "two words";
        return params;
    }());
    EXPECT_EQ(refused["error"]["code"], lsp::kInvalidParams);
}

TEST_F(LspFeatures, FoldsSectionsAndBlocks) {
    const Json folds = ask("textDocument/foldingRange", {{"textDocument", {{"uri", kUri}}}});
    std::vector<std::pair<int, int>> spans;
    for (const Json& fold : folds) spans.emplace_back(fold["startLine"], fold["endLine"]);
    const std::vector<std::pair<int, int>> expected = {{1, 3}, {5, 12}, {6, 7}, {10, 11}};
    EXPECT_EQ(spans, expected);
}

TEST_F(LspFeatures, FormatsAsVekFormatDoesWithEditsOfTheLeadingBlanksAlone) {
    const Json edits = ask("textDocument/formatting",
                           {{"textDocument", {{"uri", kUri}}}, {"options", Json::object()}});
    // Applying the edits gives formatSourceText's layout.
    std::vector<std::string> lines = splitTextLines(kSource);
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        const Json& r = (*edit)["range"];
        ASSERT_EQ(r["start"]["line"], r["end"]["line"]);
        ASSERT_EQ(r["start"]["character"], 0);
        std::string& line = lines[r["start"]["line"].get<std::size_t>()];
        line.replace(0, r["end"]["character"].get<std::size_t>(),
                     (*edit)["newText"].get<std::string>());
    }
    EXPECT_EQ(lines, splitTextLines(formatSourceText(kSource, sourceLineReading)));
    EXPECT_EQ(edits.size(), 2u + 7u);  // every line inside the two sections

    const Json some = ask("textDocument/rangeFormatting",
                          {{"textDocument", {{"uri", kUri}}}, {"range", range(6, 0, 7, 0)}});
    ASSERT_EQ(some.size(), 2u);
    EXPECT_EQ(some[1]["newText"], "\t\t");
}

TEST_F(LspFeatures, OffersTheQuickFixesOfEachFindingAttachedToItsDiagnostic) {
    m_client.open("file:///work/c.cos", "inst\nmvtq 1 1\ndoif 1 eq 1\nendm\n");
    const Json diagnostics = m_client.diagnostics("file:///work/c.cos");
    ASSERT_EQ(diagnostics.size(), 2u);
    const Json actions =
        ask("textDocument/codeAction", {{"textDocument", {{"uri", "file:///work/c.cos"}}},
                                        {"range", range(1, 0, 2, 0)},
                                        {"context", {{"diagnostics", diagnostics}}}});
    bool mvto = false;
    bool endi = false;
    for (const Json& action : actions) {
        EXPECT_EQ(action["kind"], "quickfix");
        const Json edit = action["edit"]["changes"]["file:///work/c.cos"][0];
        if (edit["newText"] == "mvto") {
            mvto = true;
            EXPECT_EQ(action["diagnostics"][0], diagnostics[0]);
            EXPECT_EQ(edit["range"], range(1, 0, 1, 4));
        }
        if (edit["newText"].get<std::string>().find("endi") != std::string::npos) {
            endi = true;
            EXPECT_EQ(action["diagnostics"][0], diagnostics[1]);
        }
    }
    EXPECT_TRUE(mvto) << actions;
    EXPECT_TRUE(endi) << actions;
    EXPECT_EQ(ask("textDocument/codeAction", {{"textDocument", {{"uri", "file:///work/c.cos"}}},
                                              {"range", range(0, 0, 0, 0)},
                                              {"context", {{"diagnostics", Json::array()}}}}),
              Json::array());
}

}  // namespace
}  // namespace vek::testing

namespace vek::testing {
namespace {

TEST(LspFeaturesInGerman, HoverAndCompletionSpeakTheClientsLanguage) {
    TestClient client;
    client.initialize({{"locale", "de-DE"}});
    client.open("file:///work/d.cos", "inst\nmvtq 1 1\nendm\n");
    const Word& mvto = *Dictionary::builtIn().command("mvto");
    const Json hovered = client.request("textDocument/hover", place("file:///work/d.cos", 1, 1));
    EXPECT_TRUE(hovered["result"].is_null());  // a misspelt word has no entry
    client.notify("textDocument/didChange",
                  {{"textDocument", {{"uri", "file:///work/d.cos"}, {"version", 2}}},
                   {"contentChanges", {{{"range", range(1, 3, 1, 4)}, {"text", "o"}}}}});
    EXPECT_EQ(client.request("textDocument/hover",
                             place("file:///work/d.cos", 1, 1))["result"]["contents"]["value"],
              wordEntry(mvto, kLanguageGerman));
    const Json items = client.request("textDocument/completion",
                                      place("file:///work/d.cos", 1, 3))["result"]["items"];
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0]["detail"],
              signatureOf(*Dictionary::builtIn().command(items[0]["label"].get<std::string>()),
                          kLanguageGerman));
}

}  // namespace
}  // namespace vek::testing
