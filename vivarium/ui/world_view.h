#pragma once

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sprites/palette.h"
#include "vivarium/map.h"
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

// Draws the rooms (outlined, each with its number and type) and the ground line over a world
// painted at `zoom`, `width` pixels across.
void paintMap(QPainter& painter, const vivarium::Map& map, double zoom, int width);

// The world as the hand sees it: a click activates the object under it (a right-click
// activates 2), shift-click makes it the edit object, a drag picks it up and drops it. The
// creature, which has no pictures, is drawn as a figure of its size; a right click on it asks
// for its menu.
// activates 2), shift-click makes it the edit object, a drag picks it up, carries it under the
// hand and drops it. Ctrl and the wheel ask for a zoom at the mouse.
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
    // The rooms and the ground drawn over the world, or not.
    void setShowsRooms(bool shown);
    bool showsRooms() const { return m_showsRooms; }
    // The object framed as the one selected; 0 for none.
    void setMarkedObject(int object);
    int markedObject() const { return m_marked; }
    // The object the hand carries (0: none) and where it shows it, in world pixels.
    int carriedObject() const { return m_carried; }
    QPoint carriedCorner() const { return m_hand - m_grip; }

  Q_SIGNALS:
    // The hand did something to an object.
    void handUsed(int object);
    // A right click on the creature asks for its menu, at a world point and a screen point.
    void creatureMenuRequested(QPoint worldPoint, QPoint screenPoint);
    // Ctrl and the wheel: a zoom in (steps above 0) or out, to keep the world point under
    // `viewPoint` where it is.
    void zoomAsked(int steps, QPoint viewPoint);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void resizeToWorld();
    void paintMark(QPainter& painter, const std::vector<vivarium::DrawnObject>& objects);

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
    QPoint m_hand;  // the world point under the hand while it carries
    bool m_showsRooms = false;
    int m_marked = 0;
};

}  // namespace vek::ui
