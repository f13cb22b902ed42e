#include "cli/compile_support.h"

#include "app/file_io.h"
#include "app/file_reader.h"
#include "app/text_names.h"
#include "objects/sprite_file_pictures.h"
#include "sprites/sprite_document.h"

namespace vek::cli {

namespace {

// Sprite files come from the game's image directory; without one a "sprite" line cannot work.
class GameSpritePictures : public SpriteFilePictures {
  public:
    GameSpritePictures(SpriteDocument& document, bool haveImageDirectory)
        : SpriteFilePictures(document), m_haveImageDirectory(haveImageDirectory) {}

    void openSpriteFileByName(const std::string& path) override {
        if (!m_haveImageDirectory) {
            throw VekError(Msg::ImageDirectoryUnknown, ErrorDetail::ofFile(pathFromUtf8(path)));
        }
        SpriteFilePictures::openSpriteFileByName(path);
    }

  private:
    bool m_haveImageDirectory;
};

}  // namespace

CompiledObject compileWithGameSprites(Invocation& invocation, const std::vector<std::string>& lines,
                                      const std::filesystem::path& sourceFile) {
    const std::string imagePath = invocation.gamePaths().CImagePath;
    SpriteDocument sprites;
    GameSpritePictures pictures(sprites, !imagePath.empty());
    PictureFolder pictureFolder;
    if (!sourceFile.empty() && !isStandardStream(sourceFile))
        pictureFolder.sourceFolder = folderOfSource(sourceFile);
    return compileSource(lineViews(lines), {imagePath, pictures, pictureFolder});
}

}  // namespace vek::cli
