#include "app/ui/qt_convert.h"

#include <bit>

namespace vek::ui {

QImage toQImage(const RgbImage& image) {
    QImage result(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < image.width; ++x) {
            const ScreenColor color = image.at(x, y);
            line[x] = qRgb(redOf(color), greenOf(color), blueOf(color));
        }
    }
    return result;
}

QImage viewAsQImage(const RgbImage& image) {
    // A screen colour's bytes in memory are red, green, blue, 0 on a little-endian machine.
    if constexpr (std::endian::native == std::endian::little) {
        return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                      image.height, static_cast<qsizetype>(image.width) * 4,
                      QImage::Format_RGBX8888);
    } else {
        return toQImage(image);
    }
}

RgbImage toRgbImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    RgbImage result(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            result.at(x, y) = makeScreenColor(static_cast<std::uint8_t>(qRed(line[x])),
                                              static_cast<std::uint8_t>(qGreen(line[x])),
                                              static_cast<std::uint8_t>(qBlue(line[x])));
        }
    }
    return result;
}

}  // namespace vek::ui
