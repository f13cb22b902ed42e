#pragma once

#include "cli/cli.h"

// The verb groups, one file each (cli/verb_<name>.cpp).
namespace vek::cli {

Verb demoVerb();

}  // namespace vek::cli
