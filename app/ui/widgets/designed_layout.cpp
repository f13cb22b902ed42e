#include "app/ui/widgets/designed_layout.h"

#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextDocument>
#include <QtMath>
#include <algorithm>
#include <climits>

namespace vek::ui {

namespace {

// Where a designed edge lies after the fit.
int fittedEdge(const std::vector<std::pair<int, int>>& edges, int designed) {
    return std::lower_bound(edges.begin(), edges.end(), std::pair{designed, INT_MIN})->second;
}

}  // namespace

std::vector<std::pair<int, int>> fitEdges(const std::vector<DesignedSpan>& spans, int extent) {
    std::vector<int> edges = {0, extent};
    for (const DesignedSpan& span : spans) {
        edges.push_back(span.start);
        edges.push_back(span.end);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::vector<std::pair<int, int>> moved;
    for (const int edge : edges) {
        int position = moved.empty() ? edge : moved.back().second + (edge - moved.back().first);
        for (const DesignedSpan& span : spans) {
            if (span.end == edge && span.start < edge)
                position = std::max(position, fittedEdge(moved, span.start) + span.needed);
        }
        moved.emplace_back(edge, position);
    }
    return moved;
}

QSize roomForText(const QWidget* control, QSize designed) {
    const QFontMetrics metrics = control->fontMetrics();
    if (const auto* field = qobject_cast<const QPlainTextEdit*>(control)) {
        // A text field without a scroll bar shows its whole text at its width.
        if (field->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) return {};
        const int inset = 2 * (field->frameWidth() + qCeil(field->document()->documentMargin()));
        const QRect lines = metrics.boundingRect(0, 0, designed.width() - inset, QWIDGETSIZE_MAX,
                                                 Qt::TextWordWrap, field->toPlainText());
        return {designed.width(), lines.height() + inset};
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->wordWrap() || label->text().isEmpty()) return {};
        return label->sizeHint();
    }
    if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control))
        return control->sizeHint();
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        if (button->text().isEmpty()) return {};
        // The text and the button's frame, without the style's minimum width for buttons.
        const QStyle* style = button->style();
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const QSize text = metrics.size(Qt::TextShowMnemonic, button->text());
        return {text.width() + 2 * (margin + frame), text.height() + 2 * frame};
    }
    return {};
}

DesignedLayout::DesignedLayout(QWidget* client, QSize designedSize)
    : QLayout(client), m_designedSize(designedSize) {
    setContentsMargins(0, 0, 0, 0);
}

DesignedLayout::~DesignedLayout() {
    for (Placed& placed : m_placed) delete placed.item;
}

DesignedLayout* DesignedLayout::install(QMainWindow* window, QSize designedClientSize) {
    auto* client = new QWidget(window);
    window->setCentralWidget(client);
    auto* layout = new DesignedLayout(client, designedClientSize);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    return layout;
}

void DesignedLayout::place(QWidget* control, const QRect& designed) {
    addChildWidget(control);
    m_placed.push_back({new QWidgetItem(control), designed});
    invalidate();
}

void DesignedLayout::replace(QWidget* control, const QRect& designed) {
    for (Placed& placed : m_placed) {
        if (placed.item->widget() == control) placed.designed = designed;
    }
    invalidate();
}

void DesignedLayout::setDesignedSize(QSize designedSize) {
    m_designedSize = designedSize;
    invalidate();
}

void DesignedLayout::addItem(QLayoutItem* item) {
    const QRect designed = item->widget() ? item->widget()->geometry() : item->geometry();
    m_placed.push_back({item, designed});
}

QLayoutItem* DesignedLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? m_placed[static_cast<std::size_t>(index)].item : nullptr;
}

QLayoutItem* DesignedLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = m_placed[static_cast<std::size_t>(index)].item;
    m_placed.erase(m_placed.begin() + index);
    return item;
}

int DesignedLayout::count() const { return static_cast<int>(m_placed.size()); }

std::vector<QRect> DesignedLayout::fitted(QSize& client) const {
    std::vector<DesignedSpan> columns;
    std::vector<DesignedSpan> rows;
    for (const Placed& placed : m_placed) {
        const QRect& box = placed.designed;
        QSize needed = box.size();
        if (const QWidget* control = placed.item->widget())
            needed = needed.expandedTo(roomForText(control, box.size()));
        columns.push_back({box.left(), box.left() + box.width(), needed.width()});
        rows.push_back({box.top(), box.top() + box.height(), needed.height()});
    }
    const auto x = fitEdges(columns, m_designedSize.width());
    const auto y = fitEdges(rows, m_designedSize.height());
    std::vector<QRect> boxes;
    for (std::size_t k = 0; k < m_placed.size(); ++k) {
        const int left = fittedEdge(x, columns[k].start);
        const int top = fittedEdge(y, rows[k].start);
        boxes.emplace_back(left, top, fittedEdge(x, columns[k].end) - left,
                           fittedEdge(y, rows[k].end) - top);
    }
    client = {fittedEdge(x, m_designedSize.width()), fittedEdge(y, m_designedSize.height())};
    for (const QRect& box : boxes) client = client.expandedTo({box.right() + 1, box.bottom() + 1});
    return boxes;
}

QSize DesignedLayout::sizeHint() const {
    QSize client;
    fitted(client);
    return client;
}

QSize DesignedLayout::minimumSize() const { return sizeHint(); }

void DesignedLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    QSize client;
    const std::vector<QRect> boxes = fitted(client);
    // Straight to the widget: a control keeps its fitted box whatever its size policy says.
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        const QRect box = boxes[k].translated(rect.topLeft());
        if (QWidget* control = m_placed[k].item->widget()) {
            control->setGeometry(box);
        } else {
            m_placed[k].item->setGeometry(box);
        }
    }
}

}  // namespace vek::ui
