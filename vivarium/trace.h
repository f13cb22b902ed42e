#pragma once

#include <string>

#include "vivarium/world.h"

namespace vek::vivarium {

// "FILE:LINE:COLUMN" of a happening's command; the file is "-" for a macro from no file.
std::string placeOf(const Happening& happening);
// An object after a tick: "tick N F G S #K x y pose P".
std::string stateLine(int tick, const Object& object);
// A sound, message, stimulus or word not modelled as a trace line ("tick N F G S #K snde
// spin", "... not modelled chem at FILE:LINE:COLUMN"); a fault as "FILE:LINE:COLUMN: error:
// text", in English.
std::string happeningLine(const Happening& happening);

}  // namespace vek::vivarium
