#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iosfwd>
#include <memory>
#include <span>
#include <vector>

namespace vek {

class StreamedBytes;

// A file opened for reading whose size is known, so that every read is checked against the bytes
// really there before it is made, as ByteReader checks reads in memory. Each read is one read of
// the file. Errors name the file and the byte offset: "Datei nicht gefunden" when it cannot be
// opened, "Lesen nach Dateiende (EOF)" for a read past its end.
// The name "-" reads standard input, and a pipe handed over as a file (the shell's `<(...)`) is
// read as far as the reads ask, never further than the reader's limit; what it gave is kept, so
// that a second reader of the same name sees the same bytes. A named pipe, a device or a socket
// is refused, since reading one could wait for ever.
//
// `limit` is the most bytes a file of the kind being read can hold: a larger file is refused,
// naming it, before anything is read, and a stream that gives more is refused as soon as it has.
class FileReader {
  public:
    static constexpr std::uint64_t kNoLimit = UINT64_MAX;

    explicit FileReader(const std::filesystem::path& file, std::uint64_t limit = kNoLimit);

    const std::filesystem::path& file() const { return m_file; }
    // A stream is read to its end (or its limit) to tell its size.
    std::uint64_t size();
    // The bytes from `offset` on, `count` of them or fewer where the file ends first.
    std::vector<std::uint8_t> bytesUpTo(std::uint64_t offset, std::size_t count);

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
    void require(std::uint64_t offset, std::uint64_t count);
    // How many bytes lie from `offset` on, up to `count`.
    std::uint64_t heldFrom(std::uint64_t offset, std::uint64_t count);

    std::filesystem::path m_file;
    std::uint64_t m_limit;
    std::ifstream m_in;
    std::shared_ptr<StreamedBytes> m_streamed;  // standard input or a pipe
    std::uint64_t m_size = 0;                   // of a file; a stream's grows as it is read
};

// The name that stands for standard input or output.
bool isStandardStream(const std::filesystem::path& file);

}  // namespace vek
