#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDragEnterEvent;
class QDropEvent;
class QMimeData;

namespace vek::ui {

// The local file of a drag, when it is one file whose name ends in one of `extensions`
// (".spr", in any letter case).
std::optional<QString> droppedFile(const QMimeData* data, const QStringList& extensions);

// A window's drop handlers: the drag is accepted when it carries such a file, and the drop
// hands the file on.
void acceptFileDrag(QDragEnterEvent* event, const QStringList& extensions);
std::optional<QString> takeFileDrop(QDropEvent* event, const QStringList& extensions);

}  // namespace vek::ui
