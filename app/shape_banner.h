#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>

#include "app/rgb_image.h"

namespace vek {

// The geometry of the shape banner control (TMultiShape): one shape, or the same shape repeated
// in a grid, with an optional border and drop shadow. The Qt widget paints what this computes.

enum TMultiShapeType { msRectangle, msRoundRect, msDiamond, msEllipse, msTriangle, msLine, msText };
enum TRepeatMode { rpNone, rpVert, rpHoriz, rpBoth };

struct ShapePoint {
    int x = 0;
    int y = 0;
    bool operator==(const ShapePoint&) const = default;
};

struct ShapeGrid {
    int columns = 1;
    int rows = 1;
    bool operator==(const ShapeGrid&) const = default;
};

// An angle in -179..180 degrees; for triangles and lines rounded to a multiple of 45.
int normalizeShapeAngle(int angle, TMultiShapeType shape);

// How many cells fit across and down a control of this size.
ShapeGrid shapeGrid(int width, int height, TRepeatMode mode, int xSpacing, int ySpacing);

// The corners of the diamond in the cell at (x, y) of size w x h, clockwise from the top.
std::array<ShapePoint, 4> diamondPoints(int x, int y, int w, int h);

// The triangle pointing in `angle`'s direction (one of the eight multiples of 45 in -135..180);
// nothing for other angles, whose direction the control leaves open.
std::optional<std::array<ShapePoint, 3>> trianglePoints(int x, int y, int w, int h, int angle);

// The line at `angle` through the cell: a positive angle taken modulo 180, a negative one a as
// (180 - a) modulo 180; nothing unless that is 0, 45, 90 or 135.
std::optional<std::pair<ShapePoint, ShapePoint>> linePoints(int x, int y, int w, int h, int angle);

// Where rotated text of the measured size starts so that its middle lies on the cell's middle:
// the reference point for a text drawn from its top-left corner, rotated counter-clockwise.
ShapePoint textOffset(int angle, int textWidth, int textHeight);
ShapePoint textReferencePoint(int x, int y, int w, int h, ShapePoint offset);

// The control's properties and size with the rules that tie them together: setters report
// whether anything changed (the widget then repaints), and while the repeat mode is rpNone the
// shape fits the control and the control the shape.
class ShapeBanner {
  public:
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool setBounds(int width, int height);

    const std::string& text() const { return m_text; }
    int angle() const { return m_angle; }
    bool filled() const { return m_filled; }
    TRepeatMode repeatMode() const { return m_repeatMode; }
    TMultiShapeType shapeType() const { return m_shapeType; }
    int shapeW() const { return m_shapeW; }
    int shapeH() const { return m_shapeH; }
    int xSpacing() const { return m_xSpacing; }
    int ySpacing() const { return m_ySpacing; }
    int xMargin() const { return m_xMargin; }
    int yMargin() const { return m_yMargin; }
    bool border() const { return m_border; }
    ScreenColor borderColor() const { return m_borderColor; }
    int borderWidth() const { return m_borderWidth; }
    bool shadow() const { return m_shadow; }
    ScreenColor shadowColor() const { return m_shadowColor; }
    int shadowX() const { return m_shadowX; }
    int shadowY() const { return m_shadowY; }
    ScreenColor color() const { return m_color; }  // also the font's colour
    bool fitsControl() const { return m_repeatMode == rpNone; }

    bool setText(const std::string& text);
    bool setAngle(int angle);
    bool setFilled(bool filled);
    bool setRepeatMode(TRepeatMode mode);
    bool setShapeType(TMultiShapeType shape);
    bool setShapeW(int value);
    bool setShapeH(int value);
    bool setXSpacing(int value);
    bool setYSpacing(int value);
    bool setXMargin(int value);
    bool setYMargin(int value);
    bool setBorder(bool border);
    bool setBorderColor(ScreenColor color);
    bool setBorderWidth(int value);
    bool setShadow(bool shadow);
    bool setShadowColor(ScreenColor color);
    bool setShadowX(int value);
    bool setShadowY(int value);
    bool setColor(ScreenColor color);

    ShapeGrid grid() const {
        return shapeGrid(m_width, m_height, m_repeatMode, m_xSpacing, m_ySpacing);
    }
    ShapePoint cellOrigin(int column, int row) const {
        return {column * m_xSpacing + m_xMargin, row * m_ySpacing + m_yMargin};
    }

  private:
    template <typename T>
    bool change(T& field, T value);
    // A shape property changed: with the fit flag the control follows the shape.
    template <typename T>
    bool changeShapeSize(T& field, T value);
    void fitShapeToControl(bool withShadow);
    void fitControlToShape();

    int m_width = 30;
    int m_height = 30;
    std::string m_text;
    int m_angle = 0;
    bool m_filled = true;
    TRepeatMode m_repeatMode = rpBoth;
    TMultiShapeType m_shapeType = msRectangle;
    int m_shapeW = 10;
    int m_shapeH = 10;
    int m_xSpacing = 20;
    int m_ySpacing = 20;
    int m_xMargin = 0;
    int m_yMargin = 0;
    bool m_border = false;
    ScreenColor m_borderColor = 0;
    int m_borderWidth = 1;
    bool m_shadow = false;
    ScreenColor m_shadowColor = 0x808080;
    int m_shadowX = 2;
    int m_shadowY = 2;
    ScreenColor m_color = 0x800000;  // navy
};

}  // namespace vek
