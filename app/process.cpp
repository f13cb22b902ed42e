#include "app/process.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace vek {

std::string commandLineOf(const ProcessLaunch& launch) {
    std::string line = launch.exeName;
    for (const std::string& param : launch.params) line += " " + param;
    return line;
}

std::vector<std::string> mergeEnvironment(const std::vector<std::string>& own,
                                          const std::vector<std::string>& base) {
    std::vector<std::string> environment = own;
    for (const std::string& entry : base) {
        const std::string_view name = std::string_view(entry).substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& mine : own) replaced |= mine.starts_with(name);
        if (!replaced) environment.push_back(entry);
    }
    return environment;
}

std::vector<std::string> wineEnvironment(const std::filesystem::path& prefix) {
    std::vector<std::string> environment = {"WINEPREFIX=" + prefix.string()};
    if (!std::getenv("WINEDEBUG")) environment.emplace_back("WINEDEBUG=-all");
    return environment;
}

WindowsMachine windowsMachineOf(const std::filesystem::path& program) {
    std::ifstream in(program, std::ios::binary);
    unsigned char header[64] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    if (in.gcount() < 2 || header[0] != 'M' || header[1] != 'Z') return WindowsMachine::None;
    // A program too short for its header is the game's own kind: 32 bits.
    if (in.gcount() < static_cast<std::streamsize>(sizeof header)) return WindowsMachine::X86;
    in.clear();
    const std::uint32_t peOffset = header[60] | (header[61] << 8) | (header[62] << 16) |
                                   (static_cast<std::uint32_t>(header[63]) << 24);
    unsigned char pe[6] = {};
    in.seekg(peOffset);
    if (!in.read(reinterpret_cast<char*>(pe), sizeof pe) || pe[0] != 'P' || pe[1] != 'E')
        return WindowsMachine::X86;
    return (pe[4] | (pe[5] << 8)) == 0x8664 ? WindowsMachine::X64 : WindowsMachine::X86;
}

Process::Process() = default;
Process::Process(Process&&) noexcept = default;
Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        m_state = std::move(other.m_state);
    }
    return *this;
}
Process::~Process() { kill(); }

bool Process::started() const { return m_state != nullptr; }

}  // namespace vek
