#include "demo/demo_installation.h"

#include <string>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/user_folders.h"
#include "demo/demo_contributors.h"

namespace vek::demo {

namespace fs = std::filesystem;

namespace {

// Raise this whenever the demo's contents change, so that existing demo folders are renewed.
constexpr int kDemoGeneratorVersion = 9;
constexpr const char* kStampFile = "demo-version.txt";

using Contributor = void (*)(const DemoLayout&);

// The subsystems' contributions, in the order they are written.
constexpr Contributor kContributors[] = {
    writeDemoBasics,  writeDemoPictures, writeDemoObjects,    writeDemoGameLink,
    writeDemoSprites, writeDemoWorld,    writeDemoGenerators,
};

std::string stampText() { return "vekstudio demo " + std::to_string(kDemoGeneratorVersion) + "\n"; }

}  // namespace

void generateDemoInstallation(const DemoLayout& layout) {
    fs::create_directories(layout.gameDirectory());
    fs::create_directories(layout.programDirectory());
    for (Contributor contribute : kContributors) contribute(layout);
    writeFileAtomically(layout.root / kStampFile, stampText());
}

void ensureDemoInstallation(const DemoLayout& layout) {
    try {
        if (readFileText(layout.root / kStampFile) == stampText()) return;
    } catch (const std::exception&) {
        // No stamp: not generated yet, or by an unfinished run.
    }
    generateDemoInstallation(layout);
}

fs::path defaultDemoRoot() { return userDataDirectory() / "demo"; }

}  // namespace vek::demo
