#include "app/ui/widgets/animation_preview.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vek::ui {

namespace {

constexpr int kHintSide = 160;

}  // namespace

AnimationPreview::AnimationPreview(QWidget* parent) : QWidget(parent) {
    // A precise timer: at the game's rate a coarse one would drift by up to a twentieth.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AnimationPreview::advance);
    setRate(kGameRate);
}

void AnimationPreview::setAnimation(std::vector<QImage> frames, std::vector<int> sequence,
                                    bool repeats) {
    m_frames = std::move(frames);
    m_sequence = std::move(sequence);
    m_repeats = repeats;
    m_step = 0;
    updateGeometry();
    update();
    Q_EMIT stepShown(m_step);
}

void AnimationPreview::setBackground(const QColor& color) {
    m_background = color;
    update();
}

void AnimationPreview::play() {
    // A finished animation that does not repeat plays again from its start.
    if (!m_repeats && m_step + 1 >= steps()) m_step = 0;
    m_timer.start();
    update();
    Q_EMIT stepShown(m_step);
}

void AnimationPreview::stop() {
    m_timer.stop();
    Q_EMIT stepShown(m_step);
}

void AnimationPreview::setRate(double framesPerSecond) {
    m_rate = std::clamp(framesPerSecond, kSlowest, kFastest);
    m_timer.setInterval(static_cast<int>(std::lround(1000.0 / m_rate)));
}

int AnimationPreview::frameShown() const {
    if (m_step < 0 || m_step >= steps()) return -1;
    const int frame = m_sequence[static_cast<std::size_t>(m_step)];
    return frame >= 0 && frame < static_cast<int>(m_frames.size()) ? frame : -1;
}

void AnimationPreview::advance() {
    if (steps() == 0) return;
    if (m_step + 1 < steps()) {
        ++m_step;
    } else if (m_repeats) {
        m_step = 0;
    } else {
        m_timer.stop();
    }
    update();
    Q_EMIT stepShown(m_step);
}

QSize AnimationPreview::sizeHint() const {
    QSize largest(kHintSide, kHintSide);
    for (const QImage& frame : m_frames) largest = largest.expandedTo(frame.size());
    return largest;
}

void AnimationPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    const int frame = frameShown();
    if (frame < 0) return;
    const QImage& picture = m_frames[static_cast<std::size_t>(frame)];
    if (picture.isNull()) return;
    // The largest whole enlargement that fits keeps every pixel square and sharp.
    const int factor =
        std::max(1, std::min(width() / picture.width(), height() / picture.height()));
    const QSize shown = picture.size() * factor;
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2),
                       shown);
    painter.drawImage(target, picture);
}

}  // namespace vek::ui
