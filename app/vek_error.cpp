#include "app/vek_error.h"

#include <cerrno>
#include <cstring>

#include "app/text_names.h"

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
    return {utf8(file), std::nullopt, byteOffset, {}};
}

ErrorDetail ErrorDetail::ofFile(const std::filesystem::path& file, BilingualText reason) {
    return {utf8(file), std::nullopt, std::nullopt, std::move(reason)};
}

std::string ErrorDetail::in(std::string_view language) const {
    std::string out = file;
    if (line) appendPart(out, fill(Msg::DetailLine, {std::to_string(*line)}).in(language));
    if (byteOffset)
        appendPart(out, fill(Msg::DetailByte, {std::to_string(*byteOffset)}).in(language));
    if (!reason.english.empty()) out.append(out.empty() ? "" : ": ").append(reason.in(language));
    return out;
}

VekError::VekError(std::string english, std::string german, ErrorDetail detail)
    : std::runtime_error(english),
      m_text{std::move(english), std::move(german)},
      m_detail(std::move(detail)) {}

VekError::VekError(const Bilingual& text, ErrorDetail detail)
    : VekError(std::string(text.english), std::string(text.german), std::move(detail)) {}

VekError::VekError(BilingualText text, ErrorDetail detail)
    : VekError(std::move(text.english), std::move(text.german), std::move(detail)) {}

VekError VekError::runtime(BilingualText text, ErrorDetail detail) {
    // what() stays the box's text, as the program has always shown it.
    std::string german = text.german;
    VekError error(std::move(german), std::string(text.german), std::move(detail));
    error.m_text = std::move(text);
    error.m_runtime = true;
    return error;
}

std::string VekError::message(std::string_view language) const {
    std::string out(text(language));
    if (!m_detail.empty()) out.append("\n").append(m_detail.in(language));
    return out;
}

void VekError::locateIn(const std::filesystem::path& file) {
    if (m_detail.file.empty()) m_detail.file = utf8(file);
}

ErrorDetail reasonOf(const VekError& error) {
    BilingualText reason = error.detail().reason;
    if (reason.english.empty())
        reason = {std::string(error.englishText()), std::string(error.text(kLanguageGerman))};
    return {{}, {}, {}, std::move(reason)};
}

std::string commandLineMessage(const std::exception& error) {
    const auto* own = dynamic_cast<const VekError*>(&error);
    if (!own) return escapeControlCharacters(error.what());
    std::string out(own->englishText());
    if (!own->detail().empty()) out.append("\n").append(own->detail().in(kLanguageEnglish));
    return escapeControlCharacters(out);
}

void VekError::locateAtLine(std::uint64_t line) {
    if (!m_detail.line) m_detail.line = line;
}

std::string errorMessage(const std::exception& error, std::string_view language) {
    if (const auto* own = dynamic_cast<const VekError*>(&error)) return own->message(language);
    return error.what();
}

BilingualText failureText(const std::exception& error) {
    return {errorMessage(error, kLanguageEnglish), errorMessage(error, kLanguageGerman)};
}

BilingualText systemReason(int errorNumber) {
    static constexpr struct {
        int number;
        Bilingual reason;
    } kReasons[] = {{ENOENT, Msg::ReasonNoSuchFile},      {ENOTDIR, Msg::ReasonPathPartNotFolder},
                    {EISDIR, Msg::ReasonIsFolder},        {EACCES, Msg::ReasonPermissionDenied},
                    {EPERM, Msg::ReasonPermissionDenied}, {EROFS, Msg::ReasonReadOnlyFileSystem},
                    {ENOSPC, Msg::ReasonNoSpaceLeft},     {ENAMETOOLONG, Msg::ReasonNameTooLong},
                    {ELOOP, Msg::ReasonTooManyLinks},     {EEXIST, Msg::ReasonAlreadyExists}};
    for (const auto& known : kReasons) {
        if (known.number == errorNumber) return textOf(known.reason);
    }
    // Rarer errors keep the system's own English text in both languages.
    const std::string text = std::strerror(errorNumber);
    return {text, text};
}

BilingualText systemReason(const std::error_code& error) {
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == std::generic_category()) return systemReason(condition.value());
    return {error.message(), error.message()};
}

std::string invalidIntegerMessage(std::string_view text) {
    return fill(Msg::RuntimeInvalidInteger, {text}).german;
}

VekError invalidIntegerError(std::string_view text) {
    return VekError::runtime(fill(Msg::RuntimeInvalidInteger, {text}));
}

}  // namespace vek
