#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "objects/cob_data.h"
#include "objects/cob_fields.h"

namespace vek {

// Turns the object back into source text: a header block from the field texts (with a "picture"
// line when the object has a picture: see source_picture.h), then every installation routine and
// every script one element a line, indented by its blocks.
// Appends to `lines`; a "scrp" element whose event number is not a number stops with the
// conversion error, leaving the lines written so far.
void discompileInto(const CobData& cob, const CobFields& fields, std::string_view objectFileName,
                    std::vector<std::string>& lines);
std::vector<std::string> discompile(const CobData& cob, const CobFields& fields,
                                    std::string_view objectFileName);

// The comment line written before a script or installation routine that compiling its source
// would drop: the compiler takes only sections whose first line begins with "scrp" or "inst".
inline constexpr std::string_view kDroppedByCompilingComment =
    "* This script does not begin with \"scrp\" or \"inst\": compiling drops it";

// Whether compiling the discompiled source keeps this script or routine.
bool compilingKeeps(std::string_view macro);
// How many of the object's scripts and routines compiling its discompiled source drops.
std::size_t countDroppedByCompiling(const CobData& cob);

// The first line names the object file and the discompiler.
std::string discompiledFromLine(std::string_view objectFileName);

}  // namespace vek
