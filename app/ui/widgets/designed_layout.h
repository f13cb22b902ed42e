#pragma once

#include <QLayout>
#include <QRect>
#include <vector>

class QMainWindow;

namespace vek::ui {

// Places controls at their designed pixel rectangles and keeps those as the minimum: where a
// control's text needs more room with the font at hand (whatever the system offers, in either
// language), the control grows, the controls right of it or below it move on by as much, and
// the client grows with them. A text that changes later (the language switch) places them anew.
class DesignedLayout : public QLayout {
  public:
    // The layout of `client`, whose designed size is `designedSize`.
    DesignedLayout(QWidget* client, QSize designedSize);
    ~DesignedLayout() override;

    // A client widget as the central widget of `window`, which keeps the client's fitted size.
    static DesignedLayout* install(QMainWindow* window, QSize designedClientSize);

    void place(QWidget* control, const QRect& designed);
    // A window that follows the screen's width moves its controls and its client's size.
    void replace(QWidget* control, const QRect& designed);
    void setDesignedSize(QSize designedSize);

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    // Items added without a rectangle keep the one they have now as designed.
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    Qt::Orientations expandingDirections() const override { return {}; }

  private:
    struct Placed {
        QLayoutItem* item;
        QRect designed;
    };
    // Every control's fitted rectangle, in order, and the client's fitted size.
    std::vector<QRect> fitted(QSize& client) const;

    std::vector<Placed> m_placed;
    QSize m_designedSize;
};

// The room a control of a designed size needs for its text as shown with its font and style;
// an empty size for a control that shows no text of its own or scrolls it.
QSize roomForText(const QWidget* control, QSize designed);

// One axis of the fit: each span [start, end) of designed edges must be at least `needed` long;
// an edge moves on by the growth of every span before it, and designed gaps stay.
struct DesignedSpan {
    int start;
    int end;
    int needed;
};
// The fitted position of every designed edge named in `spans`, and of 0 and `extent`, as a map
// from designed to fitted edge (sorted by the designed edge).
std::vector<std::pair<int, int>> fitEdges(const std::vector<DesignedSpan>& spans, int extent);

}  // namespace vek::ui
