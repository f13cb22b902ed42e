#pragma once

#include <QPoint>
#include <optional>

#include "app/messages.h"
#include "app/observers.h"
#include "app/rgb_image.h"
#include "app/ui/vek_window.h"
#include "sprites/palette.h"
#include "sprites/sprite_commands.h"
#include "sprites/sprite_document.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_tools.h"

class QAction;
class QActionGroup;
class QFrame;
class QIcon;
class QTimer;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolBar;

namespace vek::ui {

class PaletteView;
class SpriteCanvas;
class TMultiShape;

// TForm1: "Sprite Editor". Arranges the views of the editing state (the document with its
// current sprite, selection and clipboard, the tool, the two colours and the palette shown) and
// binds the editor's commands to its menus and keys: the list of sprites, the drawing area (a
// canvas that zooms and turns the mouse into the chosen tool), the palette area with the two
// colours, the tool strip and the background colour.
class SpriteEditorWindow : public VekWindow, private SpriteEditingQuestions {
    Q_OBJECT
  public:
    // The document and the game's palette, which the studio loads, are shared with the windows
    // that use sprites.
    SpriteEditorWindow(AppContext& context, SpriteDocument& document, PaletteTable& palette);
    ~SpriteEditorWindow() override;

    // VEK.INI's section of the editor's own settings.
    static constexpr const char* kSettingsSection = "SpriteEditor";

    // The creation step, run once at start-up after the window exists; false when the game is
    // not installed.
    bool FormCreate();
    // Shows the game's palette once the studio has loaded it, with the colours as at the start.
    void showGamePalette();

    // The state the window shows, for the tests.
    int zoom() const;
    const SpriteEditing& editing() const { return m_editing; }
    std::uint8_t color1() const { return m_editing.color(ColorSlot::Primary); }
    std::uint8_t color2() const { return m_editing.color(ColorSlot::Secondary); }
    const RgbImage& drawingArea() const;
    const RgbImage& paletteArea() const;
    SpriteToolKind tool() const { return m_editing.tool(); }
    const SpriteSelection& selection() const { return m_editing.selection(); }

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
    // The largest zoom at which the sprite with its frame fits the view (Ctrl+0).
    void zoomToFit();
    void undo();
    void redo();
    // The tool strip and its keys.
    void chooseTool(SpriteToolKind tool);
    // Zoom menu: the pixel grid at zoom 4 and above, remembered in VEK.INI.
    void showGrid(bool shown);
    // Files menu: a picture of the sprite's size replaces its pixels, matched to the palette.
    void importPicture();
    // Files menu: the current sprite as a PNG at its real size in the editor's palette, index 0
    // transparent; sprites as an animated GIF (an animation string from a first sprite, or a
    // range from a first to a last, asked for); a GIF's frames (or a PNG's or bitmap's picture)
    // inserted as sprites behind the current one.
    void exportSpritePng();
    void exportSpriteGif();
    // Files menu: sprites from a first to a last, asked for, as PNG pictures one file each
    // (NAME-K.png for sprite K) or as one sheet.
    void exportSpritePngs(bool sheet);
    void importGifFrames();
    // Files menu: the palette to show the open file in, chosen by hand (until another file is
    // opened, which brings the palette beside it or the game's).
    void choosePalette();
    // Edit menu: the list of sprites, each written to the file at once and one undo step.
    // Insert asks the new sprite's size (the current one's to start with) and puts it after the
    // current sprite.
    void insertNewSprite();
    void duplicateCurrentSprite();
    void deleteCurrentSprite();
    // One place up (a negative step) or down (a positive one).
    void moveCurrentSprite(int steps);
    // The animation preview shows this sprite of this file now: its line in the list is marked.
    void markPreviewFrame(const std::filesystem::path& file, std::size_t sprite);
    // The line the preview's mark is on; none without one in the open file.
    std::optional<std::size_t> previewFrame() const { return m_previewFrame; }
    // Zoom menu: the onion skin (the previous sprite, and the next one if chosen, faintly where
    // the current sprite is transparent) and its opacity, remembered in VEK.INI.
    void showOnionSkin(bool shown);
    void showOnionNext(bool shown);
    void chooseOnionOpacity();
    // Tools menu: the animation preview of the open file from the current sprite on.
    void previewAnimation();
    // The palette the editor shows the open file in.
    const PaletteTable& spritePalette() const { return m_editing.palette(); }

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
    void buildToolItems(QMenu* tools);
    // The brush size (pencil, brush, eraser, line): a box in the tool strip and two keys.
    void buildBrushSizeItems(QMenu* tools);
    void buildSpritePictureItems(QMenu* file);
    // The sprites a GIF shows, in order, and whether it starts again.
    struct GifFrames {
        std::vector<std::size_t> sprites;
        bool loops = true;
    };
    // An animation string with its first sprite, or when it is left empty a range; nothing when
    // cancelled.
    std::optional<GifFrames> askGifFrames(const QString& title);
    // The first and the last sprite of a range, asked for; nothing when cancelled.
    std::optional<std::pair<std::size_t, std::size_t>> askSpriteRange(const QString& title);
    // The sprites of the open file as shown: the current one with its unsaved pixels.
    SpriteList spritesAsShown() const;
    void buildFrameItems(QMenu* edit);
    // Flip, mirror and drop the selection (the whole sprite is flipped or mirrored without one).
    void buildSelectionItems(QMenu* edit);
    void buildOnionItems(QMenu* zoom);
    // Gives the canvas the onion skin of the menu; the user's changes are stored in VEK.INI.
    void applyOnionSkin();
    void storeOnionSkin();
    void buildControls();
    QAction* addMenuItem(QMenu* menu, const char* name, int tag,
                         void (SpriteEditorWindow::*handler)() = nullptr);
    QAction* addCommandItem(QMenu* menu, const char* name, int tag, const Command<>& command);
    // The item runs the command and is enabled while the command is.
    QAction* bindCommand(QAction* item, SpriteCommand command);
    QAction* bindCommand(QAction* item, SpriteCommandId id) {
        return bindCommand(item, spriteCommand(id));
    }
    // Runs one of the editing commands as its menu item does.
    void execute(SpriteCommandId id);
    void execute(const SpriteCommand& command);
    void enableCommands();
    void editingChanged(SpriteEditingChange change);
    void showColors();
    void checkToolItem();

    // The questions of the editing commands, as dialogs.
    bool confirmClear() override;
    std::optional<SpriteSize> askNewSpriteSize(SpriteSize initial) override;
    // The size, whether to stretch the picture or change the canvas around an anchor, and which
    // sprites: one dialog.
    std::optional<SpriteResize> askResize(SpriteSize current, std::size_t sprite,
                                          std::size_t count) override;

    void makeInfoPage();
    void documentChanged(const SpriteDocumentEvent& event);
    void showOpenedFile(const std::filesystem::path& file);
    void showSelectedSprite();
    void checkZoomItem();
    void exportPicture(const RgbImage& picture, const Bilingual& title);
    void ListBox1Click();
    void showCurrentInList();
    void showDrawingArea();
    void setSwatch(QLabel* swatch, std::uint8_t index);
    void updateCaption(const QString& fileName);
    void showCaption();
    // The status line: file, sprite and zoom; beside it the pixel or colour under the pointer.
    void showState();
    void noteSaved(const QString& file);
    // Ctrl+wheel: the sprite pixel under the pointer stays under it.
    void zoomAround(QPoint viewportPoint, int steps);
    void layoutContent();
    // The zoom and scroll of the file shown, kept when another is opened, and brought back.
    SpriteView currentView() const;
    void keepShownView();
    void restoreView(const std::filesystem::path& file);

    // The list of sprites as a strip of thumbnails: a drag moves a sprite to where it is dropped.
    void buildFrameStrip();
    void fillFrameStrip();
    // Each line's picture in the palette shown.
    void drawThumbnails();
    QIcon thumbnailOf(const SpriteImage& sprite) const;
    void refreshCurrentThumbnail();
    void showPreviewMark();
    // Mouse events on the list's viewport while a line is dragged; true when taken.
    bool dragFrame(QEvent* event);

    // A colour chosen in the palette area.
    void setColor(Qt::MouseButton button, std::uint8_t index);

    // The folder a dialog starts in: the one last used for the kind, else the game's images.
    QString startFolder(RecentKind kind) const;

    SpriteDocument& m_document;
    SpriteEditing m_editing;
    Subscription m_observation;
    Subscription m_editingObservation;
    std::vector<std::pair<QAction*, SpriteCommand>> m_commands;
    QString m_captionFile;          // the file the caption names
    QLabel* m_stateLine = nullptr;  // file, sprite and zoom
    QLabel* m_readout = nullptr;    // the pixel or palette colour under the pointer

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
    PaletteView* Image2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QFrame* Panel1 = nullptr;
    SpriteCanvas* Image1 = nullptr;
    QToolBar* m_toolStrip = nullptr;
    QSpinBox* m_brushSize = nullptr;

    std::filesystem::path m_viewFile;  // the file whose view is shown
    bool m_viewPending = false;        // its view comes back with its first sprite
    std::optional<std::size_t> m_previewFrame;
    std::optional<int> m_dragFrom;  // the line a press in the list began on, and where
    QPoint m_dragStart;
    bool m_draggingFrame = false;
    QTimer* m_thumbnailTimer = nullptr;

    QAction* m_importItem = nullptr;
    QMenu* Zoom1 = nullptr;
    QActionGroup* m_zoomGroup = nullptr;
    QActionGroup* m_toolGroup = nullptr;
    QAction* m_gridItem = nullptr;
    QAction* m_onionItem = nullptr;
    QAction* m_onionNextItem = nullptr;
    int m_onionOpacity = 30;
};

}  // namespace vek::ui
