#include "objects/ui/sprite_editor_pictures.h"

#include "app/ui/app_context.h"
#include "app/ui/qt_convert.h"
#include "app/vek_error.h"
#include "sprites/ui/sprite_editor_window.h"

namespace vek::ui {

namespace {

class SpriteEditorPictures : public PictureSource {
  public:
    explicit SpriteEditorPictures(const AppContext& context) : m_context(context) {}

    void openSpriteFileByName(const std::string& path) override {
        editor().openSpriteFileByName(toQString(path));
    }
    void selectSprite(int position) override { editor().selectSprite(position); }
    bool spriteLoaded() const override {
        return m_context.windows.spriteEditor && m_context.windows.spriteEditor->spriteFileLoaded();
    }
    SpriteImage currentSprite() const override { return editor().currentSprite(); }

  private:
    SpriteEditorWindow& editor() const {
        if (!m_context.windows.spriteEditor) throw VekError("The sprite editor is not there.");
        return *m_context.windows.spriteEditor;
    }

    const AppContext& m_context;
};

}  // namespace

std::unique_ptr<PictureSource> makeSpriteEditorPictures(const AppContext& context) {
    return std::make_unique<SpriteEditorPictures>(context);
}

PaletteTable spriteEditorPalette(const AppContext& context) {
    if (!context.windows.spriteEditor) return PaletteTable{};
    return context.windows.spriteEditor->paletteTable();
}

}  // namespace vek::ui
