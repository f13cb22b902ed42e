#include "sprites/sprite_selection.h"

#include <algorithm>
#include <cstdlib>

#include "app/text_names.h"

namespace vek {

namespace {

bool inside(const PixelRect& rect, int x, int y) {
    return x >= rect.x && y >= rect.y && x < rect.x + rect.width && y < rect.y + rect.height;
}

PixelRect around(const PixelRect& a, const PixelRect& b) {
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

// The offset of pixel (x, y) in the row-by-row pixels of `rect`.
std::size_t offsetIn(const PixelRect& rect, int x, int y) {
    return static_cast<std::size_t>(y - rect.y) * static_cast<std::size_t>(rect.width) +
           static_cast<std::size_t>(x - rect.x);
}

}  // namespace

SpriteSelection::SpriteSelection(SpriteDocument& document)
    : m_document(document),
      m_observation(
          document.observe([this](const SpriteDocumentEvent& event) { documentChanged(event); })) {}

void SpriteSelection::documentChanged(const SpriteDocumentEvent& event) {
    const bool elsewhere =
        event.change == SpriteChange::FileOpened || event.change == SpriteChange::SpriteSelected;
    const bool outsideChange = event.change == SpriteChange::PixelsChanged && !m_placing;
    if (!elsewhere && !outsideChange) return;
    // The document has ended or forgotten any stroke of a move itself.
    m_move.reset();
    m_anchor.reset();
    setArea(std::nullopt);
}

void SpriteSelection::setArea(std::optional<PixelRect> area) {
    if (!area) m_under.clear();
    if (area == m_area) return;
    m_area = area;
    m_observers.notify(true);
}

PixelRect SpriteSelection::clampedToSprite(PixelRect rect) const {
    const SpriteImage& sprite = m_document.sprite();
    const int left = std::max(rect.x, 0);
    const int top = std::max(rect.y, 0);
    const int right = std::min(rect.x + rect.width, static_cast<int>(sprite.width));
    const int bottom = std::min(rect.y + rect.height, static_cast<int>(sprite.height));
    return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

std::vector<std::uint8_t> SpriteSelection::pixelsOf(PixelRect rect) const {
    const SpriteImage& sprite = m_document.sprite();
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(rect.width) * static_cast<std::size_t>(rect.height));
    for (int y = rect.y; y < rect.y + rect.height; ++y)
        for (int x = rect.x; x < rect.x + rect.width; ++x) pixels.push_back(sprite.at(x, y));
    return pixels;
}

void SpriteSelection::place(PixelRect area, const std::vector<std::uint8_t>& values,
                            Bilingual label) {
    m_placing = true;
    try {
        m_document.placePixels(area, values, label);
    } catch (...) {
        m_placing = false;
        throw;
    }
    m_placing = false;
}

void SpriteSelection::press(PixelPoint at) {
    release();
    if (!m_document.spriteLoaded()) return;
    if (m_area && inside(*m_area, at.x, at.y)) return beginMove(at, Msg::SpriteMoveSelectionLabel);
    drop();
    const SpriteImage& sprite = m_document.sprite();
    if (!sprite.contains(at.x, at.y)) return;
    m_anchor = at;
    m_grown = false;
}

void SpriteSelection::drag(PixelPoint at) {
    const SpriteImage& sprite = m_document.sprite();
    if (m_move) {
        const PixelRect origin = m_move->origin;
        const int dx =
            std::clamp(at.x - m_move->start.x, -origin.x, sprite.width - origin.x - origin.width);
        const int dy =
            std::clamp(at.y - m_move->start.y, -origin.y, sprite.height - origin.y - origin.height);
        return moveTo({origin.x + dx, origin.y + dy, origin.width, origin.height});
    }
    if (!m_anchor) return;
    const PixelPoint corner{std::clamp(at.x, 0, sprite.width - 1),
                            std::clamp(at.y, 0, sprite.height - 1)};
    if (corner != *m_anchor) m_grown = true;
    if (m_grown) select(*m_anchor, corner);
}

void SpriteSelection::release() {
    if (m_move) endMove();
    m_anchor.reset();
}

void SpriteSelection::select(PixelPoint a, PixelPoint b) {
    if (!m_document.spriteLoaded()) return;
    if (m_move) endMove();
    const PixelRect rect = clampedToSprite(
        {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(a.x - b.x) + 1, std::abs(a.y - b.y) + 1});
    if (rect.width == 0 || rect.height == 0) return drop();
    // A rectangle just drawn leaves index 0 where it is moved away from.
    m_under.assign(static_cast<std::size_t>(rect.width) * static_cast<std::size_t>(rect.height), 0);
    setArea(rect);
}

void SpriteSelection::beginMove(PixelPoint at, Bilingual label) {
    m_document.beginStroke(label);
    m_move = Move{at, *m_area, pixelsOf(*m_area), m_under, m_document.sprite().pixels};
}

void SpriteSelection::moveTo(PixelRect target) {
    if (!m_move || m_area == target) return;
    const Move& move = *m_move;
    const PixelRect& origin = move.origin;
    const std::size_t width = m_document.sprite().width;
    // Everything the selection covered since the move began, laid anew from the pixels then.
    const PixelRect touched = around(around(origin, *m_area), target);
    std::vector<std::uint8_t> values;
    values.reserve(static_cast<std::size_t>(touched.width) *
                   static_cast<std::size_t>(touched.height));
    std::vector<std::uint8_t> under;
    under.reserve(move.content.size());
    for (int y = touched.y; y < touched.y + touched.height; ++y) {
        for (int x = touched.x; x < touched.x + touched.width; ++x) {
            const std::uint8_t beneath =
                inside(origin, x, y)
                    ? move.under[offsetIn(origin, x, y)]
                    : move.base[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)];
            if (inside(target, x, y)) {
                values.push_back(move.content[offsetIn(origin, x - target.x + origin.x,
                                                       y - target.y + origin.y)]);
                under.push_back(beneath);
            } else {
                values.push_back(beneath);
            }
        }
    }
    place(touched, values, Msg::SpriteMoveSelectionLabel);
    // `under` was gathered row by row over `touched`, which holds the target's rows in order.
    m_under = std::move(under);
    setArea(target);
}

void SpriteSelection::endMove() {
    m_move.reset();
    m_document.endStroke();
}

void SpriteSelection::moveBy(int dx, int dy) {
    if (!m_area || m_move) return;
    const PixelPoint corner{m_area->x, m_area->y};
    beginMove(corner, Msg::SpriteMoveSelectionLabel);
    drag({corner.x + dx, corner.y + dy});
    endMove();
}

void SpriteSelection::flip() { turn(true); }

void SpriteSelection::mirror() { turn(false); }

void SpriteSelection::turn(bool upsideDown) {
    if (!m_document.spriteLoaded() || m_move) return;
    const SpriteImage& sprite = m_document.sprite();
    const PixelRect rect = m_area.value_or(PixelRect{0, 0, sprite.width, sprite.height});
    std::vector<std::uint8_t> pixels = pixelsOf(rect);
    const auto rowLength = static_cast<std::ptrdiff_t>(rect.width);
    for (int row = 0; row < rect.height; ++row) {
        const auto first = pixels.begin() + row * rowLength;
        if (!upsideDown) std::reverse(first, first + rowLength);
    }
    if (upsideDown) {
        for (int top = 0, bottom = rect.height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(pixels.begin() + top * rowLength,
                             pixels.begin() + (top + 1) * rowLength,
                             pixels.begin() + bottom * rowLength);
    }
    place(rect, pixels, upsideDown ? Msg::SpriteFlipLabel : Msg::SpriteMirrorLabel);
}

void SpriteSelection::copy() {
    if (!m_area) return m_document.copy();
    SpriteImage piece(static_cast<std::uint16_t>(m_area->width),
                      static_cast<std::uint16_t>(m_area->height));
    piece.pixels = pixelsOf(*m_area);
    m_document.copyPiece(std::move(piece), {m_area->x, m_area->y});
}

void SpriteSelection::cut() {
    if (!m_area) return m_document.cut();
    if (m_move) endMove();
    copy();
    place(*m_area, m_under, Msg::SpriteCutSelectionLabel);
    drop();
}

bool SpriteSelection::paste() {
    const std::optional<PixelPoint> from = m_document.clipboardPlace();
    const std::optional<SpriteImage>& piece = m_document.clipboard();
    if (!from || !piece || !m_document.spriteLoaded()) {
        m_document.paste();
        return false;
    }
    drop();
    PixelRect laid{from->x, from->y, piece->width, piece->height};
    PixelRect shown = clampedToSprite(laid);
    if (shown.width == 0 || shown.height == 0) {
        laid.x = 0;
        laid.y = 0;
        shown = clampedToSprite(laid);
    }
    std::vector<std::uint8_t> values;
    values.reserve(static_cast<std::size_t>(shown.width) * static_cast<std::size_t>(shown.height));
    for (int y = shown.y; y < shown.y + shown.height; ++y)
        for (int x = shown.x; x < shown.x + shown.width; ++x)
            values.push_back(piece->at(x - laid.x, y - laid.y));
    m_under = pixelsOf(shown);
    place(shown, values, Msg::SpritePasteSelectionLabel);
    setArea(shown);
    return true;
}

void SpriteSelection::drop() {
    if (m_move) endMove();
    m_anchor.reset();
    setArea(std::nullopt);
}

}  // namespace vek
