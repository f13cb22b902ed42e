#pragma once

#include <optional>

#include "app/messages.h"
#include "app/observers.h"
#include "app/rgb_image.h"
#include "app/ui/vek_window.h"
#include "sprites/palette.h"
#include "sprites/sprite_document.h"

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

// TForm1: "Sprite Editor". Shows the sprite document (the open file, the current sprite and the
// sprite clipboard) and drives it: the list of sprites, the enlarged sprite to paint on with two
// colours of the palette area, the zoom and the background colour.
class SpriteEditorWindow : public VekWindow {
    Q_OBJECT
  public:
    // The document and the palette table are shared with the windows that use sprites.
    SpriteEditorWindow(AppContext& context, SpriteDocument& document, PaletteTable& palette);
    ~SpriteEditorWindow() override;

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    // The state the window shows, for the tests.
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
    // One zoom factor up or down (Ctrl++, Ctrl+-), no further than 16 or 1.
    void zoomStep(int steps);
    void undo();
    void redo();
    // Files menu: a picture of the sprite's size replaces its pixels, matched to the palette.
    void importPicture();

    // Opens a sprite file by name (another window asked), after the question about a changed
    // sprite; false when the user chose to stay with it.
    bool openSpriteFile(const std::filesystem::path& file);
    // The same for a file handed over from outside (a drop, the command line); a file that
    // cannot be read is reported.
    void openHandedSpriteFile(const std::filesystem::path& file);
    // The question before a changed sprite is left: Yes saves it in place, No lets it go, Cancel
    // stays.
    LeaveChoice askToLeaveChangedSprite();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenus();
    void buildControls();
    QAction* addMenuItem(QMenu* menu, const char* name, int tag,
                         void (SpriteEditorWindow::*handler)() = nullptr);
    QAction* addCommandItem(QMenu* menu, const char* name, int tag, const Command<>& command);

    void makeInfoPage();
    void documentChanged(const SpriteDocumentEvent& event);
    void showOpenedFile(const std::filesystem::path& file);
    void showSelectedSprite();
    void showPixels(const PixelRect& area);
    void checkZoomItem();
    void exportPicture(const RgbImage& picture, const Bilingual& title);
    void ListBox1Click();
    void showCurrentInList();
    void redraw();
    void emptyDrawingArea();
    void showDrawingArea();
    void setSwatch(QLabel* swatch, std::uint8_t index);
    void updateCaption(const QString& fileName);
    void showCaption();
    void enableSpriteCommands();
    void enableUndoItems();
    // The status line: file, sprite, zoom, and the palette index under the pointer.
    void showState();
    void noteSaved(const QString& file);
    // Ctrl+wheel: the sprite pixel under the pointer stays under it.
    void zoomAround(QPoint viewportPoint, int steps);
    void layoutContent();

    void drawingAreaPressed(QPoint point, Qt::MouseButton button, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers);
    void drawingAreaMoved(QPoint point);
    void paintPixelAt(QPoint point, std::uint8_t index);
    std::optional<std::pair<int, int>> spritePixelUnder(QPoint point) const;
    void paletteAreaPressed(QPoint point, Qt::MouseButton button);

    // The folder a dialog starts in: the one last used for the kind, else the game's images.
    QString startFolder(RecentKind kind) const;

    SpriteDocument& m_document;
    Subscription m_observation;
    PaletteTable& m_palette;
    RgbImage m_area;
    RgbImage m_paletteArea;
    int m_zoom = 1;
    std::uint8_t m_color1 = 0;
    std::uint8_t m_color2 = 1;
    enum class Drawing { None, Color1, Color2 } m_drawing = Drawing::None;
    QString m_captionFile;                              // the file the caption names
    std::optional<std::pair<int, int>> m_pointerPixel;  // the sprite pixel under the pointer
    QLabel* m_stateLine = nullptr;

    // Controls, by their designed names.
    QWidget* m_content = nullptr;
    QWidget* m_strip = nullptr;              // the colours, BGC and the palette area
    QScrollArea* m_drawingScroll = nullptr;  // the drawing area scrolls alone
    QWidget* m_drawingContent = nullptr;
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
    QAction* m_importItem = nullptr;
    QAction* m_undoItem = nullptr;
    QAction* m_redoItem = nullptr;
    QMenu* Zoom1 = nullptr;
    QActionGroup* m_zoomGroup = nullptr;
};

}  // namespace vek::ui
