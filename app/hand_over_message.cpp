#include "app/hand_over_message.h"

#include <stdexcept>

namespace vek {

namespace {

bool isAbsolute(std::string_view path) {
#ifdef _WIN32
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && separator(path[2]);
    // \\server\share\... as well.
    return drive || (path.size() >= 3 && separator(path[0]) && separator(path[1]));
#else
    return path.starts_with('/');
#endif
}

bool canTravel(std::string_view path) {
    return isAbsolute(path) && path.find('\0') == std::string_view::npos;
}

}  // namespace

std::string encodeHandOver(const std::vector<std::string>& files) {
    std::string message;
    for (const std::string& file : files) {
        if (!canTravel(file)) throw std::invalid_argument("not an absolute path: " + file);
        message += file;
        message += '\0';
    }
    return message + '\0';
}

HandOverReader::State HandOverReader::append(std::string_view bytes) {
    if (m_state != State::Incomplete) {
        // Nothing follows the end of a message.
        if (!bytes.empty()) m_state = State::Refused;
        return m_state;
    }
    m_received += bytes.size();
    if (m_received > kMaxHandOverMessage) return m_state = State::Refused;
    while (!bytes.empty() && m_state == State::Incomplete) {
        const std::size_t end = bytes.find('\0');
        m_path.append(bytes.substr(0, end));
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
        m_state = takePath();
    }
    if (m_state == State::Complete && !bytes.empty()) m_state = State::Refused;
    return m_state;
}

HandOverReader::State HandOverReader::takePath() {
    if (m_path.empty()) return State::Complete;
    // The running program cannot know the folder a relative path meant.
    if (!canTravel(m_path)) return State::Refused;
    m_files.push_back(std::move(m_path));
    m_path.clear();
    return State::Incomplete;
}

}  // namespace vek
