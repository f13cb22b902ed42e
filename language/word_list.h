#pragma once

#include <string>
#include <string_view>

#include "language/dictionary.h"

namespace vek {

// Every word of the dictionary as a page of the manual: grouped by kind (commands, then the
// values by what they give), in name order, each with its whole entry in `language`.
std::string wordListPage(const Dictionary& dictionary, std::string_view language);

// The same as plain text, one word a line with its arguments, for the command line.
std::string wordListText(const Dictionary& dictionary, std::string_view language);

}  // namespace vek
