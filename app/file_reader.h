#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iosfwd>
#include <memory>
#include <span>
#include <vector>

namespace vek {

// A file opened for reading whose size is known, so that every read is checked against the bytes
// really there before it is made, as ByteReader checks reads in memory. Each read is one read of
// the file. Errors name the file and the byte offset: "Datei nicht gefunden" when it cannot be
// opened, "Lesen nach Dateiende (EOF)" for a read past its end.
// The name "-" reads standard input, and a pipe handed over as a file (the shell's `<(...)`) is
// read to its end; both are read whole once and kept, so that a second reader of the same name
// sees the same bytes. A named pipe, a device or a socket is refused, since reading one could
// wait for ever.
class FileReader {
  public:
    explicit FileReader(const std::filesystem::path& file);

    // Throws, naming the file, when it holds more than `limit` bytes: no file of the kind
    // being read can be that large, so reading it whole would only exhaust memory.
    void refuseLargerThan(std::uint64_t limit) const;

    const std::filesystem::path& file() const { return m_file; }
    std::uint64_t size() const { return m_size; }

    // Fills `into` from `offset` on.
    void read(std::uint64_t offset, std::span<std::uint8_t> into);
    std::vector<std::uint8_t> bytes(std::uint64_t offset, std::size_t count);
    // Every byte up to the end of the file, however many its size promised: files of /proc
    // and pipes report no size or 0.
    std::vector<std::uint8_t> all();
    // Copies `count` bytes from `offset` to `out` in pieces, so that a large block never sits in
    // memory whole.
    void copyTo(std::uint64_t offset, std::uint64_t count, std::ostream& out);

  private:
    void require(std::uint64_t offset, std::uint64_t count) const;

    std::filesystem::path m_file;
    std::ifstream m_in;
    std::shared_ptr<const std::vector<std::uint8_t>> m_streamed;  // standard input or a pipe
    std::uint64_t m_size = 0;
};

// The name that stands for standard input or output.
bool isStandardStream(const std::filesystem::path& file);

}  // namespace vek
