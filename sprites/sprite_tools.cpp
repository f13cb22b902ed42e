#include "sprites/sprite_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "app/text_names.h"

namespace vek {

namespace {

int signOf(int value) { return (value > 0) - (value < 0); }

// A tool that paints the brush's square at each pixel it reaches.
class SizedTool : public SpriteTool {
  public:
    SizedTool(SpriteDocument& document, std::uint8_t index, int size)
        : SpriteTool(document, index), m_size(size) {}

  protected:
    void paintAt(std::span<const PixelPoint> points) {
        if (m_size == kSmallestBrush) {
            m_document.paintPixels(points, m_index);
        } else {
            m_document.paintPixels(brushPixels(points, m_size), m_index);
        }
    }

    const int m_size;
};

// Paints under each reported position, with nothing between two of them.
class Pencil : public SizedTool {
  public:
    using SizedTool::SizedTool;
    void press(PixelPoint at, bool) override { move(at, false); }
    void move(PixelPoint at, bool) override {
        if (m_size == kSmallestBrush) {
            m_document.paint(at.x, at.y, m_index);
        } else {
            paintAt(std::span(&at, 1));
        }
    }
};

// Joins each position to the one before with a line, however fast the pointer went; the eraser
// is a brush of index 0.
class Brush : public SizedTool {
  public:
    using SizedTool::SizedTool;
    void press(PixelPoint at, bool) override {
        paintAt(std::span(&at, 1));
        m_last = at;
    }
    void move(PixelPoint at, bool) override {
        if (at == m_last) return;
        paintAt(linePixels(m_last, at));
        m_last = at;
    }

  private:
    PixelPoint m_last;
};

// A shape from the press to the pointer, drawn anew at each move over what was there before.
class ShapeTool : public SpriteTool {
  public:
    void press(PixelPoint at, bool constrain) override {
        m_start = at;
        move(at, constrain);
    }
    void move(PixelPoint at, bool constrain) override {
        m_document.restoreStrokePixels(m_shown);
        m_shown = shape(m_start, constrain ? constrained(m_start, at) : at);
        m_document.paintPixels(m_shown, m_index);
    }

  protected:
    using SpriteTool::SpriteTool;
    virtual std::vector<PixelPoint> shape(PixelPoint from, PixelPoint to) const = 0;
    virtual PixelPoint constrained(PixelPoint from, PixelPoint to) const = 0;

  private:
    PixelPoint m_start;
    std::vector<PixelPoint> m_shown;
};

class Line : public ShapeTool {
  public:
    Line(SpriteDocument& document, std::uint8_t index, int size)
        : ShapeTool(document, index), m_size(size) {}

  protected:
    std::vector<PixelPoint> shape(PixelPoint from, PixelPoint to) const override {
        std::vector<PixelPoint> line = linePixels(from, to);
        return m_size == kSmallestBrush ? line : brushPixels(line, m_size);
    }
    PixelPoint constrained(PixelPoint from, PixelPoint to) const override {
        return constrainToAngle(from, to);
    }

  private:
    const int m_size;
};

// A shape drawn inside the box of its two corners (a rectangle, an ellipse), outlined or filled;
// Shift makes the box a square.
class BoxShape : public ShapeTool {
  public:
    using Pixels = std::vector<PixelPoint> (*)(PixelPoint, PixelPoint, bool filled);
    BoxShape(SpriteDocument& document, std::uint8_t index, Pixels pixels, bool filled)
        : ShapeTool(document, index), m_pixels(pixels), m_filled(filled) {}

  protected:
    std::vector<PixelPoint> shape(PixelPoint from, PixelPoint to) const override {
        return m_pixels(from, to, m_filled);
    }
    PixelPoint constrained(PixelPoint from, PixelPoint to) const override {
        return constrainToSquare(from, to);
    }

  private:
    const Pixels m_pixels;
    const bool m_filled;
};

class Fill : public SpriteTool {
  public:
    using SpriteTool::SpriteTool;
    void press(PixelPoint at, bool) override {
        m_document.paintPixels(floodRegion(m_document.sprite(), at), m_index);
    }
    void move(PixelPoint, bool) override {}
};

Bilingual stepLabel(SpriteToolKind kind) {
    switch (kind) {
        case SpriteToolKind::Line:
            return Msg::SpriteLineLabel;
        case SpriteToolKind::Rectangle:
        case SpriteToolKind::FilledRectangle:
            return Msg::SpriteRectangleLabel;
        case SpriteToolKind::Fill:
            return Msg::SpriteFillLabel;
        case SpriteToolKind::Eraser:
            return Msg::SpriteEraseLabel;
        case SpriteToolKind::Ellipse:
        case SpriteToolKind::FilledEllipse:
            return Msg::SpriteEllipseLabel;
        case SpriteToolKind::Pencil:
        case SpriteToolKind::Brush:
        case SpriteToolKind::Eyedropper:  // paints nothing
        case SpriteToolKind::Select:      // its moves name their own steps
            break;
    }
    return PixelHistory::kPaintLabel;
}

}  // namespace

std::vector<PixelPoint> linePixels(PixelPoint from, PixelPoint to) {
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int stepX = signOf(to.x - from.x);
    const int stepY = signOf(to.y - from.y);
    std::vector<PixelPoint> points;
    points.reserve(static_cast<std::size_t>(std::max(dx, -dy)) + 1);
    int error = dx + dy;
    for (PixelPoint at = from;;) {
        points.push_back(at);
        if (at == to) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.y += stepY;
        }
    }
    return points;
}

std::vector<PixelPoint> rectanglePixels(PixelPoint a, PixelPoint b, bool filled) {
    const int left = std::min(a.x, b.x);
    const int right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int bottom = std::max(a.y, b.y);
    const auto width = static_cast<std::size_t>(right - left + 1);
    const auto height = static_cast<std::size_t>(bottom - top + 1);
    std::vector<PixelPoint> points;
    points.reserve(filled ? width * height : 2 * (width + height));
    for (int y = top; y <= bottom; ++y) {
        if (filled || y == top || y == bottom) {
            for (int x = left; x <= right; ++x) points.push_back({x, y});
        } else {
            points.push_back({left, y});
            if (right != left) points.push_back({right, y});
        }
    }
    return points;
}

std::vector<PixelPoint> ellipsePixels(PixelPoint a, PixelPoint b, bool filled) {
    const int left = std::min(a.x, b.x);
    const int right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int bottom = std::max(a.y, b.y);
    const double middleX = (left + right) / 2.0;
    const double middleY = (top + bottom) / 2.0;
    // To the outer edges of the outermost pixels.
    const double radiusX = (right - left + 1) / 2.0;
    const double radiusY = (bottom - top + 1) / 2.0;
    // A pixel belongs when its middle lies a little inside the curve: rounder than half a pixel
    // either way, which gives small circles square corners or pointed tips.
    constexpr double kInside = 0.25;
    constexpr double kTolerance = 1e-9;
    // Each row's run of the filled shape.
    std::vector<std::pair<int, int>> runs;
    runs.reserve(static_cast<std::size_t>(bottom - top + 1));
    for (int y = top; y <= bottom; ++y) {
        const double dy = (y - middleY) / radiusY;
        const double half = radiusX * std::sqrt(std::max(0.0, 1.0 - dy * dy)) - kInside;
        int from = static_cast<int>(std::ceil(middleX - half - kTolerance));
        int to = static_cast<int>(std::floor(middleX + half + kTolerance));
        // Every row holds the middle column(s); the middle row(s) reach both sides.
        from = std::min(from, static_cast<int>(std::floor(middleX)));
        to = std::max(to, static_cast<int>(std::ceil(middleX)));
        if (std::abs(y - middleY) <= 0.5) {
            from = left;
            to = right;
        }
        runs.emplace_back(std::max(from, left), std::min(to, right));
    }
    const auto holds = [&](int y, int x) {
        if (y < top || y > bottom) return false;
        const auto& [from, to] = runs[static_cast<std::size_t>(y - top)];
        return x >= from && x <= to;
    };
    std::vector<PixelPoint> points;
    for (int y = top; y <= bottom; ++y) {
        const auto& [from, to] = runs[static_cast<std::size_t>(y - top)];
        for (int x = from; x <= to; ++x) {
            // The outline: the pixels beside one that is not the shape's.
            const bool edge = x == from || x == to || !holds(y - 1, x) || !holds(y + 1, x);
            if (filled || edge) points.push_back({x, y});
        }
    }
    return points;
}

std::vector<PixelPoint> brushPixels(std::span<const PixelPoint> points, int size) {
    const int before = (size - 1) / 2;
    std::vector<PixelPoint> square;
    square.reserve(points.size() * static_cast<std::size_t>(size * size));
    for (const PixelPoint& at : points)
        for (int y = at.y - before; y < at.y - before + size; ++y)
            for (int x = at.x - before; x < at.x - before + size; ++x) square.push_back({x, y});
    std::sort(square.begin(), square.end(),
              [](PixelPoint p, PixelPoint q) { return std::pair(p.y, p.x) < std::pair(q.y, q.x); });
    square.erase(std::unique(square.begin(), square.end()), square.end());
    return square;
}

std::vector<PixelPoint> floodRegion(const SpriteImage& sprite, PixelPoint start) {
    std::vector<PixelPoint> region;
    if (!sprite.contains(start.x, start.y)) return region;
    const std::uint8_t target = sprite.at(start.x, start.y);
    std::vector<std::uint8_t> seen(sprite.pixels.size(), 0);
    const auto open = [&](int x, int y) {
        const std::size_t offset = sprite.index(x, y);
        return !seen[offset] && sprite.pixels[offset] == target;
    };
    region.reserve(sprite.pixels.size());
    // Taken a row's run at a time: each run of the region is found from one of its pixels, and
    // leaves one seed for each open run it touches in the rows above and below.
    std::vector<PixelPoint> seeds{start};
    while (!seeds.empty()) {
        const PixelPoint seed = seeds.back();
        seeds.pop_back();
        if (!open(seed.x, seed.y)) continue;
        int left = seed.x;
        while (left > 0 && open(left - 1, seed.y)) --left;
        int right = seed.x;
        while (right + 1 < sprite.width && open(right + 1, seed.y)) ++right;
        for (int x = left; x <= right; ++x) {
            seen[sprite.index(x, seed.y)] = 1;
            region.push_back({x, seed.y});
        }
        for (const int y : {seed.y - 1, seed.y + 1}) {
            if (y < 0 || y >= sprite.height) continue;
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool beside = open(x, y);
                if (beside && !inRun) seeds.push_back({x, y});
                inRun = beside;
            }
        }
    }
    return region;
}

PixelPoint constrainToAngle(PixelPoint from, PixelPoint to) {
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    // Nearer the axis than half way to the diagonal (about 27 degrees) keeps to the axis.
    if (2 * std::abs(dy) < std::abs(dx)) return {to.x, from.y};
    if (2 * std::abs(dx) < std::abs(dy)) return {from.x, to.y};
    const int side = std::max(std::abs(dx), std::abs(dy));
    return {from.x + signOf(dx) * side, from.y + signOf(dy) * side};
}

PixelPoint constrainToSquare(PixelPoint from, PixelPoint to) {
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    const int side = std::max(std::abs(dx), std::abs(dy));
    // A side of no length grows the way of the other.
    const int signX = dx != 0 ? signOf(dx) : 1;
    const int signY = dy != 0 ? signOf(dy) : 1;
    return {from.x + signX * side, from.y + signY * side};
}

bool usesShift(SpriteToolKind kind) {
    return kind == SpriteToolKind::Line || kind == SpriteToolKind::Rectangle ||
           kind == SpriteToolKind::FilledRectangle || kind == SpriteToolKind::Ellipse ||
           kind == SpriteToolKind::FilledEllipse;
}

bool usesBrushSize(SpriteToolKind kind) {
    return kind == SpriteToolKind::Pencil || kind == SpriteToolKind::Brush ||
           kind == SpriteToolKind::Eraser || kind == SpriteToolKind::Line;
}

std::unique_ptr<SpriteTool> makeSpriteTool(SpriteToolKind kind, SpriteDocument& document,
                                           std::uint8_t index, int brushSize) {
    switch (kind) {
        case SpriteToolKind::Brush:
            return std::make_unique<Brush>(document, index, brushSize);
        case SpriteToolKind::Eraser:
            return std::make_unique<Brush>(document, std::uint8_t{0}, brushSize);
        case SpriteToolKind::Line:
            return std::make_unique<Line>(document, index, brushSize);
        case SpriteToolKind::Ellipse:
            return std::make_unique<BoxShape>(document, index, &ellipsePixels, false);
        case SpriteToolKind::FilledEllipse:
            return std::make_unique<BoxShape>(document, index, &ellipsePixels, true);
        case SpriteToolKind::Rectangle:
            return std::make_unique<BoxShape>(document, index, &rectanglePixels, false);
        case SpriteToolKind::FilledRectangle:
            return std::make_unique<BoxShape>(document, index, &rectanglePixels, true);
        case SpriteToolKind::Fill:
            return std::make_unique<Fill>(document, index);
        case SpriteToolKind::Pencil:
        case SpriteToolKind::Eyedropper:
        case SpriteToolKind::Select:
            break;
    }
    return std::make_unique<Pencil>(document, index, brushSize);
}

SpritePainter::SpritePainter(SpriteDocument& document)
    : m_document(document),
      m_selection(document.selection()),
      m_observation(document.observe([this](const SpriteDocumentEvent& event) {
          if (event.change == SpriteChange::FileOpened ||
              event.change == SpriteChange::SpriteSelected)
              m_gesture.reset();
      })) {}

void SpritePainter::setTool(SpriteToolKind tool) {
    release();
    if (tool != SpriteToolKind::Select) m_selection.drop();
    m_tool = tool;
}

void SpritePainter::setBrushSize(int size) {
    m_brushSize = std::clamp(size, kSmallestBrush, kLargestBrush);
}

bool SpritePainter::press(PixelPoint at, std::uint8_t index, bool shift) {
    release();
    if (shift && !usesShift(m_tool)) return false;
    if (!m_document.spriteLoaded() || m_tool == SpriteToolKind::Eyedropper) return false;
    if (m_tool == SpriteToolKind::Select) {
        m_selection.press(at);
        return true;
    }
    m_document.beginStroke(stepLabel(m_tool));
    m_gesture = makeSpriteTool(m_tool, m_document, index, m_brushSize);
    m_gesture->press(at, shift);
    return true;
}

void SpritePainter::move(PixelPoint at, bool shift) {
    if (m_gesture) m_gesture->move(at, shift);
    if (m_tool == SpriteToolKind::Select) m_selection.drag(at);
}

void SpritePainter::release() {
    m_selection.release();
    if (!m_gesture) return;
    m_gesture.reset();
    m_document.endStroke();
}

}  // namespace vek
