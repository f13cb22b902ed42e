#include "app/file_io.h"

#include <fstream>
#include <system_error>

#include "app/file_reader.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

VekError cannotCreateError(const fs::path& path) {
    return VekError("The file cannot be created", "Datei kann nicht erstellt werden",
                    ErrorDetail::ofFile(path));
}

}  // namespace

std::vector<std::uint8_t> readFileBytes(const fs::path& path) {
    FileReader in(path);
    return in.bytes(0, static_cast<std::size_t>(in.size()));
}

std::string readFileText(const fs::path& path) {
    const auto bytes = readFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::string> readFileLines(const fs::path& path) {
    const std::string text = readFileText(path);
    const std::vector<std::string_view> views = splitLines(text);
    return {views.begin(), views.end()};
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

void writeFileAtomically(const fs::path& path,
                         const std::function<void(std::ostream&)>& writeContents) {
    fs::path temporary = path;
    temporary += ".vektmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw cannotCreateError(path);
        try {
            writeContents(out);
        } catch (...) {
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw;
        }
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw VekError("The file could not be written whole", "Fehler beim Schreiben der Datei",
                           ErrorDetail::ofFile(path));
        }
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        throw cannotCreateError(path);
    }
}

void writeFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    writeFileAtomically(path, [bytes](std::ostream& out) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    });
}

void writeFileAtomically(const fs::path& path, std::string_view text) {
    writeFileAtomically(path,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void copyFileAtomically(const fs::path& source, const fs::path& target) {
    const std::vector<std::uint8_t> bytes = readFileBytes(source);
    std::error_code error;
    if (fs::equivalent(source, target, error)) return;
    writeFileAtomically(target, bytes);
}

VekError cannotWriteError(const fs::path& file) {
    return VekError::runtime("Kann nicht nach " + pathToUtf8(file) + " schreiben");
}

std::string joinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

fs::path pathFromUtf8(std::string_view text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string pathToUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

}  // namespace vek
