#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// Little-endian reader over bytes in memory. Every read is checked against the bytes that are
// really there; reading past the end throws the run-time library's end-of-file error.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::span<const std::uint8_t> bytes(std::size_t count);
    std::string text(std::size_t count);
    void skip(std::size_t count) { bytes(count); }

    void seek(std::size_t position);
    std::size_t position() const { return m_position; }
    std::size_t size() const { return m_bytes.size(); }
    std::size_t remaining() const { return m_bytes.size() - m_position; }
    bool atEnd() const { return m_position == m_bytes.size(); }

  private:
    void require(std::size_t count) const;

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

// Little-endian writer appending to a growing byte vector.
class ByteWriter {
  public:
    void u8(std::uint8_t value) { m_bytes.push_back(value); }
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void bytes(std::span<const std::uint8_t> data);
    void text(std::string_view data);
    void fill(std::size_t count, std::uint8_t value);

    std::size_t size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& data() const { return m_bytes; }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

  private:
    std::vector<std::uint8_t> m_bytes;
};

// Little-endian access to a fixed place of a buffer, for patching fields in place.
void storeU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value);
void storeU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value);

// The same for the frames of a byte stream held as a string: `count` bytes (at most 8) appended
// or read at `at`, which the caller has checked to be there.
void appendLittleEndian(std::string& out, std::uint64_t value, std::size_t count);
std::uint64_t littleEndianAt(std::string_view bytes, std::size_t at, std::size_t count);

}  // namespace vek
