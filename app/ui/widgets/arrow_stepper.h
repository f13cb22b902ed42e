#pragma once

#include <QWidget>

class QLineEdit;

namespace vek::ui {

// Arrows beside a text field that step its number by one within a range, without wrapping
// around. What the user types is left as typed; the arrows start from the field's number, or
// from their own last position when the field holds none.
class ArrowStepper : public QWidget {
    Q_OBJECT
  public:
    ArrowStepper(QLineEdit* buddy, int minimum, int maximum, QWidget* parent);

    int position() const { return m_position; }
    // A new lower bound (at most the upper one); the arrows start from it.
    void setMinimum(int minimum);
    void stepBy(int steps);

  private:
    QLineEdit* m_buddy;
    int m_minimum;
    int m_maximum;
    int m_position;
};

}  // namespace vek::ui
