#pragma once

#include "cli/cli.h"

// The verb groups, one file each (cli/verb_<name>.cpp).
namespace vek::cli {

Verb demoVerb();
Verb cobVerb();
Verb checkVerb();
Verb formatVerb();
Verb wordsVerb();
Verb sendVerb();
Verb injectVerb();
Verb extractVerb();
Verb bmp2sprVerb();
Verb thumbnailVerb();
Verb mapVerb();
Verb sprVerb();
Verb classesVerb();
Verb newVerb();
Verb worldVerb();
Verb eggsVerb();
Verb gameSettingVerb();
Verb soundsVerb();
Verb reportVerb();
Verb tryVerb();
Verb lspVerb();

}  // namespace vek::cli
