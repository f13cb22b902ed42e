#pragma once

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sprites/palette.h"
#include "vivarium/scene.h"

class QPainter;

namespace vek::vivarium {
class Session;
}

namespace vek::ui {

// The pictures of the installation's sprite files, each image read once, colour 0 clear.
class SpritePictures {
  public:
    SpritePictures(std::filesystem::path imageDirectory, const PaletteTable& palette);

    // The image of a sprite file by its four-letter name; a null image when there is none.
    const QImage& picture(const std::string& sprite, int image);

  private:
    std::filesystem::path m_directory;
    const PaletteTable& m_palette;
    std::map<std::pair<std::string, int>, QImage> m_pictures;
};

// Paints the world at `zoom` (1 is full size): the background, then every object in paint
// order. Only what lies in `exposed` (in widget pixels) is painted.
void paintWorld(QPainter& painter, const QImage& background,
                const std::vector<vivarium::DrawnObject>& objects, SpritePictures& pictures,
                double zoom, const QRect& exposed);

// The world as the hand sees it: a click activates the object under it (a right-click
// activates 2), shift-click makes it the edit object, a drag picks it up and drops it. The
// creature, which has no pictures, is drawn as a figure of its size; a right click on it asks
// for its menu.
class WorldView : public QWidget {
    Q_OBJECT
  public:
    WorldView(vivarium::Session& session, SpritePictures& pictures, QWidget* parent = nullptr);

    void setBackground(QImage background);
    // 0.25 to 4.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    // The world point under a point of the view.
    QPoint worldPoint(QPoint viewPoint) const;
    // The next left click places the creature there, rather than the hand's click.
    void placeCreatureOnNextClick() { m_placingCreature = true; }
    bool placingCreature() const { return m_placingCreature; }

  Q_SIGNALS:
    // The hand did something to an object.
    void handUsed(int object);
    // A right click on the creature asks for its menu, at a world point and a screen point.
    void creatureMenuRequested(QPoint worldPoint, QPoint screenPoint);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void resizeToWorld();

    vivarium::Session& m_session;
    SpritePictures& m_pictures;
    QImage m_background;
    double m_zoom = 1.0;
    // A press of the left button: where, and the object it picked up once it moved.
    QPoint m_pressed;
    bool m_leftDown = false;
    int m_carried = 0;
    QPoint m_grip;  // where in the carried object the hand holds it
    bool m_placingCreature = false;
};

}  // namespace vek::ui
