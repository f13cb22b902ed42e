#include "lsp/features.h"

#include <algorithm>

#include "app/ansi_text.h"
#include "language/completion.h"
#include "language/dictionary.h"
#include "language/layout.h"
#include "language/outline.h"
#include "language/quick_fix.h"

namespace vek::lsp {

namespace {

// The protocol's numbers for what it names.
constexpr int kSeverityError = 1;
constexpr int kSeverityWarning = 2;
constexpr int kSymbolFunction = 12;
constexpr int kSymbolEvent = 24;
constexpr int kSymbolMethod = 6;
constexpr int kCompletionFunction = 3;
constexpr int kCompletionVariable = 6;
constexpr int kCompletionValue = 12;
constexpr int kSnippetFormat = 2;

const std::vector<std::string>& linesOf(const FeatureContext& context) {
    return context.model.lines();
}

LinePlace requestedPlace(const FeatureContext& context, const Json& params) {
    return placeOf(linesOf(context), params.at("position"), context.encoding);
}

// The characters before a place of its line: the column the language's functions take.
int characterColumn(const FeatureContext& context, LinePlace place) {
    return textPositionOf(linesOf(context), place).column - 1;
}

Json locationOf(const FeatureContext& context, const std::string& uri, TextPosition at,
                int characters) {
    return {{"uri", uri}, {"range", rangeOf(linesOf(context), at, characters, context.encoding)}};
}

// The uses of the label at the requested place.
std::vector<TextPosition> labelUses(const FeatureContext& context, const Json& params) {
    if (!context.isSource) return {};
    const TextPosition at = textPositionOf(linesOf(context), requestedPlace(context, params));
    return usesOfLabelNear(linesOf(context), context.model.reader(), at);
}

int labelLength(const FeatureContext& context, TextPosition at) {
    return labelLengthAt(linesOf(context), at);
}

std::string snippetOf(const Word& word, std::string_view language) {
    std::string snippet = word.name;
    for (std::size_t k = 0; k < word.arguments.size(); ++k) {
        std::string name = argumentName(word, k, language);
        // A snippet's placeholder ends at "}"; "$" and "\" start its own syntax.
        std::string escaped;
        for (const char c : name) {
            if (c == '$' || c == '}' || c == '\\') escaped += '\\';
            escaped += c;
        }
        snippet += " ${" + std::to_string(k + 1) + ':' + escaped + '}';
    }
    return snippet;
}

int completionKindOf(const Word& word) {
    if (word.isCommand()) return kCompletionFunction;
    return word.kind == WordKind::Variable ? kCompletionVariable : kCompletionValue;
}

Json workspaceEdit(const std::string& uri, Json edits) {
    return {{"changes", {{uri, std::move(edits)}}}};
}

Json textEdit(Json range, std::string text) {
    return {{"range", std::move(range)}, {"newText", std::move(text)}};
}

// A symbol's range: the lines of its section or, for a subroutine, its line.
Json symbolOf(const FeatureContext& context, const OutlineEntry& entry, std::size_t lastLine) {
    const std::vector<std::string>& lines = linesOf(context);
    const LinePlace start = placeOf(lines, {entry.position.line, 1});
    const std::size_t last = std::max(lastLine, start.line);
    const int kind = entry.kind == OutlineKind::Script       ? kSymbolEvent
                     : entry.kind == OutlineKind::Subroutine ? kSymbolMethod
                                                             : kSymbolFunction;
    std::string name(entry.title.in(context.language));
    if (name.empty()) name = "?";
    return {
        {"name", std::move(name)},
        {"kind", kind},
        {"range", rangeOf(lines, start, {last, lines[last].size()}, context.encoding)},
        {"selectionRange",
         rangeOf(lines, entry.position,
                 entry.kind == OutlineKind::Subroutine ? labelLength(context, entry.position) : 4,
                 context.encoding)},
        {"children", Json::array()}};
}

// The last line of the section or block that starts at `line`, by its span; `fallback` where it
// has none (it stands on one line).
std::size_t sectionLastLine(std::span<const LineSpan> spans, std::size_t line,
                            std::size_t fallback) {
    for (const LineSpan& span : spans) {
        if (span.first == line) return span.last;
    }
    return fallback;
}

}  // namespace

Json diagnosticOf(std::span<const std::string> lines, const Finding& finding,
                  PositionEncoding encoding, std::string_view language) {
    return {{"range", rangeOf(lines, finding.position, std::max(finding.length, 1), encoding)},
            {"severity", finding.isError() ? kSeverityError : kSeverityWarning},
            {"source", "vek"},
            {"message", std::string(finding.text.in(language))}};
}

Json diagnosticsOf(const FeatureContext& context) {
    Json diagnostics = Json::array();
    for (const Finding& finding : context.model.findings())
        diagnostics.push_back(
            diagnosticOf(linesOf(context), finding, context.encoding, context.language));
    return diagnostics;
}

Json completion(const FeatureContext& context, const Json& params) {
    const std::vector<std::string>& lines = linesOf(context);
    const LinePlace place = requestedPlace(context, params);
    const std::string_view line = std::string_view(lines[place.line]).substr(0, place.byte);
    const Completion found = completionAt(line, characterColumn(context, place));
    Json items = Json::array();
    const Json range = rangeOf(lines, {place.line, byteOffsetOfCharacter(line, found.start)}, place,
                               context.encoding);
    for (const Word* word : found.words) {
        Json item = {{"label", word->name},
                     {"kind", completionKindOf(*word)},
                     {"detail", signatureOf(*word, context.language)},
                     {"documentation", wordEntry(*word, context.language)},
                     {"filterText", word->name}};
        if (word->arguments.empty()) {
            item["textEdit"] = textEdit(range, word->name);
        } else {
            item["textEdit"] = textEdit(range, snippetOf(*word, context.language));
            item["insertTextFormat"] = kSnippetFormat;
        }
        items.push_back(std::move(item));
    }
    return {{"isIncomplete", false}, {"items", std::move(items)}};
}

Json signatureHelp(const FeatureContext& context, const Json& params) {
    const LinePlace place = requestedPlace(context, params);
    const ArgumentPlace argument =
        argumentAt(linesOf(context)[place.line], characterColumn(context, place));
    if (!argument.word) return nullptr;
    // Parameters by their offsets in the label, since two may have the same name.
    std::string label = argument.word->name;
    Json parameters = Json::array();
    const auto unitsOf = [&context](std::string_view text) {
        const std::vector<std::string> one{std::string(text)};
        return positionOf(one, {0, text.size()}, context.encoding)["character"];
    };
    for (std::size_t k = 0; k < argument.word->arguments.size(); ++k) {
        label += ' ';
        const Json start = unitsOf(label);
        label += argumentName(*argument.word, k, context.language);
        parameters.push_back({{"label", {start, unitsOf(label)}}});
    }
    Json signature = {
        {"label", std::move(label)},
        {"documentation", std::string(argument.word->description.in(context.language))},
        {"parameters", std::move(parameters)}};
    return {{"signatures", {std::move(signature)}},
            {"activeSignature", 0},
            {"activeParameter", argument.index}};
}

Json hover(const FeatureContext& context, const Json& params) {
    const LinePlace place = requestedPlace(context, params);
    const std::string& line = linesOf(context)[place.line];
    const int column = characterColumn(context, place);
    const Word* word = wordAt(line, column);
    if (!word && column > 0) word = wordAt(line, column - 1);
    if (!word) return nullptr;
    return {{"contents", {{"kind", "plaintext"}, {"value", wordEntry(*word, context.language)}}}};
}

Json documentSymbols(const FeatureContext& context) {
    Json symbols = Json::array();
    if (!context.isSource) return symbols;
    const std::vector<std::string>& lines = linesOf(context);
    const std::vector<OutlineEntry> entries =
        outlineOf(lines, context.model.reader(), context.events);
    const std::vector<LineSpan> spans = blockSpansOf(lines, context.model.reader());
    for (const OutlineEntry& entry : entries) {
        const auto line = static_cast<std::size_t>(std::max(entry.position.line, 1) - 1);
        if (entry.kind == OutlineKind::Subroutine && !symbols.empty()) {
            symbols.back()["children"].push_back(
                symbolOf(context, entry, sectionLastLine(spans, line, line)));
        } else {
            symbols.push_back(symbolOf(context, entry, sectionLastLine(spans, line, line)));
        }
    }
    return symbols;
}

Json definition(const FeatureContext& context, const std::string& uri, const Json& params) {
    if (!context.isSource) return nullptr;
    const TextPosition at = textPositionOf(linesOf(context), requestedPlace(context, params));
    std::optional<TextPosition> found = definitionAt(linesOf(context), context.model.reader(), at);
    if (!found && at.column > 1)
        found = definitionAt(linesOf(context), context.model.reader(), {at.line, at.column - 1});
    if (!found) return nullptr;
    return locationOf(context, uri, *found, std::max(labelLength(context, *found), 1));
}

Json references(const FeatureContext& context, const std::string& uri, const Json& params) {
    Json locations = Json::array();
    for (const TextPosition& use : labelUses(context, params))
        locations.push_back(locationOf(context, uri, use, labelLength(context, use)));
    return locations;
}

Json prepareRename(const FeatureContext& context, const Json& params) {
    const std::vector<TextPosition> uses = labelUses(context, params);
    if (uses.empty()) return nullptr;
    const TextPosition at = textPositionOf(linesOf(context), requestedPlace(context, params));
    // The use at the caret: the one on its line that starts at or before it.
    const TextPosition* chosen = &uses.front();
    for (const TextPosition& use : uses) {
        if (use.line == at.line && use.column <= at.column) chosen = &use;
    }
    return rangeOf(linesOf(context), *chosen, labelLength(context, *chosen), context.encoding);
}

Json rename(const FeatureContext& context, const std::string& uri, const Json& params) {
    const std::string name = params.at("newName").get<std::string>();
    if (!isLabelName(name)) {
        throw RequestError{kInvalidParams,
                           "a label is one word without blanks, commas or brackets"};
    }
    const std::vector<TextPosition> uses = labelUses(context, params);
    if (uses.empty()) return nullptr;
    Json edits = Json::array();
    for (const TextPosition& use : uses) {
        edits.push_back(textEdit(
            rangeOf(linesOf(context), use, labelLength(context, use), context.encoding), name));
    }
    return workspaceEdit(uri, std::move(edits));
}

Json foldingRanges(const FeatureContext& context) {
    Json ranges = Json::array();
    if (!context.isSource) return ranges;
    std::vector<LineSpan> spans = blockSpansOf(linesOf(context), context.model.reader());
    std::sort(spans.begin(), spans.end(),
              [](const LineSpan& a, const LineSpan& b) { return a.first < b.first; });
    for (const LineSpan& span : spans) {
        // The closer stays in sight.
        const std::size_t last = span.last - (span.last > span.first + 1 ? 1 : 0);
        ranges.push_back({{"startLine", span.first}, {"endLine", last}});
    }
    return ranges;
}

Json formatting(const FeatureContext& context, const Json* range) {
    Json edits = Json::array();
    if (!context.isSource) return edits;
    const std::vector<std::string>& lines = linesOf(context);
    const std::vector<std::string> laidOut = formatSourceLines(lines, context.model.reader());
    std::size_t first = 0;
    std::size_t last = lines.size() - 1;
    if (range) {
        first = placeOf(lines, range->at("start"), context.encoding).line;
        last = placeOf(lines, range->at("end"), context.encoding).line;
    }
    for (std::size_t k = first; k <= last && k < lines.size(); ++k) {
        if (laidOut[k] == lines[k]) continue;
        // Only blanks before the text change: the edit replaces those.
        const std::size_t oldBlanks = std::min(lines[k].find_first_not_of(" \t"), lines[k].size());
        const std::size_t newBlanks =
            std::min(laidOut[k].find_first_not_of(" \t"), laidOut[k].size());
        edits.push_back(textEdit(rangeOf(lines, {k, 0}, {k, oldBlanks}, context.encoding),
                                 laidOut[k].substr(0, newBlanks)));
    }
    return edits;
}

Json codeActions(const FeatureContext& context, const std::string& uri, const Json& params) {
    const std::vector<std::string>& lines = linesOf(context);
    const LinePlace from = placeOf(lines, params.at("range").at("start"), context.encoding);
    const LinePlace to = placeOf(lines, params.at("range").at("end"), context.encoding);
    const LineReader reader = context.isSource ? context.model.reader() : LineReader{};
    const Json diagnostics = diagnosticsOf(context);
    Json actions = Json::array();
    const std::vector<Finding>& findings = context.model.findings();
    for (std::size_t k = 0; k < findings.size(); ++k) {
        const Finding& finding = findings[k];
        const LinePlace start = placeOf(lines, finding.position);
        if (start.line < from.line || start.line > to.line) continue;
        // With no reader the fixes read the lines as one line of commands: one at a time.
        const std::vector<std::string> one{lines[start.line]};
        Finding onItsLine = finding;
        if (!reader) onItsLine.position.line = 1;
        const std::span<const std::string> read =
            reader ? std::span<const std::string>(lines) : std::span<const std::string>(one);
        for (QuickFix& fix : quickFixesFor(onItsLine, read, reader)) {
            if (!reader) fix.at.line = finding.position.line;
            const LinePlace fixFrom = placeOf(lines, fix.at);
            const std::size_t end =
                fixFrom.byte +
                byteOffsetOfCharacter(std::string_view(lines[fixFrom.line]).substr(fixFrom.byte),
                                      fix.length);
            Json edit =
                textEdit(rangeOf(lines, fixFrom, {fixFrom.line, end}, context.encoding), fix.text);
            actions.push_back({{"title", std::string(fix.title.in(context.language))},
                               {"kind", "quickfix"},
                               {"diagnostics", {diagnostics[k]}},
                               {"edit", workspaceEdit(uri, {std::move(edit)})}});
        }
    }
    return actions;
}

}  // namespace vek::lsp
