#pragma once

#include <span>
#include <string>
#include <string_view>

#include "language/source_model.h"
#include "lsp/positions.h"

namespace vek::lsp {

// What a feature reads of an open document: its one reading, how it is to be read, and how the
// client counts and which language it speaks.
struct FeatureContext {
    const SourceModel& model;
    bool isSource = false;  // sections, blocks and layout: a .cos source
    PositionEncoding encoding = PositionEncoding::Utf16;
    std::string_view language;  // kLanguageEnglish or kLanguageGerman
    std::span<const std::string_view> events;
};

// The diagnostics of the document's findings, in the client's language.
Json diagnosticsOf(const FeatureContext& context);
// One finding in `lines` as a diagnostic.
Json diagnosticOf(std::span<const std::string> lines, const Finding& finding,
                  PositionEncoding encoding, std::string_view language);

// The answers to the requests of the same names, given their params.
Json completion(const FeatureContext& context, const Json& params);
Json signatureHelp(const FeatureContext& context, const Json& params);
Json hover(const FeatureContext& context, const Json& params);
Json documentSymbols(const FeatureContext& context);
Json definition(const FeatureContext& context, const std::string& uri, const Json& params);
Json references(const FeatureContext& context, const std::string& uri, const Json& params);
Json prepareRename(const FeatureContext& context, const Json& params);
// Throws InvalidParams (as a RequestError) for a name that cannot be a label.
Json rename(const FeatureContext& context, const std::string& uri, const Json& params);
Json foldingRanges(const FeatureContext& context);
// The whole document's layout, or the lines a range touches: only the blanks before each line
// that changes, as edits of those blanks alone.
Json formatting(const FeatureContext& context, const Json* range);
Json codeActions(const FeatureContext& context, const std::string& uri, const Json& params);

// The JSON-RPC and protocol error codes the server answers with.
enum ErrorCode : int {
    kParseError = -32700,
    kInvalidRequest = -32600,
    kMethodNotFound = -32601,
    kInvalidParams = -32602,
    kInternalError = -32603,
    kServerNotInitialized = -32002,
};

// A request the server refuses with a JSON-RPC error.
struct RequestError {
    int code;
    std::string message;
};

}  // namespace vek::lsp
