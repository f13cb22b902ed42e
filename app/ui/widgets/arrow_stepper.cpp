#include "app/ui/widgets/arrow_stepper.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vek::ui {

ArrowStepper::ArrowStepper(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_minimum(minimum), m_maximum(maximum), m_position(minimum) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setObjectName(arrow == Qt::UpArrow ? QStringLiteral("up") : QStringLiteral("down"));
        connect(button, &QToolButton::clicked, this,
                [this, arrow] { stepBy(arrow == Qt::UpArrow ? 1 : -1); });
        layout->addWidget(button);
    }
}

void ArrowStepper::setMinimum(int minimum) {
    m_minimum = std::min(minimum, m_maximum);
    m_position = std::max(m_position, m_minimum);
}

void ArrowStepper::stepBy(int steps) {
    bool isNumber = false;
    const int typed = m_buddy->text().trimmed().toInt(&isNumber);
    if (isNumber) m_position = std::clamp(typed, m_minimum, m_maximum);
    m_position = std::clamp(m_position + steps, m_minimum, m_maximum);
    m_buddy->setText(QString::number(m_position));
}

}  // namespace vek::ui
