#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/observers.h"
#include "sprites/sprite_document.h"

namespace vek {

// The selection of the sprite editor: a rectangle of the current sprite that can be moved,
// flipped and mirrored, and that Cut, Copy and Paste act on. Its pixels lie in the sprite all the
// time; the selection also keeps the pixels that lie under it, which come back where it leaves
// (index 0 for a rectangle just drawn, the sprite's own pixels for a pasted one). It always lies
// inside the sprite. Another sprite or file, and any change of the pixels not made through it
// (painting, undo, redo), drop it; the pixels stay as they are.
class SpriteSelection {
  public:
    explicit SpriteSelection(SpriteDocument& document);
    SpriteSelection(const SpriteSelection&) = delete;
    SpriteSelection& operator=(const SpriteSelection&) = delete;

    // Told whenever the rectangle changes, also when it goes.
    [[nodiscard]] Subscription observe(std::function<void()> observer) {
        return m_observers.add([observer = std::move(observer)](const bool&) { observer(); });
    }

    const std::optional<PixelRect>& area() const { return m_area; }

    // The gesture of the selection tool. A press inside the selection begins to move it (the
    // whole move is one undo step); a press elsewhere drops it and begins a new rectangle from
    // that pixel to the pointer. A click that never left its pixel selects nothing.
    void press(PixelPoint at);
    void drag(PixelPoint at);
    void release();
    bool moving() const { return m_move.has_value(); }

    // Selects the rectangle with corners `a` and `b`, cut off at the sprite's edges.
    void select(PixelPoint a, PixelPoint b);
    // Moves the selection by a number of pixels, no further than the sprite's edges; one step.
    void moveBy(int dx, int dy);
    // Turns the selection upside down or left to right, without one the whole sprite; one step.
    void flip();
    void mirror();
    // With a selection: Copy takes its pixels into the document's clipboard as a piece, with its
    // place; Cut also puts back what lay under it and drops it. Without one they act on the
    // whole sprite.
    void copy();
    void cut();
    // A piece in the clipboard is laid where it was taken from (at the top-left corner when that
    // lies beyond the sprite), cut off at the sprite's edges, and becomes the selection: true.
    // A whole sprite is pasted as the document pastes it: false.
    bool paste();
    // Forgets the rectangle; the pixels stay where they are (Esc).
    void drop();

  private:
    struct Move {
        PixelPoint start;                   // the press
        PixelRect origin;                   // the selection when the move began
        std::vector<std::uint8_t> content;  // its pixels
        std::vector<std::uint8_t> under;    // what lay under it
        std::vector<std::uint8_t> base;     // the whole sprite when the move began
    };

    void beginMove(PixelPoint at, Bilingual label);
    void moveTo(PixelRect target);
    void endMove();
    void turn(bool upsideDown);
    std::vector<std::uint8_t> pixelsOf(PixelRect rect) const;
    PixelRect clampedToSprite(PixelRect rect) const;
    // Changes the document's pixels with the observation of outside changes held off.
    void place(PixelRect area, const std::vector<std::uint8_t>& values, Bilingual label);
    void setArea(std::optional<PixelRect> area);
    void documentChanged(const SpriteDocumentEvent& event);

    SpriteDocument& m_document;
    std::optional<PixelRect> m_area;
    std::vector<std::uint8_t> m_under;  // the pixels under the selection, row by row
    std::optional<Move> m_move;
    std::optional<PixelPoint> m_anchor;  // the first corner of a rectangle being drawn
    bool m_grown = false;                // the rectangle being drawn left its first pixel
    bool m_placing = false;
    ObserverList<bool> m_observers;
    Subscription m_observation;
};

}  // namespace vek
