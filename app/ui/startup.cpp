#include "app/ui/startup.h"

#include <QApplication>

namespace vek::ui {

int runVekstudio(int argc, char* argv[]) {
    QApplication application(argc, argv);
    return QApplication::exec();
}

}  // namespace vek::ui
