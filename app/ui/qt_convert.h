#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "app/rgb_image.h"

// The one place where core types become Qt types and back.
namespace vek::ui {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toStdString(const QString& text) { return text.toUtf8().toStdString(); }

inline std::filesystem::path toPath(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()),
                                               static_cast<std::size_t>(utf8.size())));
}
inline QString fromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                             static_cast<qsizetype>(text.size()));
}

inline QColor toQColor(ScreenColor color) {
    return QColor(redOf(color), greenOf(color), blueOf(color));
}
inline ScreenColor toScreenColor(const QColor& color) {
    return makeScreenColor(static_cast<std::uint8_t>(color.red()),
                           static_cast<std::uint8_t>(color.green()),
                           static_cast<std::uint8_t>(color.blue()));
}

// A deep copy of the core's pixels as a 32-bit RGB image.
QImage toQImage(const RgbImage& image);
// A read-only view of the core's pixels without copying, for pictures too large to copy on
// every change; valid while `image` keeps its pixels where they are.
QImage viewAsQImage(const RgbImage& image);
// The pixels of a Qt image as screen colours.
RgbImage toRgbImage(const QImage& image);

}  // namespace vek::ui
