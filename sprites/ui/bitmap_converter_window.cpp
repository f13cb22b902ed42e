#include "sprites/ui/bitmap_converter_window.h"

namespace vek::ui {

BitmapConverterWindow::BitmapConverterWindow(AppContext& context) : VekWindow(context, QStringLiteral("TForm5"), QStringLiteral("BMP to Sprite converter")) {}

void BitmapConverterWindow::FormCreate() {
    context().trace(QStringLiteral("Sprite Converter setup..."));
}

}  // namespace vek::ui
