#include "app/byte_io.h"

#include "app/vek_error.h"

namespace vek {

void ByteReader::require(std::size_t count) const {
    if (count > remaining())
        throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::atByte(m_position));
}

std::uint8_t ByteReader::u8() {
    require(1);
    return m_bytes[m_position++];
}

std::uint16_t ByteReader::u16() {
    require(2);
    const auto value =
        static_cast<std::uint16_t>(m_bytes[m_position] | m_bytes[m_position + 1] << 8);
    m_position += 2;
    return value;
}

std::uint32_t ByteReader::u32() {
    require(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | m_bytes[m_position + static_cast<std::size_t>(i)];
    m_position += 4;
    return value;
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t count) {
    require(count);
    auto view = m_bytes.subspan(m_position, count);
    m_position += count;
    return view;
}

std::string ByteReader::text(std::size_t count) {
    auto view = bytes(count);
    return std::string(view.begin(), view.end());
}

void ByteReader::seek(std::size_t position) {
    if (position > m_bytes.size())
        throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::atByte(position));
    m_position = position;
}

void ByteWriter::u16(std::uint16_t value) {
    m_bytes.push_back(static_cast<std::uint8_t>(value));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::bytes(std::span<const std::uint8_t> data) {
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
}

void ByteWriter::text(std::string_view data) {
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
}

void ByteWriter::fill(std::size_t count, std::uint8_t value) {
    m_bytes.insert(m_bytes.end(), count, value);
}

void storeU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void storeU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void appendLittleEndian(std::string& out, std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t littleEndianAt(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

}  // namespace vek
