#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vek {

// The one exception type of the core. Its text is the program's own message, shown to the
// user as it stands by the application's default error report.
class VekError : public std::runtime_error {
  public:
    explicit VekError(const std::string& message) : std::runtime_error(message) {}
};

// The run-time library's messages, German in every interface language.
inline constexpr std::string_view kFileNotFound = "Datei nicht gefunden";
inline constexpr std::string_view kReadPastEndOfFile = "Lesen nach Dateiende (EOF)";

inline std::string invalidIntegerMessage(std::string_view text) {
    std::string message = "'";
    message.append(text).append("' ist kein gültiger Integerwert");
    return message;
}

}  // namespace vek
