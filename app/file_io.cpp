#include "app/file_io.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <ostream>
#include <random>
#include <set>
#include <streambuf>
#include <system_error>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/file_reader.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

VekError cannotCreateError(const fs::path& path, BilingualText reason) {
    return VekError(Msg::FileCannotBeCreated, ErrorDetail::ofFile(path, std::move(reason)));
}

// Refuses a target the user may not change: a write through the folder would replace it anyway,
// against the file's own protection.
void refuseReadOnly(const fs::path& target, const fs::path& named) {
#ifdef _WIN32
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    const bool readOnly = !error && fs::exists(status) &&
                          (status.permissions() & fs::perms::owner_write) == fs::perms::none;
#else
    struct stat facts {};
    if (::stat(target.c_str(), &facts) != 0) return;
    // The superuser may write anything; for it a file without any write permission counts.
    const bool readOnly = ::geteuid() == 0 ? (facts.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0
                                           : ::access(target.c_str(), W_OK) != 0;
#endif
    if (readOnly) throw VekError(Msg::FileReadOnly, ErrorDetail::ofFile(named));
}

// The file a write replaces: a symbolic link is followed to the file it points to, as editors
// do, so that the link stays; a folder or device is refused rather than replaced.
fs::path writeTarget(const fs::path& path) {
    fs::path target = path;
    std::error_code error;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(target, error)); ++hops) {
        const fs::path pointee = fs::read_symlink(target, error);
        if (error || hops == 40)
            throw cannotCreateError(path, systemReason(error ? error.value() : ELOOP));
        target = pointee.is_absolute() ? pointee : target.parent_path() / pointee;
    }
    const fs::file_status status = fs::status(target, error);
    if (fs::exists(status) && !fs::is_regular_file(status))
        throw VekError(Msg::TargetNotRegularFile, ErrorDetail::ofFile(path));
    if (fs::exists(status)) refuseReadOnly(target, path);
    return target;
}

// A short hidden name for a temporary beside its target: the same length whatever the target is
// called, so that a target of the longest name the file system allows can still be written.
constexpr std::string_view kTemporaryPrefix = ".vek";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 8;

fs::path temporaryName(const fs::path& folder, std::random_device& entropy) {
    char name[32];
    std::snprintf(name, sizeof name, ".vek%08x.tmp", static_cast<unsigned>(entropy()));
    return folder.empty() ? fs::path(name) : folder / name;
}

// Whether a name is one that temporaryName makes: ".vek", eight lower-case hex digits, ".tmp".
bool isOurTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    const std::string_view digits = name.substr(kTemporaryPrefix.size(), kTemporaryDigits);
    return std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || (c >= 'a' && c <= 'f');
    });
}

// Whether a temporary file was left by a write that never ended (a killed or crashed one): ours by
// name and owner, a regular file, and untouched for a day, far longer than any write takes.
bool isStaleTemporary(const fs::directory_entry& entry) {
    if (!isOurTemporaryName(pathToUtf8(entry.path().filename()))) return false;
    std::error_code error;
    if (!entry.is_regular_file(error) || entry.is_symlink(error)) return false;
#ifndef _WIN32
    struct stat facts {};
    if (::lstat(entry.path().c_str(), &facts) != 0 || facts.st_uid != ::geteuid()) return false;
#endif
    const auto modified = entry.last_write_time(error);
    return !error && fs::file_time_type::clock::now() - modified > kStaleTemporaryAge;
}

// The first write into a folder in a run removes what earlier runs left behind there (a write of
// this run never leaves a temporary behind); whatever cannot be removed or read stays, and never
// stops the write. Later writes into the folder skip the scan: a save into a large folder pays
// for it once.
void removeStaleTemporaries(const fs::path& folder) {
    static std::mutex sweptGuard;
    static std::set<fs::path> swept;
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    {
        std::error_code ignored;
        const std::lock_guard lock(sweptGuard);
        if (!swept.insert(fs::absolute(where, ignored).lexically_normal()).second) return;
    }
    std::error_code error;
    fs::directory_iterator entries(where, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code ignored;
        if (isStaleTemporary(*entries)) fs::remove(entries->path(), ignored);
    }
}

// The one place that asks the system to put a file's or a folder's contents on the disk, so that
// a power loss after a rename never finds the new name over an empty file.
bool syncToDisk(int descriptor) {
#ifdef _WIN32
    return ::_commit(descriptor) == 0;
#else
    return ::fsync(descriptor) == 0;
#endif
}

// A folder's entries on the disk: the rename of a finished write survives a power loss. Windows
// cannot open a folder so; there the rename is written through by the file system.
void syncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    const fs::path name = folder.empty() ? fs::path(".") : folder;
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    syncToDisk(descriptor);
    ::close(descriptor);
#endif
}

std::function<void(const BilingualText&, const fs::path&)>& writeNoticeSink() {
    static std::function<void(const BilingualText&, const fs::path&)> sink;
    return sink;
}

// A temporary file beside the target, created exclusively under a name nobody can predict, so
// that nothing planted in the folder beforehand (a link, a file) is ever written through.
class ExclusiveTemporary {
  public:
    explicit ExclusiveTemporary(const fs::path& target) {
        std::random_device entropy;
        for (int attempt = 0; attempt < 100; ++attempt) {
            fs::path candidate = temporaryName(target.parent_path(), entropy);
            m_descriptor = openExclusive(candidate);
            if (m_descriptor >= 0) {
                m_path = std::move(candidate);
                return;
            }
            if (errno != EEXIST) break;
        }
        throw cannotCreateError(target, systemReason(errno));
    }
    ExclusiveTemporary(const ExclusiveTemporary&) = delete;
    ExclusiveTemporary& operator=(const ExclusiveTemporary&) = delete;
    ~ExclusiveTemporary() { close(); }

    int descriptor() const { return m_descriptor; }
    const fs::path& path() const { return m_path; }
    bool close() {
        if (m_descriptor < 0) return true;
        const bool closed = ::close(m_descriptor) == 0;
        m_descriptor = -1;
        return closed;
    }
    void remove() {
        close();
        std::error_code ignored;
        fs::remove(m_path, ignored);
    }

  private:
    static int openExclusive(const fs::path& path) {
#ifdef _WIN32
        return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                        _S_IREAD | _S_IWRITE);
#else
        return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
#endif
    }

    int m_descriptor = -1;
    fs::path m_path;
};

// What a replaced file keeps: its permissions, and its owner and group where the user may give
// them. Returns how many names the old file has, so that a broken hard link can be told.
std::uintmax_t keepAttributes(const fs::path& target, [[maybe_unused]] int descriptor) {
#ifdef _WIN32
    std::error_code error;
    const std::uintmax_t count = fs::hard_link_count(target, error);
    return error ? 1 : count;
#else
    struct stat facts {};
    if (::stat(target.c_str(), &facts) != 0) return 1;
    // Owner first: changing it may clear set-id bits that the mode then puts back.
    if (::fchown(descriptor, facts.st_uid, facts.st_gid) != 0) {
        const int groupOnly = ::fchown(descriptor, static_cast<uid_t>(-1), facts.st_gid);
        static_cast<void>(groupOnly);  // a group the user is not in stays the user's own
    }
    if (::fchmod(descriptor, facts.st_mode & 07777) != 0)
        throw VekError(Msg::FilePermissionsNotKept, ErrorDetail::ofFile(target));
    return facts.st_nlink;
#endif
}

// An output stream buffer over an open file descriptor, in blocks.
class FileDescriptorBuffer : public std::streambuf {
  public:
    explicit FileDescriptorBuffer(int descriptor) : m_descriptor(descriptor) {
        setp(m_block.data(), m_block.data() + m_block.size());
    }

  protected:
    int_type overflow(int_type character) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(character, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(character);
            pbump(1);
        }
        return traits_type::not_eof(character);
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain() {
        const char* next = pbase();
        while (next < pptr()) {
            const auto written = ::write(m_descriptor, next, static_cast<unsigned>(pptr() - next));
            if (written <= 0) return false;
            next += written;
        }
        setp(m_block.data(), m_block.data() + m_block.size());
        return true;
    }

    int m_descriptor;
    std::array<char, 1 << 16> m_block{};
};

// "-" as an output: the contents go to standard output, and a failed write says why.
void writeStandardOutput(const std::function<void(std::ostream&)>& writeContents) {
    // Whatever was printed before goes first, so that the bytes arrive in order.
    std::cout.flush();
    std::fflush(stdout);
    FileDescriptorBuffer buffer(1);
    std::ostream out(&buffer);
    errno = 0;
    writeContents(out);
    out.flush();
    if (!out) {
        throw VekError(Msg::StandardOutputNotWritten,
                       {{}, {}, {}, systemReason(errno != 0 ? errno : EIO)});
    }
}

}  // namespace

std::vector<std::uint8_t> readFileBytes(const fs::path& path, std::uint64_t limit) {
    return FileReader(path, limit).all();
}

std::string readFileText(const fs::path& path, std::uint64_t limit) {
    const auto bytes = readFileBytes(path, limit);
    return {bytes.begin(), bytes.end()};
}

namespace {

// The lines of a text as `Line`s made from views, without their line ends (LF or CR LF).
template <typename Line>
std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        lines.emplace_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::vector<std::string> readFileLines(const fs::path& path, std::uint64_t limit) {
    return linesOf<std::string>(readFileText(path, limit));
}

std::vector<std::string_view> splitLines(std::string_view text) {
    return linesOf<std::string_view>(text);
}

void writeFileAtomically(const fs::path& path,
                         const std::function<void(std::ostream&)>& writeContents) {
    if (isStandardStream(path)) {
        writeStandardOutput(writeContents);
        return;
    }
    const fs::path target = writeTarget(path);
    removeStaleTemporaries(target.parent_path());
    ExclusiveTemporary temporary(target);
    std::uintmax_t links = 1;
    try {
        links = keepAttributes(target, temporary.descriptor());
        FileDescriptorBuffer buffer(temporary.descriptor());
        std::ostream out(&buffer);
        writeContents(out);
        out.flush();
        if (!out || !syncToDisk(temporary.descriptor()) || !temporary.close())
            throw VekError(Msg::FileNotWrittenWhole, ErrorDetail::ofFile(path));
    } catch (...) {
        temporary.remove();
        throw;
    }
    std::error_code error;
    fs::rename(temporary.path(), target, error);
    if (error) {
        temporary.remove();
        throw cannotCreateError(path, systemReason(error));
    }
    syncFolder(target.parent_path());
    if (links > 1 && writeNoticeSink()) {
        writeNoticeSink()(textOf(Msg::HardLinksKeepOldContents), path);
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

void setWriteNoticeSink(std::function<void(const BilingualText&, const fs::path&)> sink) {
    writeNoticeSink() = std::move(sink);
}

void refuseOutputOverInput(const fs::path& input, const fs::path& output) {
    std::error_code error;
    if (fs::equivalent(input, output, error))
        throw VekError(Msg::OutputIsInput, ErrorDetail::ofFile(output));
}

fs::path makeTemporaryFolder(const fs::path& parent) {
    std::random_device entropy;
    std::error_code error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = temporaryName(parent, entropy);
        if (fs::create_directory(candidate, error)) return candidate;
        if (error) break;  // a name that exists gives no error, only false
    }
    throw cannotCreateError(parent, systemReason(error ? error.value() : EEXIST));
}

VekError cannotWriteError(const fs::path& file) {
    return VekError::runtime(fill(Msg::RuntimeCannotWriteTo, {pathToUtf8(file)}));
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
