#include <ostream>

#include "app/file_io.h"
#include "cli/verbs.h"
#include "demo/demo_installation.h"

namespace vek::cli {

namespace {

int runDemo(Invocation& invocation) {
    const ArgumentList args(invocation.args, {}, {"--force"});
    args.expectPositional(0, 1);
    const demo::DemoLayout layout{args.positional().empty() ? demo::defaultDemoRoot()
                                                            : pathFromUtf8(args.positional()[0])};
    if (args.flag("--force")) {
        demo::generateDemoInstallation(layout);
    } else {
        demo::ensureDemoInstallation(layout);
    }
    invocation.lines() << "game directory: " << pathToUtf8(layout.gameDirectory()) << "\n"
                       << "program directory: " << pathToUtf8(layout.programDirectory()) << "\n";
    return kSuccess;
}

}  // namespace

Verb demoVerb() {
    return {"demo", "generate the demo installation",
            "usage: vek demo [DIR] [--force]\n"
            "Writes a synthetic game installation (DIR/Creatures) and program directory\n"
            "(DIR/Vekstudio) unless this version of the generator already made them there;\n"
            "--force writes them anew. DIR defaults to the user's data folder.\n",
            runDemo};
}

}  // namespace vek::cli
