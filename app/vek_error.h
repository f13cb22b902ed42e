#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "app/messages.h"
#include "app/text_names.h"

namespace vek {

// What an error is about: a file, and where in it.
struct ErrorDetail {
    std::string file;                         // as UTF-8; empty when the error is about no file
    std::optional<std::uint64_t> line;        // counted from 1
    std::optional<std::uint64_t> byteOffset;  // counted from 0
    BilingualText reason;                     // why, as the system says it: "is a folder"

    static ErrorDetail ofFile(const std::filesystem::path& file,
                              std::optional<std::uint64_t> byteOffset = {});
    static ErrorDetail ofFile(const std::filesystem::path& file, BilingualText reason);
    static ErrorDetail atByte(std::uint64_t offset) { return {{}, {}, offset, {}}; }
    static ErrorDetail atLine(std::uint64_t line) { return {{}, line, {}, {}}; }

    bool empty() const { return file.empty() && !line && !byteOffset && reason.english.empty(); }
    // "C:\Images\back.spr, byte 3714" ("..., Byte 3714" in German), the reason after a colon.
    std::string in(std::string_view language) const;
};

// The run-time library's messages: German in the program's boxes in every interface language,
// English on the command line. As a text they are the German.
struct RuntimeText {
    Bilingual text;
    constexpr operator std::string_view() const { return text.german; }
};
inline constexpr RuntimeText kFileNotFound{Msg::RuntimeFileNotFound};
inline constexpr RuntimeText kReadPastEndOfFile{Msg::RuntimeReadPastEnd};

// The one exception type of the core: the program's own message in both interface languages, and
// a detail. The application shows the text in the interface language with the detail on a second
// line; the command line prints the English text and the detail. what() is the English text.
class VekError : public std::runtime_error {
  public:
    VekError(std::string english, std::string german, ErrorDetail detail = {});
    explicit VekError(const Bilingual& text, ErrorDetail detail = {});
    explicit VekError(BilingualText text, ErrorDetail detail = {});

    // The run-time library's messages: the program's boxes show their German in every interface
    // language, the command line their English (commandLineMessage).
    static VekError runtime(std::string_view text, ErrorDetail detail = {}) {
        return runtime(untranslated(std::string(text)), std::move(detail));
    }
    static VekError runtime(BilingualText text, ErrorDetail detail = {});
    static VekError runtime(const RuntimeText& text, ErrorDetail detail = {}) {
        return runtime(textOf(text.text), std::move(detail));
    }

    std::string_view text(std::string_view language) const {
        return m_runtime ? m_text.german : m_text.in(language);
    }
    // The English text, whoever's it is: what the command line prints.
    std::string_view englishText() const { return m_text.english; }
    const ErrorDetail& detail() const { return m_detail; }
    // The text in that language, the detail on a second line.
    std::string message(std::string_view language) const;

    // Names the file the error happened in, unless it names one already.
    void locateIn(const std::filesystem::path& file);
    // Names the line (from 1), unless the error names one already.
    void locateAtLine(std::uint64_t line);

  private:
    BilingualText m_text;
    ErrorDetail m_detail;
    bool m_runtime = false;
};

// A detail that keeps only why `error` happened: its reason, or else its text. For messages that
// name the file themselves.
ErrorDetail reasonOf(const VekError& error);

// What a failure says in that language: a VekError's text and its detail on a second line, or
// the text of any other exception.
std::string errorMessage(const std::exception& error, std::string_view language);
// The same in both languages.
BilingualText failureText(const std::exception& error);

// What the command line prints of a failure: English throughout, every control character
// shown escaped.
std::string commandLineMessage(const std::exception& error);

// Why a call of the system failed, from its error number: English and German.
BilingualText systemReason(int errorNumber);
BilingualText systemReason(const std::error_code& error);

std::string invalidIntegerMessage(std::string_view text);
// "'%s' ist kein gültiger Integerwert", the same in both languages.
VekError invalidIntegerError(std::string_view text);

// Runs a read of `file`; an error it throws names the file.
template <typename Read>
auto readingFile(const std::filesystem::path& file, Read&& read) -> decltype(read()) {
    try {
        return read();
    } catch (VekError& error) {
        error.locateIn(file);
        throw;
    }
}

}  // namespace vek
