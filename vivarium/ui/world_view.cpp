#include "vivarium/ui/world_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <optional>

#include "app/file_lookup.h"
#include "sprites/sprite_file.h"
#include "vivarium/session.h"

namespace vek::ui {

namespace {

// The world's size where the installation has no background.
constexpr QSize kWorldSize(vivarium::kWorldWidth, vivarium::kWorldHeight);

QImage pictureOf(const SpriteImage& sprite, const PaletteTable& palette) {
    QImage picture(sprite.width, sprite.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < sprite.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < sprite.width; ++x) {
            const std::uint8_t index = sprite.at(x, y);
            const ScreenColor color = palette[index];
            // Colour 0 is the clear one of the game's sprites.
            line[x] =
                index == 0 ? qRgba(0, 0, 0, 0) : qRgb(redOf(color), greenOf(color), blueOf(color));
        }
    }
    return picture;
}

// The creature's place in the world, when there is one.
std::optional<QRect> creatureRect(const vivarium::World& world) {
    const vivarium::Object* creature = world.find(world.creature().id);
    if (!creature) return std::nullopt;
    return QRect(creature->x, creature->y, vivarium::kCreatureWidth, vivarium::kCreatureHeight);
}

// A plain figure: a head over a body, so that the creature shows where it stands.
void paintCreature(QPainter& painter, const QRect& place, double zoom) {
    painter.save();
    painter.scale(zoom, zoom);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x50, 0x30, 0x10), 2));
    painter.setBrush(QColor(0xE8, 0xB0, 0x60));
    const int head = place.width() / 2;
    painter.drawEllipse(QRect(place.x() + (place.width() - head) / 2, place.y(), head, head));
    painter.drawRoundedRect(
        QRect(place.x() + 4, place.y() + head, place.width() - 8, place.height() - head), 8, 8);
    painter.restore();
}

}  // namespace

SpritePictures::SpritePictures(std::filesystem::path imageDirectory, const PaletteTable& palette)
    : m_directory(std::move(imageDirectory)), m_palette(palette) {}

const QImage& SpritePictures::picture(const std::string& sprite, int image) {
    const auto key = std::make_pair(sprite, image);
    if (const auto known = m_pictures.find(key); known != m_pictures.end()) return known->second;
    QImage picture;
    if (!sprite.empty() && sprite.find_first_of("/\\:") == std::string::npos && image >= 0) {
        try {
            const auto file = findIgnoringCase(m_directory, sprite + ".spr");
            const SpriteTable table = readSpriteTable(file, kMaxSpriteCount);
            if (static_cast<std::size_t>(image) < table.count())
                picture = pictureOf(
                    readSprite(file, table.entries[static_cast<std::size_t>(image)]), m_palette);
        } catch (const std::exception&) {
            picture = QImage();  // a missing or damaged file shows nothing, as in a bare world
        }
    }
    return m_pictures.emplace(key, std::move(picture)).first->second;
}

void paintWorld(QPainter& painter, const QImage& background,
                const std::vector<vivarium::DrawnObject>& objects, SpritePictures& pictures,
                double zoom, const QRect& exposed) {
    painter.save();
    painter.scale(zoom, zoom);
    const QRect world = QRectF(exposed.x() / zoom, exposed.y() / zoom, exposed.width() / zoom,
                               exposed.height() / zoom)
                            .toAlignedRect();
    if (background.isNull()) {
        painter.fillRect(world, QColor(0x40, 0x60, 0x40));
    } else {
        painter.drawImage(world.topLeft(), background, world);
    }
    for (const vivarium::DrawnObject& object : objects) {
        const QImage& picture = pictures.picture(object.sprite, object.image);
        const QRect place(object.x, object.y, picture.isNull() ? 8 : picture.width(),
                          picture.isNull() ? 8 : picture.height());
        if (!place.intersects(world)) continue;
        if (picture.isNull()) {
            // An object without a picture still shows where it is.
            painter.fillRect(place, Qt::magenta);
        } else {
            painter.drawImage(place.topLeft(), picture);
        }
    }
    painter.restore();
}

void paintMap(QPainter& painter, const vivarium::Map& map, double zoom, int width) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto scaled = [zoom](int value) { return static_cast<int>(value * zoom); };
    painter.setPen(QPen(QColor(0, 200, 255), 2));
    for (const vivarium::Room& room : map.rooms()) {
        const QRect place(QPoint(scaled(room.left), scaled(room.top)),
                          QPoint(scaled(room.right) - 1, scaled(room.bottom) - 1));
        painter.drawRect(place);
        painter.drawText(place.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("%1 (%2)").arg(room.number).arg(room.type));
    }
    // The ground: one height a point, joined by lines as far as the line reaches.
    painter.setPen(QPen(QColor(255, 140, 0), 2));
    QPolygon ground;
    for (int point = 0; point < map.groundPoints(); ++point) {
        const int x = point * vivarium::kGroundPointWidth;
        if (scaled(x) > width) break;
        ground << QPoint(scaled(x), scaled(map.groundAt(point)));
    }
    painter.drawPolyline(ground);
    painter.restore();
}

WorldView::WorldView(vivarium::Session& session, SpritePictures& pictures, QWidget* parent)
    : QWidget(parent), m_session(session), m_pictures(pictures) {
    setObjectName(QStringLiteral("WorldView"));
    setMouseTracking(false);
    resizeToWorld();
}

void WorldView::setBackground(QImage background) {
    m_background = std::move(background);
    resizeToWorld();
    update();
}

void WorldView::setZoom(double zoom) {
    m_zoom = std::clamp(zoom, 0.25, 4.0);
    resizeToWorld();
    update();
}

void WorldView::resizeToWorld() {
    const QSize world = m_background.isNull() ? kWorldSize : m_background.size();
    setFixedSize(static_cast<int>(world.width() * m_zoom),
                 static_cast<int>(world.height() * m_zoom));
}

QPoint WorldView::worldPoint(QPoint viewPoint) const {
    return {static_cast<int>(viewPoint.x() / m_zoom), static_cast<int>(viewPoint.y() / m_zoom)};
}

void WorldView::setShowsRooms(bool shown) {
    m_showsRooms = shown;
    update();
}

void WorldView::setMarkedObject(int object) {
    if (m_marked == object) return;
    m_marked = object;
    update();
}

void WorldView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    std::vector<vivarium::DrawnObject> objects = vivarium::paintOrder(m_session.world());
    // The creature is drawn as its figure, not as an object without a picture.
    const int creatureId = m_session.world().creature().id;
    std::erase_if(objects, [creatureId](const vivarium::DrawnObject& object) {
        return object.object == creatureId;
    });
    // What the hand carries is drawn under it, with each of its parts where they sit on it.
    if (const vivarium::Object* carried = m_session.world().find(m_carried)) {
        const QPoint shift = carriedCorner() - QPoint(carried->x, carried->y);
        for (vivarium::DrawnObject& object : objects) {
            if (object.object != m_carried) continue;
            object.x += shift.x();
            object.y += shift.y();
        }
    }
    paintWorld(painter, m_background, objects, m_pictures, m_zoom, event->rect());
    if (m_showsRooms) paintMap(painter, m_session.world().map(), m_zoom, width());
    if (const auto creature = creatureRect(m_session.world()))
        paintCreature(painter, *creature, m_zoom);
    paintMark(painter, objects);
}

void WorldView::paintMark(QPainter& painter, const std::vector<vivarium::DrawnObject>& objects) {
    const auto marked = std::find_if(objects.begin(), objects.end(), [this](const auto& object) {
        return object.object == m_marked;
    });
    if (m_marked == 0 || marked == objects.end()) return;
    const QRectF place(marked->x * m_zoom, marked->y * m_zoom, std::max(marked->width, 8) * m_zoom,
                       std::max(marked->height, 8) * m_zoom);
    painter.setPen(QPen(Qt::yellow, 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(place.adjusted(-2, -2, 2, 2));
}

void WorldView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = worldPoint(event->position().toPoint());
    if (event->button() == Qt::LeftButton && m_placingCreature) {
        m_placingCreature = false;
        if (const int creature = m_session.placeCreature(at.x(), at.y())) Q_EMIT handUsed(creature);
        return;
    }
    const auto creature = creatureRect(m_session.world());
    if (event->button() == Qt::RightButton && creature && creature->contains(at)) {
        Q_EMIT creatureMenuRequested(at, event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::RightButton) {
        if (const int object = m_session.click(at.x(), at.y(), vivarium::kEventActivate2))
            Q_EMIT handUsed(object);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (event->modifiers() & Qt::ShiftModifier) {
        if (const int object = m_session.makeEditObject(at.x(), at.y())) Q_EMIT handUsed(object);
        return;
    }
    m_leftDown = true;
    m_pressed = event->position().toPoint();
    m_carried = 0;
}

void WorldView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_leftDown) return;
    const QPoint now = event->position().toPoint();
    if (m_carried == 0) {
        if ((now - m_pressed).manhattanLength() < 4) return;
        const QPoint at = worldPoint(m_pressed);
        m_carried = m_session.pickUp(at.x(), at.y());
        if (m_carried == 0) {
            m_leftDown = false;  // a drag from the bare world moves nothing
            return;
        }
        const vivarium::Object* object = m_session.world().find(m_carried);
        m_grip = object ? at - QPoint(object->x, object->y) : QPoint();
        Q_EMIT handUsed(m_carried);
    }
    // The carried object goes with the hand until it lets go.
    m_hand = worldPoint(now);
    update();
}

void WorldView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_leftDown) return;
    m_leftDown = false;
    const QPoint at = worldPoint(event->position().toPoint());
    if (m_carried != 0) {
        const QPoint corner = at - m_grip;
        const int dropped = std::exchange(m_carried, 0);
        m_session.drop(dropped, corner.x(), corner.y());
        Q_EMIT handUsed(dropped);
        update();
        return;
    }
    if (const int object = m_session.click(at.x(), at.y(), vivarium::kEventActivate1))
        Q_EMIT handUsed(object);
}

void WorldView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        event->ignore();  // the scroll area scrolls
        return;
    }
    Q_EMIT zoomAsked(event->angleDelta().y() > 0 ? 1 : -1, event->position().toPoint());
    event->accept();
}

}  // namespace vek::ui
