#include "cli/verbs.h"

namespace vek::cli {

const std::vector<Verb>& allVerbs() {
    static const std::vector<Verb> verbs = {
        demoVerb(),
    };
    return verbs;
}

}  // namespace vek::cli
