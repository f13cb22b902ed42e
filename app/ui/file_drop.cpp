#include "app/ui/file_drop.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace vek::ui {

std::optional<QString> droppedFile(const QMimeData* data, const QStringList& extensions) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return std::nullopt;
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return std::nullopt;
    const QString file = QDir::toNativeSeparators(url.toLocalFile());
    for (const QString& extension : extensions) {
        if (file.endsWith(extension, Qt::CaseInsensitive)) return file;
    }
    return std::nullopt;
}

void acceptFileDrag(QDragEnterEvent* event, const QStringList& extensions) {
    if (droppedFile(event->mimeData(), extensions)) event->acceptProposedAction();
}

std::optional<QString> takeFileDrop(QDropEvent* event, const QStringList& extensions) {
    auto file = droppedFile(event->mimeData(), extensions);
    if (file) event->acceptProposedAction();
    return file;
}

}  // namespace vek::ui
