#include "app/file_reader.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <system_error>

#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

FileReader::FileReader(const fs::path& file) : m_file(file), m_in(file, std::ios::binary) {
    std::error_code error;
    if (!m_in || fs::is_directory(file, error))
        throw VekError::runtime(kFileNotFound, ErrorDetail::ofFile(file));
    m_in.seekg(0, std::ios::end);
    const std::streamoff end = m_in.tellg();
    m_size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    m_in.clear();
    m_in.seekg(0);
}

void FileReader::require(std::uint64_t offset, std::uint64_t count) const {
    if (offset > m_size || count > m_size - offset)
        throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::ofFile(m_file, offset));
}

void FileReader::read(std::uint64_t offset, std::span<std::uint8_t> into) {
    require(offset, into.size());
    m_in.seekg(static_cast<std::streamoff>(offset));
    m_in.read(reinterpret_cast<char*>(into.data()), static_cast<std::streamsize>(into.size()));
    if (!m_in) throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::ofFile(m_file, offset));
}

std::vector<std::uint8_t> FileReader::bytes(std::uint64_t offset, std::size_t count) {
    require(offset, count);
    std::vector<std::uint8_t> bytes(count);
    read(offset, bytes);
    return bytes;
}

std::vector<std::uint8_t> FileReader::all() {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(m_size));
    m_in.clear();
    m_in.seekg(0);
    std::array<char, 64 * 1024> buffer{};
    while (m_in.read(buffer.data(), buffer.size()) || m_in.gcount() > 0)
        bytes.insert(bytes.end(), buffer.data(), buffer.data() + m_in.gcount());
    if (m_in.bad())
        throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::ofFile(m_file, bytes.size()));
    return bytes;
}

void FileReader::copyTo(std::uint64_t offset, std::uint64_t count, std::ostream& out) {
    require(offset, count);
    std::array<std::uint8_t, 64 * 1024> buffer{};
    while (count > 0) {
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer.size()));
        read(offset, std::span(buffer).first(piece));
        out.write(reinterpret_cast<const char*>(buffer.data()),
                  static_cast<std::streamsize>(piece));
        offset += piece;
        count -= piece;
    }
}

}  // namespace vek
