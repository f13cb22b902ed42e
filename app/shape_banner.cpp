#include "app/shape_banner.h"

#include <cmath>
#include <numbers>

namespace vek {

int normalizeShapeAngle(int angle, TMultiShapeType shape) {
    int value = angle % 360;
    if (value == -180) value = 180;
    if (value > 180) value -= 360;
    if (value < -180) value += 360;
    if (shape == msTriangle || shape == msLine)
        value = static_cast<int>(std::lround(value / 45.0)) * 45;
    return value;
}

ShapeGrid shapeGrid(int width, int height, TRepeatMode mode, int xSpacing, int ySpacing) {
    ShapeGrid grid;
    if ((mode == rpHoriz || mode == rpBoth) && xSpacing > 0) grid.columns = width / xSpacing + 1;
    if ((mode == rpVert || mode == rpBoth) && ySpacing > 0) grid.rows = height / ySpacing + 1;
    return grid;
}

std::array<ShapePoint, 4> diamondPoints(int x, int y, int w, int h) {
    return {{{x + w / 2, y},
             {x + 2 * (w / 2), y + h / 2},
             {x + w / 2, y + 2 * (h / 2)},
             {x, y + h / 2}}};
}

std::optional<std::array<ShapePoint, 3>> trianglePoints(int x, int y, int w, int h, int angle) {
    const int x0 = x;
    const int x1 = x + 2 * (w / 2);
    const int xm = x + (2 * (w / 2)) / 2;
    const int y0 = y;
    const int y1 = y + 2 * (h / 2);
    const int ym = y + (2 * (h / 2)) / 2;
    using Points = std::array<ShapePoint, 3>;
    switch (angle) {
        case 0:
            return Points{{{x0, y0}, {x1, ym}, {x0, y1}}};
        case 45:
            return Points{{{x0, y0}, {x1, y0}, {x1, y1}}};
        case 90:
            return Points{{{xm, y0}, {x1, y1}, {x0, y1}}};
        case 135:
            return Points{{{x0, y0}, {x1, y0}, {x0, y1}}};
        case 180:
            return Points{{{x0, ym}, {x1, y0}, {x1, y1}}};
        case -135:
            return Points{{{x0, y0}, {x0, y1}, {x1, y1}}};
        case -90:
            return Points{{{x0, y0}, {x1, y0}, {xm, y1}}};
        case -45:
            return Points{{{x1, y0}, {x1, y1}, {x0, y1}}};
        default:
            return std::nullopt;
    }
}

std::optional<std::pair<ShapePoint, ShapePoint>> linePoints(int x, int y, int w, int h, int angle) {
    using Line = std::pair<ShapePoint, ShapePoint>;
    // A negative angle counts from 180 the other way round: -45 is the rising line of 45.
    switch (angle < 0 ? (180 - angle) % 180 : angle % 180) {
        case 0:
            return Line{{x, y + h / 2}, {x + w, y + h / 2}};
        case 45:
            return Line{{x, y + h}, {x + w, y}};
        case 90:
            return Line{{x + w / 2, y}, {x + w / 2, y + h}};
        case 135:
            return Line{{x, y}, {x + w, y + h}};
        default:
            return std::nullopt;
    }
}

ShapePoint textOffset(int angle, int textWidth, int textHeight) {
    const double t = angle * std::numbers::pi / 180.0;
    const double halfW = std::abs(textWidth) / 2.0;
    const double halfH = std::abs(textHeight) / 2.0;
    // Halves round to even, so that the pattern stays where it was designed.
    return {static_cast<int>(std::nearbyint(std::sin(t) * halfH + std::cos(t) * halfW)),
            static_cast<int>(std::nearbyint(std::sin(t) * halfW - std::cos(t) * halfH))};
}

ShapePoint textReferencePoint(int x, int y, int w, int h, ShapePoint offset) {
    return {x + w / 2 - offset.x, y + h / 2 + offset.y};
}

template <typename T>
bool ShapeBanner::change(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

template <typename T>
bool ShapeBanner::changeShapeSize(T& field, T value) {
    if (!change(field, value)) return false;
    if (fitsControl()) fitControlToShape();
    return true;
}

void ShapeBanner::fitShapeToControl(bool withShadow) {
    m_shapeW = m_width - 2 * m_xMargin;
    m_shapeH = m_height - 2 * m_yMargin;
    if (withShadow && m_shadow) {
        m_shapeW -= m_shadowX;
        m_shapeH -= m_shadowY;
    }
}

void ShapeBanner::fitControlToShape() {
    m_width = 2 * m_xMargin + m_shapeW + (m_shadow ? m_shadowX : 0);
    m_height = 2 * m_yMargin + m_shapeH + (m_shadow ? m_shadowY : 0);
}

bool ShapeBanner::setBounds(int width, int height) {
    if (m_width == width && m_height == height) return false;
    m_width = width;
    m_height = height;
    if (fitsControl()) fitShapeToControl(true);
    return true;
}

bool ShapeBanner::setRepeatMode(TRepeatMode mode) {
    if (!change(m_repeatMode, mode)) return false;
    if (fitsControl()) fitShapeToControl(false);
    return true;
}

bool ShapeBanner::setAngle(int angle) {
    return change(m_angle, normalizeShapeAngle(angle, m_shapeType));
}
bool ShapeBanner::setText(const std::string& text) { return change(m_text, text); }
bool ShapeBanner::setFilled(bool filled) { return change(m_filled, filled); }
bool ShapeBanner::setShapeType(TMultiShapeType shape) { return change(m_shapeType, shape); }
bool ShapeBanner::setShapeW(int value) { return changeShapeSize(m_shapeW, value); }
bool ShapeBanner::setShapeH(int value) { return changeShapeSize(m_shapeH, value); }
bool ShapeBanner::setXSpacing(int value) { return change(m_xSpacing, value); }
bool ShapeBanner::setYSpacing(int value) { return change(m_ySpacing, value); }
bool ShapeBanner::setXMargin(int value) { return changeShapeSize(m_xMargin, value); }
bool ShapeBanner::setYMargin(int value) { return changeShapeSize(m_yMargin, value); }
bool ShapeBanner::setBorder(bool border) { return change(m_border, border); }
bool ShapeBanner::setBorderColor(ScreenColor color) { return change(m_borderColor, color); }
bool ShapeBanner::setBorderWidth(int value) { return change(m_borderWidth, value); }
bool ShapeBanner::setShadow(bool shadow) { return changeShapeSize(m_shadow, shadow); }
bool ShapeBanner::setShadowColor(ScreenColor color) { return change(m_shadowColor, color); }
bool ShapeBanner::setShadowX(int value) { return changeShapeSize(m_shadowX, value); }
bool ShapeBanner::setShadowY(int value) { return changeShapeSize(m_shadowY, value); }
bool ShapeBanner::setColor(ScreenColor color) { return change(m_color, color); }

}  // namespace vek
