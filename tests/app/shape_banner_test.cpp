#include "app/shape_banner.h"

#include <gtest/gtest.h>

namespace vek {
namespace {

TEST(ShapeAngleTest, AnglesAreBroughtIntoMinus179To180) {
    EXPECT_EQ(normalizeShapeAngle(370, msText), 10);
    EXPECT_EQ(normalizeShapeAngle(-190, msText), 170);
    EXPECT_EQ(normalizeShapeAngle(-180, msText), 180);
    EXPECT_EQ(normalizeShapeAngle(540, msText), 180);
    EXPECT_EQ(normalizeShapeAngle(270, msRectangle), -90);
    EXPECT_EQ(normalizeShapeAngle(-181, msText), 179);
    EXPECT_EQ(normalizeShapeAngle(-720, msText), 0);
}

TEST(ShapeAngleTest, TrianglesAndLinesSnapToTheNearestMultipleOf45) {
    EXPECT_EQ(normalizeShapeAngle(100, msTriangle), 90);
    EXPECT_EQ(normalizeShapeAngle(100, msLine), 90);
    EXPECT_EQ(normalizeShapeAngle(100, msEllipse), 100);
    EXPECT_EQ(normalizeShapeAngle(-160, msTriangle), -180);
    EXPECT_EQ(normalizeShapeAngle(23, msLine), 45);
    EXPECT_EQ(normalizeShapeAngle(-22, msLine), 0);
}

TEST(ShapeAngleTest, TheSetterUsesTheCurrentShapeType) {
    ShapeBanner banner;
    banner.setShapeType(msTriangle);
    EXPECT_TRUE(banner.setAngle(100));
    EXPECT_EQ(banner.angle(), 90);
    EXPECT_FALSE(banner.setAngle(80));  // also 90: nothing changes
    banner.setShapeType(msText);
    banner.setAngle(370);
    EXPECT_EQ(banner.angle(), 10);
}

TEST(ShapeGridTest, CountsCellsAcrossAndDownByRepeatMode) {
    EXPECT_EQ(shapeGrid(305, 293, rpBoth, 60, 50), (ShapeGrid{6, 6}));
    EXPECT_EQ(shapeGrid(305, 293, rpHoriz, 60, 50), (ShapeGrid{6, 1}));
    EXPECT_EQ(shapeGrid(305, 293, rpVert, 60, 50), (ShapeGrid{1, 6}));
    EXPECT_EQ(shapeGrid(305, 293, rpNone, 60, 50), (ShapeGrid{1, 1}));
    EXPECT_EQ(shapeGrid(300, 300, rpBoth, 60, 50), (ShapeGrid{6, 7}));
    EXPECT_EQ(shapeGrid(305, 293, rpBoth, 0, 50), (ShapeGrid{1, 6}));
    EXPECT_EQ(shapeGrid(305, 293, rpBoth, -5, -1), (ShapeGrid{1, 1}));
}

TEST(ShapeGridTest, CellOriginsStepBySpacingFromTheMargins) {
    ShapeBanner banner;
    banner.setXSpacing(60);
    banner.setYSpacing(50);
    banner.setXMargin(3);
    banner.setYMargin(4);
    EXPECT_EQ(banner.cellOrigin(0, 0), (ShapePoint{3, 4}));
    EXPECT_EQ(banner.cellOrigin(2, 5), (ShapePoint{123, 254}));
}

TEST(ShapeFitTest, RepeatNoneFitsTheShapeAndThenTheControlFollowsIt) {
    ShapeBanner banner;
    banner.setBounds(100, 50);
    banner.setXMargin(5);
    banner.setYMargin(5);
    EXPECT_EQ(banner.width(), 100);  // no fit flag yet: margins leave the control alone
    EXPECT_TRUE(banner.setRepeatMode(rpNone));
    EXPECT_EQ(banner.shapeW(), 90);
    EXPECT_EQ(banner.shapeH(), 40);
    banner.setShadow(true);
    EXPECT_EQ(banner.width(), 102);
    EXPECT_EQ(banner.height(), 52);
    banner.setShapeW(20);
    EXPECT_EQ(banner.width(), 32);
}

TEST(ShapeFitTest, NewBoundsRefitTheShapeLessTheShadow) {
    ShapeBanner banner;
    banner.setShadowX(3);
    banner.setShadowY(4);
    banner.setShadow(true);
    banner.setRepeatMode(rpNone);
    banner.setBounds(60, 70);
    EXPECT_EQ(banner.shapeW(), 57);
    EXPECT_EQ(banner.shapeH(), 66);
    // Leaving rpNone ends the coupling.
    banner.setRepeatMode(rpBoth);
    banner.setShapeW(5);
    EXPECT_EQ(banner.width(), 60);
}

TEST(ShapeBannerTest, StartsWithTheDesignedDefaultsAndSettersReportChanges) {
    ShapeBanner banner;
    EXPECT_EQ(banner.width(), 30);
    EXPECT_EQ(banner.color(), 0x800000u);
    EXPECT_EQ(banner.shadowColor(), 8421504u);
    EXPECT_EQ(banner.repeatMode(), rpBoth);
    EXPECT_EQ(banner.shapeType(), msRectangle);
    EXPECT_EQ(banner.shapeW(), 10);
    EXPECT_EQ(banner.xSpacing(), 20);
    EXPECT_EQ(banner.shadowX(), 2);
    EXPECT_TRUE(banner.filled());
    EXPECT_FALSE(banner.border());
    EXPECT_FALSE(banner.setColor(0x800000));
    EXPECT_TRUE(banner.setColor(0xFFFFFF));
    EXPECT_FALSE(banner.setText(""));
    EXPECT_TRUE(banner.setText("VEK"));
}

TEST(ShapePointsTest, DiamondUsesEvenHalves) {
    const auto points = diamondPoints(10, 20, 9, 7);
    EXPECT_EQ(points[0], (ShapePoint{14, 20}));
    EXPECT_EQ(points[1], (ShapePoint{18, 23}));
    EXPECT_EQ(points[2], (ShapePoint{14, 26}));
    EXPECT_EQ(points[3], (ShapePoint{10, 23}));
}

TEST(ShapePointsTest, TrianglesPointWhereTheirAngleSays) {
    // x0 = 0, x1 = 10, xm = 5, y0 = 0, y1 = 20, ym = 10.
    using P = ShapePoint;
    EXPECT_EQ(*trianglePoints(0, 0, 10, 20, 0), (std::array<P, 3>{P{0, 0}, P{10, 10}, P{0, 20}}));
    EXPECT_EQ(*trianglePoints(0, 0, 10, 20, 90), (std::array<P, 3>{P{5, 0}, P{10, 20}, P{0, 20}}));
    EXPECT_EQ(*trianglePoints(0, 0, 10, 20, 180),
              (std::array<P, 3>{P{0, 10}, P{10, 0}, P{10, 20}}));
    EXPECT_EQ(*trianglePoints(0, 0, 10, 20, -90), (std::array<P, 3>{P{0, 0}, P{10, 0}, P{5, 20}}));
    EXPECT_EQ(*trianglePoints(0, 0, 10, 20, 45), (std::array<P, 3>{P{0, 0}, P{10, 0}, P{10, 20}}));
    EXPECT_EQ(*trianglePoints(0, 0, 10, 20, -45),
              (std::array<P, 3>{P{10, 0}, P{10, 20}, P{0, 20}}));
    // An odd width loses its last pixel to the even halves.
    EXPECT_EQ(*trianglePoints(0, 0, 11, 21, 0), (std::array<P, 3>{P{0, 0}, P{10, 10}, P{0, 20}}));
    EXPECT_FALSE(trianglePoints(0, 0, 10, 20, 30));
}

TEST(ShapePointsTest, LinesRepeatEvery180DegreesAndANegativeAngleMirrorsItsLine) {
    using L = std::pair<ShapePoint, ShapePoint>;
    EXPECT_EQ(*linePoints(0, 0, 10, 20, 0), (L{{0, 10}, {10, 10}}));
    EXPECT_EQ(*linePoints(0, 0, 10, 20, 45), (L{{0, 20}, {10, 0}}));
    EXPECT_EQ(*linePoints(0, 0, 10, 20, 90), (L{{5, 0}, {5, 20}}));
    EXPECT_EQ(*linePoints(0, 0, 10, 20, 135), (L{{0, 0}, {10, 20}}));
    EXPECT_EQ(*linePoints(0, 0, 10, 20, 180), *linePoints(0, 0, 10, 20, 0));
    EXPECT_EQ(*linePoints(0, 0, 10, 20, 315), *linePoints(0, 0, 10, 20, 135));
    EXPECT_EQ(*linePoints(0, 0, 10, 20, -45), *linePoints(0, 0, 10, 20, 45));
    EXPECT_EQ(*linePoints(0, 0, 10, 20, -135), *linePoints(0, 0, 10, 20, 135));
    EXPECT_EQ(*linePoints(0, 0, 10, 20, -90), *linePoints(0, 0, 10, 20, 90));
    EXPECT_FALSE(linePoints(0, 0, 10, 20, 60));
}

TEST(ShapeTextTest, TheReferencePointPutsTheTextsMiddleOnTheCellsMiddle) {
    // Unrotated: half the width to the left, half the height up.
    EXPECT_EQ(textOffset(0, 40, 20), (ShapePoint{20, -10}));
    EXPECT_EQ(textReferencePoint(0, 0, 10, 10, textOffset(0, 40, 20)), (ShapePoint{-15, -5}));
    // Upright text: its top-left corner is below the middle.
    EXPECT_EQ(textOffset(90, 40, 20), (ShapePoint{10, 20}));
    // 45 degrees: sin = cos = 0.7071; (10 + 20) * 0.7071 = 21.2, (20 - 10) * 0.7071 = 7.07.
    EXPECT_EQ(textOffset(45, 40, 20), (ShapePoint{21, 7}));
    EXPECT_EQ(textReferencePoint(60, 50, 10, 10, textOffset(45, 40, 20)), (ShapePoint{44, 62}));
    // Halves round to even: 2.5 becomes 2.
    EXPECT_EQ(textOffset(0, 5, 0), (ShapePoint{2, 0}));
}

}  // namespace
}  // namespace vek
