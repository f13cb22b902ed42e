#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "objects/cob_data.h"
#include "objects/cob_fields.h"

namespace vek {

// Turns the object back into source text: a header block from the field texts, then every
// installation routine and every script one element a line, indented by its blocks.
// Appends to `lines`; a "scrp" element whose event number is not a number stops with the
// conversion error, leaving the lines written so far.
void discompileInto(const CobData& cob, const CobFields& fields, std::string_view objectFileName,
                    std::vector<std::string>& lines);
std::vector<std::string> discompile(const CobData& cob, const CobFields& fields,
                                    std::string_view objectFileName);

// The first line names the object file and the discompiler.
std::string discompiledFromLine(std::string_view objectFileName);

}  // namespace vek
