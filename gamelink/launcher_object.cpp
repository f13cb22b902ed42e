#include "gamelink/launcher_object.h"

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "gamelink/creatures.h"

namespace vek {

MacroOutcome putLauncherObject(TCreatures& creatures,
                               const std::filesystem::path& programDirectory) {
    // Without an image directory there is nowhere for the game to find the picture.
    if (const std::string& images = creatures.paths().CImagePath; !images.empty()) {
        try {
            writeFileAtomically(findIgnoringCase(pathFromUtf8(images), "vekw.spr"),
                                readFileBytes(findIgnoringCase(programDirectory, "rpsw.kev")));
        } catch (const std::exception&) {
            // The object is put into the world all the same; it then has no picture.
        }
    }
    return creatures.SendMacro(kLauncherMacro);
}

}  // namespace vek
