#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/rgb_image.h"

namespace vek {

// The largest VEK.INI read: its few keys take some hundred bytes. A larger one reads as empty
// and is never written over.
inline constexpr std::uint64_t kMaxVekIniSize = std::uint64_t{1} << 20;

// VEK.INI: the profile file of the program's two settings. Every access opens, reads or writes,
// and closes the file again; nothing of it stays open.
class VekIni {
  public:
    explicit VekIni(std::filesystem::path file) : m_file(std::move(file)) {}

    const std::filesystem::path& file() const { return m_file; }

    // The value of a key, or `fallback` when the file, the section or the key is missing.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;
    // Sets a key (creating the file and section when needed); a failed write throws
    // "Kann nicht nach <file> schreiben".
    void write(std::string_view section, std::string_view key, std::string_view value) const;

    // The two settings.
    void writeSpriteBackground(ScreenColor color) const;  // as a decimal number
    void writeLanguage(std::string_view language) const;

  private:
    std::filesystem::path m_file;
};

// Whether a macro or object with errors is asked about before it goes to the game:
// [Checking] CheckMacros, on unless it is "0".
bool macroCheckingOn(const VekIni& ini);
void writeMacroChecking(const VekIni& ini, bool on);

// The settings a start-up reads.
struct StartupSettings {
    ScreenColor spriteBackground;
    std::string language;
    bool firstStart;  // the language key was missing: the defaults were written back
    std::optional<std::string> unreadableColor;  // an SBGC that is not an integer
    std::optional<std::string> writeError;       // the first start's defaults could not be written
};

// Reads both settings; on a first start writes Language=english and SBGC=$000000. Never throws:
// a failed write is reported in `writeError` and the values read stay in force.
StartupSettings readStartupSettings(const VekIni& ini);

// An integer in VEK.INI's forms: decimal, or "$" and hexadecimal. Nothing when it is neither.
std::optional<std::int64_t> parseIniInteger(std::string_view text);

// A colour value as VEK.INI and the command line write it; throws the conversion error otherwise.
ScreenColor parseColorValue(std::string_view text);

// Where VEK.INI lives on this platform.
std::filesystem::path defaultVekIniPath();

}  // namespace vek
