#include <QImage>
#include <QTest>

#include "app/ui/widgets/multi_shape.h"
#include "support/ui/ui_test_main.h"

using namespace vek;
using namespace vek::ui;

namespace {

// The control drawn on white.
QImage picture(TMultiShape& shape) {
    shape.setAutoFillBackground(true);
    QPalette colors = shape.palette();
    colors.setColor(QPalette::Window, Qt::white);
    shape.setPalette(colors);
    return shape.grab().toImage();
}

QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

}  // namespace

class MultiShapeTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void startsAsDesigned() {
        TMultiShape shape;
        QCOMPARE(shape.size(), QSize(30, 30));
        QCOMPARE(shape.shape().color(), 0x800000u);
        // Navy squares of 10 every 20 pixels, from the corner.
        const QImage image = picture(shape);
        QCOMPARE(at(image, 5, 5), QColor(0, 0, 128));
        QCOMPARE(at(image, 25, 25), QColor(0, 0, 128));
        QCOMPARE(at(image, 15, 5), QColor(Qt::white));
    }

    void followsTheControlsSizeAndFitsWithRepeatNone() {
        TMultiShape shape;
        shape.resize(100, 50);
        QCOMPARE(shape.shape().width(), 100);
        shape.setXMargin(5);
        shape.setYMargin(5);
        shape.setRepeatMode(rpNone);
        QCOMPARE(shape.shape().shapeW(), 90);
        QCOMPARE(shape.shape().shapeH(), 40);
        shape.setShadow(true);
        QCOMPARE(shape.size(), QSize(102, 52));
        shape.resize(60, 60);
        QCOMPARE(shape.shape().shapeW(), 48);
    }

    void drawsShadowBeforeTheShape() {
        TMultiShape shape;
        shape.resize(40, 40);
        shape.setColor(0x0000FF);  // red
        shape.setShadow(true);
        shape.setShadowColor(0x00FF00);
        shape.setShadowX(3);
        shape.setShadowY(3);
        shape.setRepeatMode(rpNone);
        shape.setShapeW(20);
        shape.setShapeH(20);
        shape.setXMargin(0);
        shape.setYMargin(0);
        const QImage image = picture(shape);
        QCOMPARE(at(image, 10, 10), QColor(255, 0, 0));
        QCOMPARE(at(image, 22, 22), QColor(0, 255, 0));
        QCOMPARE(at(image, 1, 22), QColor(Qt::white));
    }

    void drawsEachShapeInItsCell() {
        TMultiShape shape;
        shape.resize(40, 40);
        shape.setRepeatMode(rpNone);
        shape.setShapeType(msTriangle);
        shape.setAngle(0);  // pointing right: the left edge is full, the right corners empty
        QImage image = picture(shape);
        QCOMPARE(at(image, 2, 20), QColor(0, 0, 128));
        QCOMPARE(at(image, 38, 2), QColor(Qt::white));
        shape.setShapeType(msEllipse);
        image = picture(shape);
        QCOMPARE(at(image, 20, 20), QColor(0, 0, 128));
        QCOMPARE(at(image, 1, 1), QColor(Qt::white));
        shape.setFilled(false);
        image = picture(shape);
        QCOMPARE(at(image, 20, 20), QColor(Qt::white));
        shape.setShapeType(msText);
        shape.setText(QStringLiteral("VEK"));
        shape.setColor(0x000000);
        image = picture(shape);
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) dark += at(image, x, y).lightness() < 128;
        QVERIFY2(dark > 5, "the text was not drawn");
    }

    void theEditorsBannerTilesSixBySix() {
        TMultiShape shape;
        shape.resize(305, 293);
        shape.setShapeType(msText);
        shape.setXSpacing(60);
        shape.setYSpacing(50);
        QCOMPARE(shape.shape().grid(), (ShapeGrid{6, 6}));
        // Each word's middle is on the middle (5, 5) of its 10 x 10 cell.
        QCOMPARE(shape.shape().cellOrigin(5, 5), (ShapePoint{300, 250}));
    }
};

VEK_UI_TEST_MAIN(MultiShapeTest)
#include "multi_shape_test.moc"
