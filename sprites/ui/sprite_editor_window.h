#pragma once

#include <optional>

#include "app/messages.h"
#include "app/rgb_image.h"
#include "app/ui/vek_window.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollArea;

namespace vek::ui {

class PictureBox;
class TMultiShape;

// TForm1: "Sprite Editor". Holds the open sprite file's table, the current sprite's pixels, the
// palette table and the sprite clipboard for the whole run.
class SpriteEditorWindow : public VekWindow {
    Q_OBJECT
  public:
    // The palette table is shared with the windows that show palette indices.
    SpriteEditorWindow(AppContext& context, PaletteTable& palette);
    ~SpriteEditorWindow() override;

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    // What the object compiler uses. The two operations throw VekError on file errors (the
    // caller's command shows it); selectSprite also for a number the file does not hold.
    bool spriteFileLoaded() const { return m_spriteLoaded; }  // a sprite has been read
    void openSpriteFileByName(const QString& fileName);
    void selectSprite(int index);
    const SpriteImage& currentSprite() const { return m_sprite; }
    const PaletteTable& paletteTable() const { return m_palette; }

    // The state the window shows, for the other windows and the tests.
    const SpriteTable& spriteTable() const { return m_table; }
    int currentSpriteIndex() const { return m_current; }
    int zoom() const { return m_zoom; }
    std::uint8_t color1() const { return m_color1; }
    std::uint8_t color2() const { return m_color2; }
    const RgbImage& drawingArea() const { return m_area; }
    const RgbImage& paletteArea() const { return m_paletteArea; }

    // Menu and button handlers, by their designed names.
    void OpenSpriteFile1Click();
    void SaveSprite1Click();
    void SaveSpritetonewFile1Click();
    void SaveSpritetoBMP1Click();
    void SavePaletteAreatoBMP1Click();
    void ClearSprite1Click();
    void CopySprite1Click();
    void PasteSprite1Click();
    void ClearDrawingArea1Click();
    void SpriteFileCreator1Click();
    void BMPtoSpriteconverter1Click();
    void CopySPRfilestooneSPRfil1Click();
    void ConnectVEKtoCreatures1Click();
    void LaunchCREATURES1Click();
    void Button1Click();
    // The five zoom items; throws when the sprite would not fit the drawing area at this zoom.
    void setZoom(int zoom);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildMenus();
    void buildControls();
    QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, int tag,
                         void (SpriteEditorWindow::*handler)() = nullptr);
    QAction* addCommandItem(QMenu* menu, const char* name, const QString& caption, int tag,
                            const Command<>& command);

    void makeInfoPage();
    void openSpriteFile(const std::optional<QString>& fileName);
    void checkZoomItem();
    void exportPicture(const RgbImage& picture, const Bilingual& title);
    void ListBox1Click();
    void redraw();
    void emptyDrawingArea();
    void showDrawingArea();
    void showPaletteArea();
    void setSwatch(QLabel* swatch, std::uint8_t index);
    void updateCaption(const QString& fileName);
    void enableSpriteCommands();
    void layoutContent();

    void drawingAreaPressed(QPoint point, Qt::MouseButton button, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers);
    void drawingAreaMoved(QPoint point);
    void paintPixelAt(QPoint point, std::uint8_t index);
    void paletteAreaPressed(QPoint point, Qt::MouseButton button);

    QString imageDirectory() const;

    // State of the run.
    SpriteTable m_table;
    QString m_openFileName;  // what the open dialog offers again after a cancel
    int m_current = -1;
    bool m_spriteLoaded = false;
    SpriteImage m_sprite;
    PaletteTable& m_palette;
    RgbImage m_area;
    RgbImage m_paletteArea;
    int m_zoom = 1;
    std::uint8_t m_color1 = 0;
    std::uint8_t m_color2 = 1;
    enum class Drawing { None, Color1, Color2 } m_drawing = Drawing::None;
    std::optional<SpriteImage> m_clipboard;

    // Controls, by their designed names.
    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    TMultiShape* MultiShape1 = nullptr;
    QFrame* m_swatchFrame1 = nullptr;
    QFrame* m_swatchFrame2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;
    PictureBox* Image2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QFrame* Panel1 = nullptr;
    PictureBox* Image1 = nullptr;

    QAction* SaveSprite1 = nullptr;
    QAction* SaveSpritetonewFile1 = nullptr;
    QAction* ClearSprite1 = nullptr;
    QAction* CopySprite1 = nullptr;
    QAction* PasteSprite1 = nullptr;
    QAction* ClearDrawingArea1 = nullptr;
    QMenu* Zoom1 = nullptr;
    QActionGroup* m_zoomGroup = nullptr;
};

}  // namespace vek::ui
