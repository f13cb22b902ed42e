#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/install_layout.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

// The shipped files are found beside the programs in a build tree, and in the shared data
// folder beside an installation's programs, wherever the installation was moved.
TEST(InstallLayout, TheShippedFilesAreFoundInABuildTreeAndInAnInstallation) {
    const testing::TempDir dir;
    struct Case {
        const char* name;
        std::vector<fs::path> files;  // under the case's folder
        fs::path executables;
        fs::path expected;
    };
    const Case cases[] = {
        {"build", {"help/index.html"}, ".", "."},
        {"installed", {"share/vekstudio/help/index.html"}, "bin", "share/vekstudio"},
        {"both", {"bin/help/index.html", "share/vekstudio/help/index.html"}, "bin", "bin"},
        {"bare", {}, "bin", "bin"},
    };
    for (const Case& c : cases) {
        const fs::path root = dir / c.name;
        fs::create_directories(root / c.executables);
        for (const fs::path& file : c.files) {
            fs::create_directories((root / file).parent_path());
            writeFileAtomically(root / file, std::string_view("<html>"));
        }
        EXPECT_EQ(fs::weakly_canonical(installedDataDirectory(root / c.executables)),
                  fs::weakly_canonical(root / c.expected))
            << c.name;
    }
}

}  // namespace
}  // namespace vek
