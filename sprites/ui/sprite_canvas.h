#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/rgb_image.h"
#include "app/ui/widgets/picture_box.h"
#include "sprites/palette.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_render.h"

namespace vek::ui {

// The drawing area (`Image1`): the current sprite enlarged by the zoom factor, a pixel grid over
// it at zoom 4 and above, and the mouse turned into the chosen tool's gestures on the document
// (Ctrl or Alt and a button picks that button's colour from the pixel).
// The grid and the onion skin (the neighbouring sprites shown faintly where the current one is
// transparent) and the selection's marquee are drawn on the screen only; the area's pixels, which
// the exports write, are the sprite's alone.
class SpriteCanvas : public PictureBox {
    Q_OBJECT
  public:
    static constexpr int kGridZoom = 4;  // the smallest zoom that shows the grid

    SpriteCanvas(QWidget* parent, SpriteEditing& editing, std::function<ScreenColor()> background);

    int zoom() const { return m_zoom; }
    // Throws when the sprite would not fit the area at this zoom; the zoom then stays.
    void setZoom(int zoom);
    const RgbImage& area() const { return m_area; }

    // Rebuilds the whole area from the document (emptied without a sprite).
    void redraw();
    // Shows the pixels of the sprite that changed: one pixel in its colour as it is (black
    // included, as while painting), a larger part as a full rebuild would show it.
    void showPixels(const PixelRect& part);
    // Shows a picture of its own (the info page) until the next redraw.
    void showPicture(RgbImage picture);

    bool gridShown() const { return m_gridShown; }
    void setGridShown(bool shown);

    // The onion skin: the previous sprite, and the next one when `withNext`, at `opacity`
    // percent over the background wherever the current sprite shows the background.
    struct OnionSkin {
        bool shown = false;
        bool withNext = false;
        int opacity = 30;

        bool operator==(const OnionSkin&) const = default;
    };
    const OnionSkin& onionSkin() const { return m_onion; }
    void setOnionSkin(const OnionSkin& onion);

    // The sprite pixel under the pointer, while it is over the sprite.
    std::optional<PixelPoint> pointerPixel() const { return m_pointerPixel; }

  Q_SIGNALS:
    void pointerMoved();
    void areaResized();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // The sprite pixel that a point of the area lies on, also beside the sprite.
    PixelPoint pixelAt(QPoint point) const;
    std::optional<PixelPoint> spritePixelUnder(QPoint point) const;
    void showArea();
    void drawGrid(QPainter& painter, const QRect& part) const;
    void drawMarquee(QPainter& painter) const;
    // Reads the neighbours that the onion skin shows, when the current sprite or the file's
    // table changed since they were read.
    void readOnionSprites();
    void drawOnionSkin(QPainter& painter, const QRect& part) const;
    bool showsBackground(std::uint8_t index) const;

    SpriteEditing& m_editing;
    SpriteDocument& m_document;
    const PaletteTable& m_palette;
    std::function<ScreenColor()> m_background;
    Subscription m_selectionObservation;
    RgbImage m_area;
    int m_zoom = 1;
    bool m_gridShown = true;
    std::optional<PixelPoint> m_pointerPixel;
    OnionSkin m_onion;
    std::vector<SpriteImage> m_onionSprites;  // the neighbours shown, nearest first
    std::vector<SpriteEntry> m_onionRead;     // the current sprite's and its neighbours' entries
};

}  // namespace vek::ui
