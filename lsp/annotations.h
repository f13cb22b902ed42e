#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "lsp/features.h"

namespace vek::lsp {

// A part of a class that a lookup leaves out: a family alone, or a family and genus.
inline constexpr int kAbsentClassPart = -1;

// The name the class catalogue gives a class, or a family or genus alone (the parts it leaves out
// given as kAbsentClassPart); empty where it names none.
using ClassNameLookup = std::function<std::string(int family, int genus, int species)>;

// The inlay hints of the requested range: what a class number, an attribute or behaviour value or
// a script's event number means, after the number.
Json inlayHints(const FeatureContext& context, const Json& params, const ClassNameLookup& names);

// The semantic token types and modifiers the server announces, in the order the tokens count them.
Json semanticTokensLegend();

// The tokens of a document in the highlighter's categories, each as five numbers relative to the
// one before, as the protocol encodes them.
std::vector<std::uint32_t> semanticTokenData(const FeatureContext& context);

// The last tokens sent for each document, so that a client may ask only for what changed.
class SemanticTokensMemory {
  public:
    Json full(const FeatureContext& context, const std::string& uri);
    // The edits from the tokens of `previousResultId` to the tokens now; all tokens for an id
    // that is not the last one sent.
    Json delta(const FeatureContext& context, const std::string& uri, const Json& params);
    void forget(const std::string& uri) { m_sent.erase(uri); }

  private:
    struct Sent {
        std::string resultId;
        std::vector<std::uint32_t> data;
    };
    // Keeps the data as the last sent for the document, under a new id.
    const Sent& keep(const std::string& uri, std::vector<std::uint32_t> data);

    std::map<std::string, Sent> m_sent;
    std::uint64_t m_lastId = 0;
};

}  // namespace vek::lsp
