#include "utilities/sys_info.h"

#include <charconv>

#include "app/file_io.h"
#include "app/wine_registry.h"

#ifdef _WIN32
#include "app/windows_api.h"
#else
#include <pwd.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>
#endif

namespace vek {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kKilo = 1024;
constexpr std::uint64_t kMega = 1024 * 1024;
constexpr std::string_view kFailure = "Failure";

std::string kb(std::uint64_t bytes) { return std::to_string(bytes / kKilo) + " KB"; }
std::string mb(std::uint64_t bytes) { return std::to_string(bytes / kMega) + " MB"; }

// The number after "Name:" on its line of a /proc text, in the unit the text gives (kB).
std::uint64_t procNumber(std::string_view text, std::string_view name) {
    for (std::string_view line : splitLines(text)) {
        if (!line.starts_with(name) || line.size() <= name.size() || line[name.size()] != ':')
            continue;
        line.remove_prefix(name.size() + 1);
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        std::uint64_t value = 0;
        std::from_chars(line.data(), line.data() + line.size(), value);
        return value;
    }
    return 0;
}

#ifdef _WIN32
std::optional<std::string> registeredText(const char* path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char value[256] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    const bool found = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                        &size) == ERROR_SUCCESS &&
                       type == REG_SZ;
    RegCloseKey(key);
    if (!found) return std::nullopt;
    return std::string(value);
}

class WindowsSystemFacts final : public SystemFacts {
  public:
    MachineFacts machine() const override {
        MachineFacts facts;
        OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        GetVersionExA(&version);
#pragma GCC diagnostic pop
        facts.operatingSystem = platformIdName(version.dwPlatformId);
        facts.majorVersion = static_cast<int>(version.dwMajorVersion);
        facts.minorVersion = static_cast<int>(version.dwMinorVersion);
        facts.build = version.dwBuildNumber & 0xFFFF;
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        facts.cpu = processorTypeName(system.dwProcessorType);
        const char* path = facts.operatingSystem == "Windows NT"
                               ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                               : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
        facts.owner = registeredText(path, "RegisteredOwner");
        facts.organisation = registeredText(path, "RegisteredOrganization");
        return facts;
    }

    MemoryFacts memory() const override {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        GlobalMemoryStatusEx(&status);
        return {status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile,
                status.ullAvailPageFile};
    }

    std::vector<DriveFacts> drives() const override {
        std::vector<DriveFacts> result;
        for (char letter = 'C'; letter <= 'Z'; ++letter) {
            const char root[] = {letter, ':', '\\', '\0'};
            ULARGE_INTEGER freeToCaller{}, total{}, free{};
            // No error box for an empty drive.
            const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
            const bool known = GetDiskFreeSpaceExA(root, &freeToCaller, &total, &free) != 0;
            SetErrorMode(oldMode);
            if (known) result.push_back({letter, total.QuadPart, free.QuadPart});
        }
        return result;
    }
};
#else
std::optional<DriveFacts> driveAt(char letter, const fs::path& folder) {
    struct statvfs info {};
    if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
    const std::uint64_t unit = info.f_frsize ? info.f_frsize : info.f_bsize;
    return DriveFacts{letter, static_cast<std::uint64_t>(info.f_blocks) * unit,
                      static_cast<std::uint64_t>(info.f_bavail) * unit};
}

std::string procText(const char* file) {
    try {
        return readFileText(file);
    } catch (const std::exception&) {
        return {};
    }
}

class LinuxSystemFacts final : public SystemFacts {
  public:
    LinuxSystemFacts(std::optional<fs::path> winePrefix, std::string mainPath)
        : m_winePrefix(std::move(winePrefix)), m_mainPath(std::move(mainPath)) {}

    MachineFacts machine() const override {
        MachineFacts facts;
        if (const passwd* account = ::getpwuid(::getuid())) {
            const std::string_view gecos = account->pw_gecos ? account->pw_gecos : "";
            const std::string_view fullName = gecos.substr(0, gecos.find(','));
            facts.owner = fullName.empty() ? std::string(account->pw_name) : std::string(fullName);
        }
        facts.organisation = prefixOrganisation();
        facts.cpu = cpuModelName(procText("/proc/cpuinfo"));
        facts.operatingSystem = "Linux";
        utsname name{};
        if (::uname(&name) == 0) parseKernelRelease(name.release, facts);
        return facts;
    }

    MemoryFacts memory() const override { return parseMemInfo(procText("/proc/meminfo")); }

    std::vector<DriveFacts> drives() const override {
        std::vector<DriveFacts> result;
        std::error_code error;
        if (m_winePrefix && fs::is_directory(*m_winePrefix / "dosdevices", error)) {
            for (char letter = 'c'; letter <= 'z'; ++letter) {
                const fs::path link = *m_winePrefix / "dosdevices" / std::string{letter, ':'};
                const fs::path target = fs::canonical(link, error);
                if (error) continue;
                const char upper = static_cast<char>(letter - 'a' + 'A');
                if (auto drive = driveAt(upper, target)) result.push_back(*drive);
            }
        } else if (!m_mainPath.empty()) {
            if (auto drive = driveAt('C', pathFromUtf8(m_mainPath))) result.push_back(*drive);
        }
        return result;
    }

  private:
    // An organisation the user gave the Wine prefix.
    std::optional<std::string> prefixOrganisation() const {
        if (!m_winePrefix) return std::nullopt;
        const WineRegistryText registry =
            parseWineRegistry(procText(pathToUtf8(*m_winePrefix / "system.reg").c_str()));
        const auto* section =
            findWineRegistrySection(registry, "Software\\Microsoft\\Windows NT\\CurrentVersion");
        if (!section) return std::nullopt;
        for (const WineRegistryValue& value : section->values) {
            if (value.name == "RegisteredOrganization" && value.text && !value.text->empty())
                return value.text;
        }
        return std::nullopt;
    }

    std::optional<fs::path> m_winePrefix;
    std::string m_mainPath;
};
#endif

}  // namespace

std::unique_ptr<SystemFacts> platformSystemFacts(const std::optional<fs::path>& winePrefix,
                                                 const std::string& mainPath) {
#ifdef _WIN32
    (void)winePrefix;
    (void)mainPath;
    return std::make_unique<WindowsSystemFacts>();
#else
    return std::make_unique<LinuxSystemFacts>(winePrefix, mainPath);
#endif
}

TSysInfo::TSysInfo(const SystemFacts& facts) {
    const MachineFacts machine = facts.machine();
    m_organisation = machine.organisation.value_or(std::string(kFailure));
    m_owner = machine.owner.value_or(std::string(kFailure));
    m_cpu = machine.cpu;
    m_operatingSystem = machine.operatingSystem;
    m_winVersion =
        std::to_string(machine.majorVersion) + "." + std::to_string(machine.minorVersion);
    m_build = std::to_string(machine.build & 0xFFFF);
    m_totalMemory = kb(facts.memory().totalPhysical);
    for (const DriveFacts& drive : facts.drives()) {
        if (drive.letter == 'C') m_driveC = mb(drive.totalBytes);
    }
}

std::vector<std::string> systemReport(const TSysInfo& info, const MemoryFacts& now,
                                      const std::vector<DriveFacts>& drives,
                                      const GamePaths& paths) {
    std::vector<std::string> lines = {
        "VEK Report",
        "Please add this list when reporting a bug:",
        "",
        "---USER---",
        "Owner: \t" + info.Owner(),
        "Org.: \t" + info.Organisation(),
        "",
        "---MACHINE---",
        "System: \t" + info.CPU(),
        "OS: \t" + info.OperatingSystem(),
        "OSV: \t" + info.WinVersion() + " / " + info.Build(),
        "",
        "---MEMORY---",
        "Mem: \t" + info.TotalMemory() + " / " + kb(now.availablePhysical) + " free",
        "Virt: \t" + kb(now.totalPageFile) + " / " + kb(now.availablePageFile) + " free",
        "",
        "---DRIVES---",
    };
    for (const DriveFacts& drive : drives) {
        lines.push_back(std::string("Drive ") + drive.letter + ": \t" + mb(drive.totalBytes) +
                        " / " + mb(drive.freeBytes) + " free");
    }
    lines.insert(lines.end(), {
                                  "",
                                  "---CREATURES PATHS---",
                                  "CMainPath: \t" + paths.CMainPath,
                                  "CMacroPath: \t" + paths.CMacroPath,
                                  "CBodyPath: \t" + paths.CBodyDataPath,
                                  "CGenetics: \t" + paths.CGeneticsPath,
                                  "CImagePath: \t" + paths.CImagePath,
                                  "CIntroPath: \t" + paths.CIntroPath,
                                  "CPalettePath: \t" + paths.CPalettePath,
                                  "CProgramsPath: \t" + paths.CProgramsPath,
                                  "CSoundPath: \t" + paths.CSoundPath,
                              });
    return lines;
}

std::string processorTypeName(std::uint32_t processorType) {
    switch (processorType) {
        case 386:
            return "Intel 386";
        case 486:
            return "Intel 486";
        case 586:
            return "Intel Pentium";
        default:
            return {};
    }
}

std::string platformIdName(std::uint32_t platformId) {
    switch (platformId) {
        case 0:
            return "Windows 3.1";
        case 1:
            return "Windows 95";
        case 2:
            return "Windows NT";
        default:
            return {};
    }
}

MemoryFacts parseMemInfo(std::string_view procMeminfo) {
    return {procNumber(procMeminfo, "MemTotal") * kKilo,
            procNumber(procMeminfo, "MemAvailable") * kKilo,
            procNumber(procMeminfo, "SwapTotal") * kKilo,
            procNumber(procMeminfo, "SwapFree") * kKilo};
}

std::string cpuModelName(std::string_view procCpuinfo) {
    for (std::string_view line : splitLines(procCpuinfo)) {
        if (!line.starts_with("model name")) continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view name = line.substr(colon + 1);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        return std::string(name);
    }
    return {};
}

void parseKernelRelease(std::string_view release, MachineFacts& into) {
    int* fields[] = {&into.majorVersion, &into.minorVersion};
    const char* next = release.data();
    const char* end = release.data() + release.size();
    for (int* field : fields) {
        next = std::from_chars(next, end, *field).ptr;
        if (next == end || *next != '.') return;
        ++next;
    }
    std::from_chars(next, end, into.build);
}

}  // namespace vek
