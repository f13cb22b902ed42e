#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace vek::ui {

// Plays pictures as an animation: a sequence of positions into a list of frames, shown one after
// the other at a rate of frames a second, once or over and over. The frames are drawn enlarged
// by the largest whole factor that fits, centred on the background. It knows nothing of where
// the pictures come from.
class AnimationPreview : public QWidget {
    Q_OBJECT
  public:
    static constexpr double kGameRate = 10.0;  // the game's ticks a second
    static constexpr double kSlowest = 0.625;
    static constexpr double kFastest = 80.0;

    explicit AnimationPreview(QWidget* parent = nullptr);

    // Shows `sequence[0]` and plays from there when playing. A position outside `frames` shows
    // nothing for its time.
    void setAnimation(std::vector<QImage> frames, std::vector<int> sequence, bool repeats);
    void setBackground(const QColor& color);

    void play();
    void stop();
    bool playing() const { return m_timer.isActive(); }
    // The frames a second; slower and faster halve and double it within kSlowest and kFastest.
    double rate() const { return m_rate; }
    void setRate(double framesPerSecond);
    void slower() { setRate(m_rate / 2); }
    void faster() { setRate(m_rate * 2); }

    // The step of the sequence on show, and the frame it shows (-1 without one).
    int step() const { return m_step; }
    int frameShown() const;
    int steps() const { return static_cast<int>(m_sequence.size()); }
    // Moves on by one step, as the timer does: after the last step back to the first when the
    // animation repeats, else it stops on the last.
    void advance();

    QSize sizeHint() const override;

  Q_SIGNALS:
    // A new step is on show, or the playing started or stopped.
    void stepShown(int step);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<QImage> m_frames;
    std::vector<int> m_sequence;
    bool m_repeats = false;
    int m_step = 0;
    double m_rate = kGameRate;
    QColor m_background = Qt::white;
    QTimer m_timer;
};

}  // namespace vek::ui
