#include <gtest/gtest.h>

#include "app/file_io.h"
#include "support/temp_dir.h"
#include "utilities/sound_directory.h"
#include "utilities/sys_info.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kMB = 1024 * 1024;

struct FakeFacts final : SystemFacts {
    MachineFacts facts;
    std::vector<DriveFacts> driveList;
    MachineFacts machine() const override { return facts; }
    MemoryFacts memory() const override { return {64 * kMB + 1023, 0, 0, 0}; }
    std::vector<DriveFacts> drives() const override { return driveList; }
};

TEST(SysInfo, TheReportListsUserMachineMemoryDrivesAndPaths) {
    FakeFacts facts;
    facts.facts = {"Ann", std::nullopt, "Intel Pentium", "Windows 95", 4, 0, 0x4000003B};
    facts.driveList = {{'C', 5 * 1024 * kMB + kMB - 1, 300 * kMB}, {'D', 650 * kMB, 0}};
    const TSysInfo info(facts);
    EXPECT_EQ(info.TotalMemory(), "65536 KB");
    EXPECT_EQ(info.DriveC(), "5120 MB");  // beyond what 32 bits hold

    GamePaths paths;
    paths.CSoundPath = "C:\\Creatures\\Sounds\\";
    const auto lines = systemReport(info, {0, 2048 + 1023, 4096, 1024}, facts.driveList, paths);
    const std::vector<std::string> expected = {"VEK Report",
                                               "Please add this list when reporting a bug:",
                                               "",
                                               "---USER---",
                                               "Owner: \tAnn",
                                               "Org.: \tFailure",
                                               "",
                                               "---MACHINE---",
                                               "System: \tIntel Pentium",
                                               "OS: \tWindows 95",
                                               "OSV: \t4.0 / 59",
                                               "",
                                               "---MEMORY---",
                                               "Mem: \t65536 KB / 2 KB free",
                                               "Virt: \t4 KB / 1 KB free",
                                               "",
                                               "---DRIVES---",
                                               "Drive C: \t5120 MB / 300 MB free",
                                               "Drive D: \t650 MB / 0 MB free",
                                               "",
                                               "---CREATURES PATHS---",
                                               "CMainPath: \t",
                                               "CMacroPath: \t",
                                               "CBodyPath: \t",
                                               "CGenetics: \t",
                                               "CImagePath: \t",
                                               "CIntroPath: \t",
                                               "CPalettePath: \t",
                                               "CProgramsPath: \t",
                                               "CSoundPath: \tC:\\Creatures\\Sounds\\"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(TSysInfo(FakeFacts{}).Owner(), "Failure");
    EXPECT_EQ(TSysInfo(FakeFacts{}).DriveC(), "");
}

TEST(SysInfo, NamesTheSystemsFacts) {
    EXPECT_EQ(processorTypeName(486), "Intel 486");
    EXPECT_EQ(processorTypeName(8664), "");
    EXPECT_EQ(platformIdName(2), "Windows NT");
    EXPECT_EQ(platformIdName(3), "");
    const MemoryFacts memory = parseMemInfo(
        "MemTotal:        8000 kB\nMemFree:  1 kB\nMemAvailable:    3000 kB\n"
        "SwapTotal:       2000 kB\nSwapFree:        500 kB\n");
    EXPECT_EQ(memory.totalPhysical, 8000u * 1024);
    EXPECT_EQ(memory.availablePhysical, 3000u * 1024);
    EXPECT_EQ(memory.availablePageFile, 500u * 1024);
    EXPECT_EQ(cpuModelName("processor\t: 0\nmodel name\t: Example CPU @ 2.0GHz\n"),
              "Example CPU @ 2.0GHz");
    MachineFacts kernel;
    parseKernelRelease("6.1.0-18-amd64", kernel);
    EXPECT_EQ(kernel.majorVersion, 6);
    EXPECT_EQ(kernel.minorVersion, 1);
    EXPECT_EQ(kernel.build, 0u);
}

#ifdef __linux__
// /proc reports its files as empty: they are read to their end all the same.
TEST(SysInfo, ThisMachinesMemoryAndProcessorAreFound) {
    const auto facts = platformSystemFacts(std::nullopt, {});
    const MemoryFacts memory = facts->memory();
    EXPECT_GT(memory.totalPhysical, 0u);
    EXPECT_GT(memory.availablePhysical, 0u);
    const TSysInfo info(*facts);
    EXPECT_NE(info.TotalMemory(), "0 KB");
    EXPECT_FALSE(info.CPU().empty());
}
#endif

TEST(SysInfo, WithoutAPrefixDriveCIsTheMainDirectorysFileSystem) {
    testing::TempDir dir;
    const auto facts = platformSystemFacts(dir / "no-prefix", pathToUtf8(dir.path()) + "/");
    const auto drives = facts->drives();
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0].letter, 'C');
    EXPECT_GT(drives[0].totalBytes, 0u);

    fs::create_directories(dir / "prefix" / "dosdevices");
    fs::create_directory_symlink(dir.path(), dir / "prefix" / "dosdevices" / "d:");
    fs::create_directory_symlink(dir.path(), dir / "prefix" / "dosdevices" / "c:");
    fs::create_directory_symlink(dir / "gone", dir / "prefix" / "dosdevices" / "e:");
    std::string letters;
    for (const DriveFacts& drive : platformSystemFacts(dir / "prefix", {})->drives())
        letters += drive.letter;
    EXPECT_EQ(letters, "CD");
}

TEST(SoundDirectory, ListsTheFilesSortedAndNamesTheirSounds) {
    testing::TempDir dir;
    for (const char* name : {"zzzz.wav", "MU02.wav", "ab.wav", "ch01.WAV"})
        writeFileAtomically(dir / name, std::string_view("RIFF"));
    fs::create_directory(dir / "folder");
    EXPECT_EQ(soundDirectoryFiles(pathToUtf8(dir.path()) + "/"),
              (std::vector<std::string>{"ab.wav", "ch01.WAV", "MU02.wav", "zzzz.wav"}));
    EXPECT_TRUE(soundDirectoryFiles(pathToUtf8(dir / "missing")).empty());
    EXPECT_EQ(soundNameOf("MU02.wav"), "MU02");
    EXPECT_EQ(soundNameOf("ab.wav"), "ab.w");
}

}  // namespace
}  // namespace vek
