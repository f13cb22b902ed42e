#include "demo/stand_in_images.h"

#include <system_error>

#include "app/file_io.h"
#include "demo/demo_installation.h"

namespace vek::demo {

StandInImages standInImages(const GamePathSources& sources) {
    const std::string images = readGamePaths(sources).CImagePath;
    std::error_code error;
    if (!images.empty() && std::filesystem::is_directory(pathFromUtf8(images), error))
        return {pathFromUtf8(images), gamePathsSourceName(sources)};
    const DemoLayout demo{defaultDemoRoot()};
    ensureDemoInstallation(demo);
    const std::string reason = images.empty()
                                   ? "no game is known"
                                   : "the game's image directory " + images + " is not there";
    return {pathFromUtf8(gamePathsUnder(demo.gameDirectory()).CImagePath),
            "the demo installation: " + reason, true};
}

}  // namespace vek::demo
