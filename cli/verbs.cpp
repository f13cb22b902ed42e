#include "cli/verbs.h"

namespace vek::cli {

const std::vector<Verb>& allVerbs() {
    static const std::vector<Verb> verbs = {
        demoVerb(),    cobVerb(),       checkVerb(),  sendVerb(),        injectVerb(),
        extractVerb(), bmp2sprVerb(),   mapVerb(),    sprVerb(),         classesVerb(),
        newVerb(),     worldVerb(),     eggsVerb(),   gameSettingVerb(), soundsVerb(),
        reportVerb(),  thumbnailVerb(), formatVerb(), tryVerb(),         wordsVerb(),
        lspVerb(),
    };
    return verbs;
}

}  // namespace vek::cli
