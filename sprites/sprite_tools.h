#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "sprites/sprite_document.h"
#include "sprites/sprite_selection.h"

namespace vek {

// The drawing tools of the sprite editor, in the document's terms: a tool turns the press of a
// mouse button, the moves while it is held and its release into changes of the current sprite's
// pixels, and everything from the press to the release is one undo step.

// The eraser paints index 0 whatever the button. The eyedropper paints nothing: its press picks
// the button's colour (`SpriteEditing`). Select draws and moves the selection (`SpriteSelection`)
// and paints nothing; it stays last.
enum class SpriteToolKind {
    Pencil,
    Brush,
    Line,
    Rectangle,
    FilledRectangle,
    Fill,
    Eraser,
    Eyedropper,
    Ellipse,
    FilledEllipse,
    Select
};

// The sides of the square a pencil, brush, eraser or line paints at each pixel.
inline constexpr int kSmallestBrush = 1;
inline constexpr int kLargestBrush = 8;

// The pixels of a line from `from` to `to`, both ends included, each a neighbour of the one
// before (no gaps, no doubled corners).
std::vector<PixelPoint> linePixels(PixelPoint from, PixelPoint to);
// The pixels of the rectangle with corners `a` and `b` (in any order): its outline, or filled.
std::vector<PixelPoint> rectanglePixels(PixelPoint a, PixelPoint b, bool filled);
// The pixels of the ellipse that fits the rectangle with corners `a` and `b` (in any order),
// touching each of its sides: its outline (each pixel a neighbour of the next, corners included),
// or filled.
std::vector<PixelPoint> ellipsePixels(PixelPoint a, PixelPoint b, bool filled);
// Each point grown to a square of `size` pixels a side (the point at its middle, or just above
// and left of it for an even size), each pixel once, row by row.
std::vector<PixelPoint> brushPixels(std::span<const PixelPoint> points, int size);
// The pixels of the same index as `start` that `start` reaches through left, right, up and down
// neighbours; none when `start` lies outside the sprite.
std::vector<PixelPoint> floodRegion(const SpriteImage& sprite, PixelPoint start);

// Shift's hold on a line: the end point moved so that the line runs at 0, 45 or 90 degrees.
PixelPoint constrainToAngle(PixelPoint from, PixelPoint to);
// Shift's hold on a rectangle: the corner moved so that the rectangle is a square, as large as
// the longer side of the one dragged.
PixelPoint constrainToSquare(PixelPoint from, PixelPoint to);

// Whether Shift means something to the tool (a line's angle, a rectangle's square, an ellipse's
// circle); with the other tools a press with Shift does nothing.
bool usesShift(SpriteToolKind kind);
// Whether the tool paints with the brush size.
bool usesBrushSize(SpriteToolKind kind);

// One gesture of a tool with the colour of the button that began it.
class SpriteTool {
  public:
    SpriteTool(const SpriteTool&) = delete;
    SpriteTool& operator=(const SpriteTool&) = delete;
    virtual ~SpriteTool() = default;
    // The press; `constrain` is Shift held.
    virtual void press(PixelPoint at, bool constrain) = 0;
    // A move while the button is held (whatever buttons the move reports).
    virtual void move(PixelPoint at, bool constrain) = 0;

    SpriteTool(SpriteDocument& document, std::uint8_t index)
        : m_document(document), m_index(index) {}

  protected:
    SpriteDocument& m_document;
    const std::uint8_t m_index;
};

// `brushSize` serves the tools that use it. Eyedropper and Select make a pencil: they never get
// a gesture of their own.
std::unique_ptr<SpriteTool> makeSpriteTool(SpriteToolKind kind, SpriteDocument& document,
                                           std::uint8_t index, int brushSize = kSmallestBrush);

// The chosen tool and the gesture under way: a press begins the document's stroke, the release
// ends it, so that each gesture is one undo step. Another sprite or file ends the gesture: its
// moves no longer paint. The selection tool's gestures go to the document's selection, which
// another tool drops.
class SpritePainter {
  public:
    explicit SpritePainter(SpriteDocument& document);

    SpriteToolKind tool() const { return m_tool; }
    // A new tool ends the gesture of the old one.
    void setTool(SpriteToolKind tool);

    // kSmallestBrush … kLargestBrush; a size beyond them is brought to the nearer one.
    int brushSize() const { return m_brushSize; }
    void setBrushSize(int size);

    // A press of a button whose colour is `index` on a pixel of the sprite; false (nothing
    // done) when Shift is held and the tool has no use for it, and for the eyedropper.
    bool press(PixelPoint at, std::uint8_t index, bool shift);
    void move(PixelPoint at, bool shift);
    void release();
    bool drawing() const { return m_gesture != nullptr || m_selection.moving(); }
    SpriteSelection& selection() { return m_selection; }
    const SpriteSelection& selection() const { return m_selection; }

  private:
    SpriteDocument& m_document;
    SpriteSelection& m_selection;
    SpriteToolKind m_tool = SpriteToolKind::Pencil;
    int m_brushSize = kSmallestBrush;
    std::unique_ptr<SpriteTool> m_gesture;
    Subscription m_observation;
};

}  // namespace vek
