#include "app/vek_error.h"

namespace vek {

namespace {

std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

void appendPart(std::string& out, std::string_view part) {
    if (!out.empty()) out += ", ";
    out += part;
}

}  // namespace

ErrorDetail ErrorDetail::ofFile(const std::filesystem::path& file,
                                std::optional<std::uint64_t> byteOffset) {
    return {utf8(file), std::nullopt, byteOffset};
}

std::string ErrorDetail::in(std::string_view language) const {
    const bool german = language == kLanguageGerman;
    std::string out = file;
    if (line) appendPart(out, (german ? "Zeile " : "line ") + std::to_string(*line));
    if (byteOffset) appendPart(out, (german ? "Byte " : "byte ") + std::to_string(*byteOffset));
    return out;
}

VekError::VekError(std::string english, std::string german, ErrorDetail detail)
    : std::runtime_error(english),
      m_text{std::move(english), std::move(german)},
      m_detail(std::move(detail)) {}

VekError::VekError(const Bilingual& text, ErrorDetail detail)
    : VekError(std::string(text.english), std::string(text.german), std::move(detail)) {}

std::string VekError::message(std::string_view language) const {
    std::string out(text(language));
    if (!m_detail.empty()) out.append("\n").append(m_detail.in(language));
    return out;
}

void VekError::locateIn(const std::filesystem::path& file) {
    if (m_detail.file.empty()) m_detail.file = utf8(file);
}

std::string errorMessage(const std::exception& error, std::string_view language) {
    if (const auto* own = dynamic_cast<const VekError*>(&error)) return own->message(language);
    return error.what();
}

std::string invalidIntegerMessage(std::string_view text) {
    std::string message = "'";
    message.append(text).append("' ist kein gültiger Integerwert");
    return message;
}

VekError invalidIntegerError(std::string_view text) {
    return VekError::runtime(invalidIntegerMessage(text));
}

}  // namespace vek
