#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/game_paths.h"

namespace vek {

// Memory in bytes at one moment.
struct MemoryFacts {
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availablePageFile = 0;
};

// A drive whose size could be obtained.
struct DriveFacts {
    char letter = 'C';
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;
};

// What the machine says about itself once.
struct MachineFacts {
    std::optional<std::string> owner;
    std::optional<std::string> organisation;
    std::string cpu;
    std::string operatingSystem;
    int majorVersion = 0;
    int minorVersion = 0;
    std::uint32_t build = 0;
};

// The platform's system facts.
class SystemFacts {
  public:
    virtual ~SystemFacts() = default;
    virtual MachineFacts machine() const = 0;
    virtual MemoryFacts memory() const = 0;
    // Drives C to Z in order, those whose size can be obtained.
    virtual std::vector<DriveFacts> drives() const = 0;
};

// Windows: the system's calls. Elsewhere: the user's account, /proc, the Wine prefix's drives
// (dosdevices/c: ... z:), or, without a prefix, drive C as the file system of the main directory.
std::unique_ptr<SystemFacts> platformSystemFacts(
    const std::optional<std::filesystem::path>& winePrefix, const std::string& mainPath);

// The machine facts as texts, fixed when it is made.
class TSysInfo {
  public:
    explicit TSysInfo(const SystemFacts& facts);

    const std::string& Organisation() const { return m_organisation; }
    const std::string& Owner() const { return m_owner; }
    const std::string& CPU() const { return m_cpu; }
    const std::string& OperatingSystem() const { return m_operatingSystem; }
    const std::string& WinVersion() const { return m_winVersion; }
    const std::string& Build() const { return m_build; }
    const std::string& TotalMemory() const { return m_totalMemory; }
    const std::string& DriveC() const { return m_driveC; }

  private:
    std::string m_organisation;
    std::string m_owner;
    std::string m_cpu;
    std::string m_operatingSystem;
    std::string m_winVersion;
    std::string m_build;
    std::string m_totalMemory;
    std::string m_driveC;
};

// The bug report: user, machine, memory now, drives and the game's nine paths.
std::vector<std::string> systemReport(const TSysInfo& info, const MemoryFacts& now,
                                      const std::vector<DriveFacts>& drives,
                                      const GamePaths& paths);

// Windows' processor type (386, 486, 586) and platform id (0, 1, 2) as the report names them.
std::string processorTypeName(std::uint32_t processorType);
std::string platformIdName(std::uint32_t platformId);

// Readers of the Linux system's texts.
MemoryFacts parseMemInfo(std::string_view procMeminfo);
std::string cpuModelName(std::string_view procCpuinfo);
// "6.1.0-18-amd64": major 6, minor 1, build 0.
void parseKernelRelease(std::string_view release, MachineFacts& into);

}  // namespace vek
