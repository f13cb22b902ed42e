#include "app/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>
#include <vector>

#include "app/file_io.h"
#include "app/user_folders.h"
#include "app/vek_error.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vek {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kColorSection = "Color";
constexpr std::string_view kColorKey = "SBGC";
constexpr std::string_view kLanguageSection = "Language";
constexpr std::string_view kLanguageKey = "Language";
constexpr std::string_view kMissingLanguage = "ERROR";
constexpr std::string_view kDefaultColor = "$FFFFFF";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    a = trimmed(a);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// "[Name]" gives "Name"; any other line gives nothing.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    return line.substr(1, line.size() - 2);
}

// The key of a "key=value" line.
std::optional<std::string_view> keyOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || sectionName(line)) return std::nullopt;
    return line.substr(0, equals);
}

// A missing or unreadable file reads as empty, as the profile functions do. So does one larger
// than any settings file, which is never read whole and never written over.
std::vector<std::string> linesOf(const fs::path& file, bool forWriting = false) {
    try {
        return readFileLines(file, kMaxVekIniSize);
    } catch (const VekError&) {
        std::error_code error;
        const auto size = fs::file_size(file, error);
        if (forWriting && !error && size > kMaxVekIniSize) throw cannotWriteError(file);
        return {};
    }
}

}  // namespace

std::string VekIni::read(std::string_view section, std::string_view key,
                         std::string_view fallback) const {
    bool inSection = false;
    for (const std::string& line : linesOf(m_file)) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
        } else if (const auto lineKey = keyOf(line);
                   inSection && lineKey && sameName(*lineKey, key)) {
            return std::string(trimmed(std::string_view(line).substr(lineKey->size() + 1)));
        }
    }
    return std::string(fallback);
}

void VekIni::write(std::string_view section, std::string_view key, std::string_view value) const {
    std::vector<std::string> lines = linesOf(m_file, true);
    const std::string entry = std::string(key) + "=" + std::string(value);
    bool inSection = false;
    std::optional<std::size_t> sectionEnd;
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (inSection) break;
            inSection = sameName(*name, section);
            if (inSection) sectionEnd = i + 1;
        } else if (inSection) {
            const auto lineKey = keyOf(lines[i]);
            if (lineKey && sameName(*lineKey, key)) {
                lines[i] = entry;
                written = true;
            } else if (!trimmed(lines[i]).empty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (!written && sectionEnd) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), entry);
    } else if (!written) {
        if (!lines.empty() && !trimmed(lines.back()).empty()) lines.emplace_back();
        lines.push_back(std::string(1, '[').append(section).append("]"));
        lines.push_back(entry);
    }
    try {
        std::error_code ignored;
        if (m_file.has_parent_path()) fs::create_directories(m_file.parent_path(), ignored);
        writeFileAtomically(m_file, joinCrLf(lines));
    } catch (const VekError&) {
        throw cannotWriteError(m_file);
    }
}

void VekIni::writeSpriteBackground(ScreenColor color) const {
    write(kColorSection, kColorKey, std::to_string(color));
}

void VekIni::writeLanguage(std::string_view language) const {
    write(kLanguageSection, kLanguageKey, language);
}

bool macroCheckingOn(const VekIni& ini) {
    return trimmed(ini.read("Checking", "CheckMacros", "1")) != "0";
}

void writeMacroChecking(const VekIni& ini, bool on) {
    ini.write("Checking", "CheckMacros", on ? "1" : "0");
}

std::optional<std::int64_t> parseIniInteger(std::string_view text) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    // Integers are 32 bits wide; hexadecimal ones may fill all 32 bits.
    if (value > (base == 16 ? 0xFFFFFFFFLL : 0x7FFFFFFFLL) + (negative ? 1 : 0))
        return std::nullopt;
    return negative ? -value : value;
}

ScreenColor parseColorValue(std::string_view text) {
    const auto value = parseIniInteger(text);
    if (!value) throw invalidIntegerError(text);
    return static_cast<ScreenColor>(*value);
}

StartupSettings readStartupSettings(const VekIni& ini) {
    StartupSettings settings{};
    const std::string color = ini.read(kColorSection, kColorKey, kDefaultColor);
    try {
        settings.spriteBackground = parseColorValue(color);
    } catch (const VekError&) {
        settings.spriteBackground = parseColorValue(kDefaultColor);
        settings.unreadableColor = color;
    }
    settings.language = ini.read(kLanguageSection, kLanguageKey, kMissingLanguage);
    if (settings.language == kMissingLanguage) {
        settings.firstStart = true;
        settings.language = "english";
        try {
            ini.writeLanguage(settings.language);
            ini.write(kColorSection, kColorKey, "$000000");
        } catch (const VekError& error) {
            settings.writeError = error.what();
        }
    }
    return settings;
}

fs::path defaultVekIniPath() {
#ifdef _WIN32
    // Where the profile functions keep a file named without a directory.
    wchar_t windowsDirectory[MAX_PATH] = {};
    if (GetWindowsDirectoryW(windowsDirectory, MAX_PATH) > 0)
        return fs::path(windowsDirectory) / "VEK.INI";
#endif
    return userConfigDirectory() / "VEK.INI";
}

}  // namespace vek
