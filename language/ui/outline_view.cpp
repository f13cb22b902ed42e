#include "language/ui/outline_view.h"

#include <QHeaderView>

#include "app/ui/qt_convert.h"
#include "app/ui/session_look.h"

namespace vek::ui {

OutlineView::OutlineView(const SessionLook& look, std::span<const std::string_view> events,
                         std::span<const std::string_view> germanEvents, QWidget* parent)
    : QTreeWidget(parent), m_look(look), m_events(events), m_germanEvents(germanEvents) {
    setObjectName(QStringLiteral("Outline"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    const auto choose = [this](QTreeWidgetItem* item) {
        const auto& entry = m_entries.at(item->data(0, Qt::UserRole).toULongLong());
        Q_EMIT entryChosen(entry.position.line, entry.position.column);
    };
    connect(this, &QTreeWidget::itemClicked, this, choose);
    connect(this, &QTreeWidget::itemActivated, this, choose);
}

void OutlineView::setSource(const SourceModel& model) {
    std::vector<OutlineEntry> entries =
        outlineOf(model.lines(), model.reader(), m_events, m_germanEvents);
    const auto same = [](const OutlineEntry& a, const OutlineEntry& b) {
        return a.position == b.position && a.title.english == b.title.english;
    };
    if (std::equal(entries.begin(), entries.end(), m_entries.begin(), m_entries.end(), same))
        return;
    m_entries = std::move(entries);
    retranslate();
}

void OutlineView::retranslate() {
    clear();
    QTreeWidgetItem* section = nullptr;
    for (std::size_t index = 0; index < m_entries.size(); ++index) {
        const OutlineEntry& entry = m_entries[index];
        const QString title = toQString(entry.title.in(m_look.language()));
        QTreeWidgetItem* item = nullptr;
        if (entry.kind == OutlineKind::Subroutine && section) {
            item = new QTreeWidgetItem(section, {title});
        } else {
            item = new QTreeWidgetItem(this, {title});
            if (entry.kind != OutlineKind::Subroutine) section = item;
        }
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(index));
        // A narrow outline cuts long titles short.
        item->setToolTip(0, title);
    }
    expandAll();
}

}  // namespace vek::ui
