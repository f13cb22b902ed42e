#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "app/observers.h"
#include "sprites/palette.h"
#include "sprites/sprite_document.h"
#include "sprites/sprite_resize.h"
#include "sprites/sprite_selection.h"
#include "sprites/sprite_tools.h"

namespace vek {

// The colour of the left button (primary) and of the right one (secondary).
enum class ColorSlot { Primary, Secondary };

// What changed in the editing state beside the document.
enum class SpriteEditingChange {
    ToolChosen,
    BrushSized,
    ColorChosen,
    PaletteShown,
    BackgroundChanged
};

// How a file is shown: its zoom factor and how far its view is scrolled.
struct SpriteView {
    int zoom = 1;
    int scrollX = 0;
    int scrollY = 0;

    bool operator==(const SpriteView&) const = default;
};

// The zoom factors of the drawing area, smallest first.
inline constexpr std::array<int, 5> kZoomFactors = {1, 2, 4, 8, 16};

// The largest zoom factor at which a sprite of `sprite` with `frame` pixels around it fits
// `room`; the smallest factor when none does.
int fittingZoom(SpriteSize sprite, SpriteSize room, int frame);
// The factor `steps` places up (positive) or down from `zoom`, within the factors.
int steppedZoom(int zoom, int steps);

// The questions a command asks the user before it acts; the window answers them with dialogs,
// tests as they are told.
class SpriteEditingQuestions {
  public:
    virtual ~SpriteEditingQuestions() = default;
    // Whether every pixel of the sprite may become index 0.
    virtual bool confirmClear() = 0;
    // The size of a new sprite, `initial` to start with; nothing when cancelled.
    virtual std::optional<SpriteSize> askNewSpriteSize(SpriteSize initial) = 0;
    // The new size of the current sprite (`current` now, number `sprite` of `count`), how, and
    // of which sprites; nothing when cancelled.
    virtual std::optional<SpriteResize> askResize(SpriteSize current, std::size_t sprite,
                                                  std::size_t count) = 0;
};

// What the sprite editor edits with, apart from its views: the document (with the current
// sprite and the selection), the chosen tool and the gesture under way, the two colours and the
// palette the open file is shown in. The game's palette is shared with the other windows.
class SpriteEditing {
  public:
    SpriteEditing(SpriteDocument& document, PaletteTable& gamePalette);
    SpriteEditing(const SpriteEditing&) = delete;
    SpriteEditing& operator=(const SpriteEditing&) = delete;

    [[nodiscard]] Subscription observe(std::function<void(SpriteEditingChange)> observer) {
        return m_observers.add(std::move(observer));
    }

    SpriteDocument& document() { return m_document; }
    const SpriteDocument& document() const { return m_document; }
    SpriteSelection& selection() { return m_document.selection(); }
    const SpriteSelection& selection() const { return m_document.selection(); }
    SpritePainter& painter() { return m_painter; }

    SpriteToolKind tool() const { return m_painter.tool(); }
    void chooseTool(SpriteToolKind tool);
    int brushSize() const { return m_painter.brushSize(); }
    // Within kSmallestBrush … kLargestBrush.
    void setBrushSize(int size);

    // A press of the button of `slot` on a pixel: the eyedropper, and any tool with `pick`
    // (the key held for it), take the pixel's colour for the button; the other tools begin a
    // gesture in the button's colour (`shift`: see SpritePainter). False when nothing was done.
    bool press(PixelPoint at, ColorSlot slot, bool shift, bool pick);

    std::uint8_t color(ColorSlot slot) const;
    void setColor(ColorSlot slot, std::uint8_t index);
    // The pixel's index becomes the slot's colour; false outside the sprite or without one.
    bool pickColor(ColorSlot slot, PixelPoint at);
    // Colour 1 index 0, colour 2 index 1, as at the start.
    void resetColors();

    // The palette the open file is shown in; its address stays, its colours change.
    const PaletteTable& palette() const { return m_palette; }
    const PaletteTable& gamePalette() const { return m_gamePalette; }
    void showPalette(const PaletteTable& table);
    void showGamePalette() { showPalette(m_gamePalette); }
    // The palette beside a sprite file, else the game's; a broken one throws after the game's
    // is shown.
    void showPaletteFor(const std::filesystem::path& spriteFile);
    // The colour behind the sprite: slot 0 of the game's palette and of the one shown.
    void setBackground(ScreenColor color);

    // The view of each file shown since the editor started, kept for when it is shown again.
    void keepView(const std::filesystem::path& file, SpriteView view);
    std::optional<SpriteView> viewOf(const std::filesystem::path& file) const;

    // Asked by the commands that need an answer first; without questions they do not act.
    SpriteEditingQuestions* questions() const { return m_questions; }
    void setQuestions(SpriteEditingQuestions* questions) { m_questions = questions; }

  private:
    void tell(SpriteEditingChange change) { m_observers.notify(change); }

    SpriteDocument& m_document;
    PaletteTable& m_gamePalette;
    PaletteTable m_palette;
    SpritePainter m_painter;
    std::uint8_t m_primary = 0;
    std::uint8_t m_secondary = 1;
    SpriteEditingQuestions* m_questions = nullptr;
    std::map<std::filesystem::path, SpriteView> m_views;
    ObserverList<SpriteEditingChange> m_observers;
};

}  // namespace vek
