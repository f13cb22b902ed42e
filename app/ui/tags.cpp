#include "app/ui/tags.h"

#include <QAction>
#include <QVariant>
#include <QWidget>

namespace vek::ui {

void setTag(QObject* control, int tag) { control->setProperty(kTagProperty, tag); }

int tagOf(const QObject* control) { return control->property(kTagProperty).toInt(); }

void markAsImage(QWidget* widget) { widget->setProperty(kImageProperty, true); }

void setHint(QObject* control, const QString& hint) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        action->setStatusTip(hint);
        action->setToolTip(hint);
    } else if (auto* widget = qobject_cast<QWidget*>(control)) {
        widget->setStatusTip(hint);
        widget->setToolTip(hint);
    }
}

QString hintOf(const QObject* control) {
    if (const auto* action = qobject_cast<const QAction*>(control)) return action->statusTip();
    if (const auto* widget = qobject_cast<const QWidget*>(control)) return widget->statusTip();
    return {};
}

}  // namespace vek::ui
