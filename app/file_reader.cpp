#include "app/file_reader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <ostream>
#include <system_error>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

namespace {

VekError cannotOpen(const fs::path& file, BilingualText reason) {
    return VekError::runtime(kFileNotFound, ErrorDetail::ofFile(file, std::move(reason)));
}

// The shell's `<(...)` names an unnamed pipe through /dev/fd; the kernel shows its link as
// "pipe:[inode]". A named pipe (mkfifo) has no such link: opening it waits for a writer.
bool isUnnamedPipe(const fs::path& file) {
    fs::path link = file;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(link, error)); ++hops) {
        const fs::path pointee = fs::read_symlink(link, error);
        if (error) return false;
        if (pointee.native().starts_with(fs::path("pipe:[").native())) return true;
        link = pointee.is_absolute() ? pointee : link.parent_path() / pointee;
    }
    return false;
}

}  // namespace

// Standard input and pipes can be read once only: a stream keeps what it gave for the next
// reader of the same name, and gives no more than its readers ask for.
class StreamedBytes {
  public:
    StreamedBytes(std::FILE* stream, bool owned) : m_stream(stream), m_owned(owned) {}
    StreamedBytes(const StreamedBytes&) = delete;
    StreamedBytes& operator=(const StreamedBytes&) = delete;
    ~StreamedBytes() {
        if (m_owned) std::fclose(m_stream);
    }

    // Reads on until `count` bytes are held or the stream has ended.
    void fill(std::uint64_t count, const fs::path& file) {
        const std::lock_guard lock(m_mutex);
        std::array<std::uint8_t, 64 * 1024> buffer{};
        while (!m_ended && m_bytes.size() < count) {
            const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), m_stream);
            m_bytes.insert(m_bytes.end(), buffer.data(), buffer.data() + got);
            if (got == buffer.size()) continue;
            if (std::ferror(m_stream)) throw cannotOpen(file, systemReason(errno));
            m_ended = true;
        }
    }
    std::uint64_t held() const { return m_bytes.size(); }
    const Bytes& bytes() const { return m_bytes; }

  private:
    std::mutex m_mutex;
    std::FILE* m_stream;
    bool m_owned;
    Bytes m_bytes;
    bool m_ended = false;
};

bool isStandardStream(const fs::path& file) { return file == fs::path("-"); }

namespace {

std::shared_ptr<StreamedBytes> streamedInput(const fs::path& file) {
    static std::mutex mutex;
    static std::map<fs::path, std::shared_ptr<StreamedBytes>> kept;
    const std::lock_guard lock(mutex);
    std::shared_ptr<StreamedBytes>& entry = kept[file];
    if (entry) return entry;
    if (isStandardStream(file)) {
        entry = std::make_shared<StreamedBytes>(stdin, false);
        return entry;
    }
    std::FILE* stream = std::fopen(file.string().c_str(), "rb");
    if (!stream) throw cannotOpen(file, systemReason(errno));
    entry = std::make_shared<StreamedBytes>(stream, true);
    return entry;
}

}  // namespace

FileReader::FileReader(const fs::path& file, std::uint64_t limit) : m_file(file), m_limit(limit) {
    if (isStandardStream(file)) {
        m_streamed = streamedInput(file);
        return;
    }
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (error) throw cannotOpen(file, systemReason(error));
    if (fs::is_directory(status)) throw cannotOpen(file, systemReason(EISDIR));
    if (!fs::is_regular_file(status)) {
        if (!isUnnamedPipe(file)) {
            throw cannotOpen(file, textOf(Msg::ReasonNotRegularFile));
        }
        m_streamed = streamedInput(file);
        return;
    }
    errno = 0;
    m_in.open(file, std::ios::binary);
    if (!m_in) throw cannotOpen(file, systemReason(errno != 0 ? errno : EACCES));
    m_in.seekg(0, std::ios::end);
    const std::streamoff end = m_in.tellg();
    m_size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    m_in.clear();
    m_in.seekg(0);
    if (m_size > m_limit) {
        const std::string size = std::to_string(m_size);
        const std::string most = std::to_string(m_limit);
        throw VekError(fill(Msg::FileTooLarge, {size, most}), ErrorDetail::ofFile(m_file));
    }
}

std::uint64_t FileReader::heldFrom(std::uint64_t offset, std::uint64_t count) {
    if (m_streamed) {
        // One byte past the limit tells a stream that is too large from one that just fits.
        const std::uint64_t wanted = count > UINT64_MAX - offset ? UINT64_MAX : offset + count;
        m_streamed->fill(std::min(wanted, m_limit == kNoLimit ? m_limit : m_limit + 1), m_file);
        if (m_streamed->held() > m_limit) {
            const std::string most = std::to_string(m_limit);
            throw VekError(fill(Msg::StreamTooLarge, {most}), ErrorDetail::ofFile(m_file));
        }
        m_size = m_streamed->held();
    }
    if (offset > m_size) return 0;
    return std::min(count, m_size - offset);
}

std::uint64_t FileReader::size() {
    if (m_streamed) heldFrom(0, UINT64_MAX);
    return m_size;
}

void FileReader::require(std::uint64_t offset, std::uint64_t count) {
    if (heldFrom(offset, count) < count || offset > m_size)
        throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::ofFile(m_file, offset));
}

void FileReader::read(std::uint64_t offset, std::span<std::uint8_t> into) {
    require(offset, into.size());
    if (m_streamed) {
        std::copy_n(m_streamed->bytes().begin() + static_cast<std::ptrdiff_t>(offset), into.size(),
                    into.begin());
        return;
    }
    m_in.clear();
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

std::vector<std::uint8_t> FileReader::bytesUpTo(std::uint64_t offset, std::size_t count) {
    return bytes(offset, static_cast<std::size_t>(heldFrom(offset, count)));
}

std::vector<std::uint8_t> FileReader::all() {
    if (m_streamed) {
        size();
        return m_streamed->bytes();
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(m_size));
    m_in.clear();
    m_in.seekg(0);
    std::array<char, 64 * 1024> buffer{};
    // A file that grew since it was opened is read only as far as its limit allows.
    while (m_in.read(buffer.data(), buffer.size()) || m_in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer.data(), buffer.data() + m_in.gcount());
        if (bytes.size() > m_limit) {
            const std::string most = std::to_string(m_limit);
            throw VekError(fill(Msg::StreamTooLarge, {most}), ErrorDetail::ofFile(m_file));
        }
    }
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
