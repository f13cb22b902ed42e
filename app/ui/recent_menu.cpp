#include "app/ui/recent_menu.h"

#include <QAction>
#include <QMenu>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/program_files.h"
#include "app/ui/qt_convert.h"

namespace vek::ui {

QMenu* addRecentMenu(QMenu* fileMenu, const ProgramFiles& files, RecentKind kind,
                     std::function<void(const QString&)> open) {
    QMenu* recent = addBilingualMenu(fileMenu, "Recent1", Msg::RecentTitle);
    QObject::connect(recent, &QMenu::aboutToShow, recent, [recent, &files, kind, open] {
        recent->clear();
        int number = 1;
        for (const std::filesystem::path& file : files.recent().files(kind)) {
            const QString name = fromPath(file);
            // The number is the item's key; the name is shown whole so that equal names in
            // different folders stay apart.
            QAction* item = recent->addAction(QStringLiteral("&%1 %2").arg(number++).arg(name));
            QObject::connect(item, &QAction::triggered, recent, [open, name] { open(name); });
        }
    });
    return recent;
}

}  // namespace vek::ui
