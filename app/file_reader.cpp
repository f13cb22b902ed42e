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

namespace {

using Bytes = std::vector<std::uint8_t>;

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

Bytes readStream(std::FILE* stream, const fs::path& file) {
    Bytes bytes;
    std::array<std::uint8_t, 64 * 1024> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), stream)) > 0)
        bytes.insert(bytes.end(), buffer.data(), buffer.data() + got);
    if (std::ferror(stream)) throw cannotOpen(file, systemReason(errno));
    return bytes;
}

// Standard input and pipes can be read once only; what they gave is kept for the next reader.
std::shared_ptr<const Bytes> streamedInput(const fs::path& file) {
    static std::mutex mutex;
    static std::map<fs::path, std::shared_ptr<const Bytes>> kept;
    const std::lock_guard lock(mutex);
    std::shared_ptr<const Bytes>& entry = kept[file];
    if (entry) return entry;
    if (isStandardStream(file)) {
        entry = std::make_shared<const Bytes>(readStream(stdin, file));
        return entry;
    }
    std::FILE* stream = std::fopen(file.string().c_str(), "rb");
    if (!stream) throw cannotOpen(file, systemReason(errno));
    try {
        entry = std::make_shared<const Bytes>(readStream(stream, file));
    } catch (...) {
        std::fclose(stream);
        throw;
    }
    std::fclose(stream);
    return entry;
}

}  // namespace

bool isStandardStream(const fs::path& file) { return file == fs::path("-"); }

FileReader::FileReader(const fs::path& file) : m_file(file) {
    if (isStandardStream(file)) {
        m_streamed = streamedInput(file);
        m_size = m_streamed->size();
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
        m_size = m_streamed->size();
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
}

void FileReader::refuseLargerThan(std::uint64_t limit) const {
    if (m_size <= limit) return;
    const std::string size = std::to_string(m_size);
    const std::string most = std::to_string(limit);
    throw VekError(fill(Msg::FileTooLarge, {size, most}), ErrorDetail::ofFile(m_file));
}

void FileReader::require(std::uint64_t offset, std::uint64_t count) const {
    if (offset > m_size || count > m_size - offset)
        throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::ofFile(m_file, offset));
}

void FileReader::read(std::uint64_t offset, std::span<std::uint8_t> into) {
    require(offset, into.size());
    if (m_streamed) {
        std::copy_n(m_streamed->begin() + static_cast<std::ptrdiff_t>(offset), into.size(),
                    into.begin());
        return;
    }
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
    if (m_streamed) return *m_streamed;
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
