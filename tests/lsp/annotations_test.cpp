#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "app/text_names.h"
#include "app/text_table.h"
#include "lsp/annotations.h"
#include "lsp_client.h"
#include "objects/object_check.h"
#include "objects/script_events.h"
#include "objects/source_lines.h"

namespace vek::testing {
namespace {

using lsp::PositionEncoding;

// A source as the server reads one, for the functions that take a document's context.
struct AnnotatedSource {
    explicit AnnotatedSource(const std::string& text)
        : model(std::make_unique<SourceCheck>(objectCheckOptions()), sourceLineReading) {
        model.reset(text, 1);
    }
    lsp::FeatureContext context(std::string_view language = kLanguageEnglish,
                                PositionEncoding encoding = PositionEncoding::Utf16) const {
        return {model, true, encoding, language, scriptEventTable().texts()};
    }
    SourceModel model;
};

// A catalogue of three entries: a whole class, a genus and a family.
std::string catalogueNameOf(int family, int genus, int species) {
    static const std::map<std::tuple<int, int, int>, std::string> names = {
        {{2, 5, 3}, "Ball"},
        {{2, 7, lsp::kAbsentClassPart}, "Toys"},
        {{3, lsp::kAbsentClassPart, lsp::kAbsentClassPart}, "Compound"},
    };
    const auto found = names.find({family, genus, species});
    return found == names.end() ? std::string() : found->second;
}

std::string captionOf(int tag, std::string_view language = kLanguageEnglish) {
    return TextTable::builtIn().caption(tag, languageOffset(language));
}

// Hints as (the text of the line before the hint, label).
using PlacedLabels = std::vector<std::pair<std::string, std::string>>;

PlacedLabels hintsOf(const std::string& source, int line, std::string_view language) {
    const AnnotatedSource annotated(source);
    const Json params = {{"range", range(line, 0, line + 1, 0)}};
    const std::string& text = annotated.model.lines()[static_cast<std::size_t>(line)];
    PlacedLabels placed;
    for (const Json& hint : lsp::inlayHints(annotated.context(language), params, catalogueNameOf)) {
        EXPECT_EQ(hint["position"]["line"], line);
        placed.emplace_back(text.substr(0, hint["position"]["character"].get<std::size_t>()),
                            hint["label"].get<std::string>());
    }
    return placed;
}

TEST(LspInlayHints, NameClassesByTheCatalogueAndValuesByTheirBits) {
    const std::string both = captionOf(Tag::Carryable) + " | " + captionOf(Tag::Activateable);
    const struct {
        std::string source;
        int line;
        std::string_view language;
        PlacedLabels expected;
    } cases[] = {
        {"inst\nenum 2 5 3\nnext\nendm\n",
         1,
         kLanguageEnglish,
         {{"enum 2 5 3", "family 2 genus 5 species 3: Ball"}}},
        {"inst\nenum 2 5 3\nnext\nendm\n",
         1,
         kLanguageGerman,
         {{"enum 2 5 3", "Familie 2 Gattung 5 Art 3: Ball"}}},
        // A species the catalogue lacks is named by its genus, a genus it lacks by its family.
        {"inst\nrtar 2 7 4\nendm\n",
         1,
         kLanguageEnglish,
         {{"rtar 2 7 4", "family 2 genus 7: Toys"}}},
        {"inst\nrtar 3 9 9\nendm\n", 1, kLanguageEnglish, {{"rtar 3 9 9", "family 3: Compound"}}},
        {"inst\nesee 9 9 9\nnext\nendm\n", 1, kLanguageEnglish, {}},
        // 0 is any genus: only the family could be named, and this one is not.
        {"inst\nrtar 2 0 0\nendm\n", 1, kLanguageEnglish, {}},
        {"inst\nsetv attr 5\nendm\n", 1, kLanguageEnglish, {{"setv attr 5", both}}},
        {"inst\nsetv attr 5\nendm\n",
         1,
         kLanguageGerman,
         {{"setv attr 5", captionOf(Tag::Carryable, kLanguageGerman) + " | " +
                              captionOf(Tag::Activateable, kLanguageGerman)}}},
        {"inst\nsetv attr 0\nendm\n", 1, kLanguageEnglish, {}},
        {"inst\nsetv attr 384\nendm\n",
         1,
         kLanguageEnglish,
         {{"setv attr 384", captionOf(Tag::Groundbound) + " | 256"}}},
        {"inst\ndoif attr eq 4\nendi\nendm\n",
         1,
         kLanguageEnglish,
         {{"doif attr eq 4", captionOf(Tag::Activateable)}}},
        {"inst\nsetv attr var0\nendm\n", 1, kLanguageEnglish, {}},
        {"inst\nbhvr 0 6\nendm\n",
         1,
         kLanguageEnglish,
         {{"bhvr 0", ""},
          {"bhvr 0 6", captionOf(Tag::Activate2) + " | " + captionOf(Tag::Deactivate)}}},
    };
    for (const auto& c : cases) {
        PlacedLabels placed = hintsOf(c.source, c.line, c.language);
        PlacedLabels expected = c.expected;
        // The click's label is its caption's name, before the number the caption shows.
        for (auto& [before, label] : expected) {
            if (!label.empty()) continue;
            const auto click = std::find_if(placed.begin(), placed.end(),
                                            [&](const auto& hint) { return hint.first == before; });
            ASSERT_NE(click, placed.end()) << c.source;
            EXPECT_TRUE(captionOf(Tag::ClickDumb).starts_with(click->second + " ("))
                << click->second;
            label = click->second;
        }
        EXPECT_EQ(placed, expected) << c.source << " in " << c.language;
    }
}

TEST(LspInlayHints, NameAScriptsClassAndEventAndATogglesClick) {
    const PlacedLabels placed = hintsOf("scrp 2 5 3 9\nbhvr 3 1\nendm\n", 0, kLanguageEnglish);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0], (std::pair<std::string, std::string>{"scrp 2 5 3",
                                                              "family 2 genus 5 species 3: Ball"}));
    EXPECT_EQ(placed[1].first, "scrp 2 5 3 9");
    // The event's name as the event table gives it, without the number it stands after there.
    const std::string_view event = scriptEventTable().lookup(9);
    EXPECT_TRUE(event.ends_with(placed[1].second)) << placed[1].second;
    EXPECT_EQ(placed[1].second.find_first_not_of(" 0123456789"), 0u) << placed[1].second;

    const PlacedLabels behaviour = hintsOf("scrp 2 5 3 9\nbhvr 3 1\nendm\n", 1, kLanguageEnglish);
    ASSERT_EQ(behaviour.size(), 2u);
    EXPECT_TRUE(captionOf(Tag::ClickToggle).starts_with(behaviour[0].second + " ("));
    EXPECT_EQ(behaviour[1].second, captionOf(Tag::Activate1));
}

TEST(LspInlayHints, GivesOnlyTheHintsInTheRequestedRange) {
    const AnnotatedSource annotated("inst\nsetv attr 1\nsetv attr 2\nsetv attr 4,bhvr 1 1\nendm\n");
    const struct {
        Json range;
        std::vector<int> lines;  // of the hints given
    } cases[] = {
        {range(0, 0, 5, 0), {1, 2, 3, 3, 3}},
        {range(2, 0, 2, 11), {2}},
        // A range that ends before the number leaves its hint out; one that starts after it too.
        {range(2, 0, 2, 10), {}},
        {range(3, 12, 3, 20), {3, 3}},
        {range(3, 11, 3, 11), {3}},
    };
    for (const auto& c : cases) {
        const Json hints =
            lsp::inlayHints(annotated.context(), {{"range", c.range}}, catalogueNameOf);
        std::vector<int> lines;
        for (const Json& hint : hints) lines.push_back(hint["position"]["line"].get<int>());
        EXPECT_EQ(lines, c.lines) << c.range;
    }
}

// A token as the client decodes it: line, start and length in its code units, and type's name.
struct DecodedToken {
    int line = 0;
    int character = 0;
    int length = 0;
    std::string type;
    bool operator==(const DecodedToken&) const = default;
};

std::ostream& operator<<(std::ostream& out, const DecodedToken& token) {
    return out << token.line << ':' << token.character << '+' << token.length << ' ' << token.type;
}

std::vector<DecodedToken> decoded(const Json& data, const Json& legend) {
    std::vector<DecodedToken> tokens;
    int line = 0;
    int character = 0;
    for (std::size_t k = 0; k + 4 < data.size(); k += 5) {
        const int lineStep = data[k].get<int>();
        line += lineStep;
        character = (lineStep == 0 ? character : 0) + data[k + 1].get<int>();
        tokens.push_back({line, character, data[k + 2].get<int>(),
                          legend["tokenTypes"][data[k + 3].get<std::size_t>()].get<std::string>()});
        EXPECT_EQ(data[k + 4], 0);
    }
    return tokens;
}

// Code units of UTF-8 text: its bytes, or the UTF-16 units of its characters (none outside the
// basic plane here).
int unitsOf(std::string_view text, PositionEncoding encoding) {
    if (encoding == PositionEncoding::Utf8) return static_cast<int>(text.size());
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    }));
}

TEST(LspSemanticTokens, MarkTheHighlightersCategoriesInTheClientsCodeUnits) {
    const std::vector<std::string> lines = {
        "* Grüße",
        "quantity 12",
        "inst",
        "\tnew: simp ball 1 0 10 0",
        "\tdde: puts [Grüße €],setv attr var0",
        "endm",
    };
    // Each token by its line and text, the n-th of that text on the line.
    const struct {
        int line;
        std::string text;
        std::string type;
    } expected[] = {
        {0, "* Grüße", "comment"},  {1, "quantity 12", "macro"}, {2, "inst", "function"},
        {3, "new:", "function"},    {3, "simp", "function"},     {3, "ball", "label"},
        {3, "1", "number"},         {3, "0", "number"},          {3, "10", "number"},
        {3, "0", "number"},         {4, "dde:", "function"},     {4, "puts", "function"},
        {4, "[Grüße €]", "string"}, {4, "setv", "function"},     {4, "attr", "variable"},
        {4, "var0", "variable"},    {5, "endm", "function"},
    };
    std::string source;
    for (const std::string& line : lines) source += line + "\n";
    for (const PositionEncoding encoding : {PositionEncoding::Utf16, PositionEncoding::Utf8}) {
        const AnnotatedSource annotated(source);
        const Json data = lsp::semanticTokenData(annotated.context(kLanguageEnglish, encoding));
        std::vector<DecodedToken> wanted;
        std::vector<std::size_t> searched(lines.size(), 0);
        for (const auto& e : expected) {
            const std::string& line = lines[static_cast<std::size_t>(e.line)];
            const std::size_t at = line.find(e.text, searched[static_cast<std::size_t>(e.line)]);
            ASSERT_NE(at, std::string::npos) << e.text;
            searched[static_cast<std::size_t>(e.line)] = at + e.text.size();
            wanted.push_back(
                {e.line, unitsOf(line.substr(0, at), encoding), unitsOf(e.text, encoding), e.type});
        }
        EXPECT_EQ(decoded(data, lsp::semanticTokensLegend()), wanted)
            << (encoding == PositionEncoding::Utf8 ? "utf-8" : "utf-16");
    }
}

// Applies the edits of a delta to the data they were made against.
Json applied(Json data, const Json& edits) {
    // From the last edit back, so that the earlier ones' starts still hold.
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        const auto start = data.begin() + (*edit)["start"].get<std::ptrdiff_t>();
        data.erase(start, start + (*edit)["deleteCount"].get<std::ptrdiff_t>());
        const Json& inserted = edit->value("data", Json::array());
        data.insert(data.begin() + (*edit)["start"].get<std::ptrdiff_t>(), inserted.begin(),
                    inserted.end());
    }
    return data;
}

TEST(LspSemanticTokens, DeltasTurnTheLastTokensIntoTheNewOnes) {
    const std::string source = "inst\nsetv attr 5\nbhvr 1 1\nendm\n";
    const struct {
        Json edit;  // one change of the document
        bool same;  // the tokens stay as they were
    } cases[] = {
        {{{"range", range(1, 10, 1, 11)}, {"text", "var0"}}, false},
        {{{"range", range(2, 0, 2, 0)}, {"text", "* a note\n"}}, false},
        {{{"range", range(1, 0, 2, 0)}, {"text", ""}}, false},
        {{{"range", range(0, 0, 0, 0)}, {"text", "dde: puts [Grüße]\n"}}, false},
        {{{"range", range(1, 11, 1, 11)}, {"text", "  "}}, true},
    };
    for (const auto& c : cases) {
        TestClient client;
        client.initialize();
        client.open(kUri, source);
        const Json document = {{"textDocument", {{"uri", kUri}}}};
        const Json first = client.request("textDocument/semanticTokens/full", document)["result"];
        client.notify("textDocument/didChange", {{"textDocument", {{"uri", kUri}, {"version", 2}}},
                                                 {"contentChanges", {c.edit}}});
        Json params = document;
        params["previousResultId"] = first["resultId"];
        const Json delta =
            client.request("textDocument/semanticTokens/full/delta", params)["result"];
        ASSERT_TRUE(delta.contains("edits")) << delta;
        EXPECT_NE(delta["resultId"], first["resultId"]);
        EXPECT_EQ(delta["edits"].empty(), c.same) << c.edit;
        const Json now = client.request("textDocument/semanticTokens/full", document)["result"];
        EXPECT_EQ(applied(first["data"], delta["edits"]), now["data"]) << c.edit;
        if (!c.same) {
            EXPECT_NE(first["data"], now["data"]) << c.edit;
        }
    }
}

TEST(LspSemanticTokens, AnswerAnUnknownResultWithAllTokens) {
    TestClient client;
    client.initialize();
    client.open(kUri, "inst\nsetv attr 5\nendm\n");
    const Json document = {{"textDocument", {{"uri", kUri}}}};
    const Json full = client.request("textDocument/semanticTokens/full", document)["result"];
    for (const std::string previous : {"no such result", "0"}) {
        Json params = document;
        params["previousResultId"] = previous;
        const Json answer =
            client.request("textDocument/semanticTokens/full/delta", params)["result"];
        EXPECT_FALSE(answer.contains("edits")) << previous;
        EXPECT_EQ(answer["data"], full["data"]) << previous;
    }
    // A document closed and opened again starts over.
    client.notify("textDocument/didClose", document);
    client.open(kUri, "inst\nendm\n");
    Json params = document;
    params["previousResultId"] = full["resultId"];
    EXPECT_TRUE(client.request("textDocument/semanticTokens/full/delta", params)["result"].contains(
        "data"));
}

TEST(LspAnnotations, AreAnnouncedAndAnsweredThroughTheServer) {
    TestClient client;
    const Json capabilities = client.initialize()["result"]["capabilities"];
    EXPECT_EQ(capabilities["inlayHintProvider"], true);
    const Json& tokens = capabilities["semanticTokensProvider"];
    EXPECT_EQ(tokens["legend"], lsp::semanticTokensLegend());
    EXPECT_EQ(tokens["full"]["delta"], true);
    client.open(kUri, "inst\nsetv attr 4\nendm\n");
    const Json reply = client.request("textDocument/inlayHint", {{"textDocument", {{"uri", kUri}}},
                                                                 {"range", range(0, 0, 3, 0)}});
    ASSERT_EQ(reply["result"].size(), 1u) << reply;
    EXPECT_EQ(reply["result"][0]["label"], captionOf(Tag::Activateable));
    EXPECT_EQ(reply["result"][0]["position"], at(1, 11));
}

}  // namespace
}  // namespace vek::testing
