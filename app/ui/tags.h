#pragma once

#include <QString>

class QObject;
class QWidget;

namespace vek::ui {

// A translated control carries its text-table tag as the dynamic property "tag".
inline constexpr const char* kTagProperty = "tag";
// Controls drawn as pictures (the drawing and palette areas, picture boxes) are "images" to the
// language switch: they take hints but no captions.
inline constexpr const char* kImageProperty = "vekImage";

void setTag(QObject* control, int tag);
int tagOf(const QObject* control);
void markAsImage(QWidget* widget);

// A hint shows as the tool tip and, for whatever the mouse is over, in the main status bar.
void setHint(QObject* control, const QString& hint);
QString hintOf(const QObject* control);

}  // namespace vek::ui
