#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// The message by which a later start hands its files to the running program: each file's
// absolute path ended by a zero byte, and an empty path (a lone zero byte) ending the list.
// A path holds any byte but zero, so every name a file system can hold, line breaks included,
// travels whole.
inline constexpr std::size_t kMaxHandOverMessage = std::size_t{1} << 20;

// The message for `files` (absolute paths). A path that cannot travel (empty, relative or
// holding a zero byte) is not one a start can name, and throws std::invalid_argument.
std::string encodeHandOver(const std::vector<std::string>& files);

// Reads a message as its bytes arrive, never holding more than kMaxHandOverMessage.
class HandOverReader {
  public:
    enum class State {
        Incomplete,  // the end has not arrived yet
        Complete,    // files() holds the list
        Refused,     // not a message of ours (too long, a relative path, bytes after the end)
    };

    State append(std::string_view bytes);
    State state() const { return m_state; }
    const std::vector<std::string>& files() const { return m_files; }

  private:
    State takePath();

    State m_state = State::Incomplete;
    std::size_t m_received = 0;
    std::string m_path;  // of the path begun
    std::vector<std::string> m_files;
};

}  // namespace vek
