#include "app/file_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/file_io.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

std::string failureOf(const fs::path& file) {
    try {
        FileReader reader(file);
    } catch (const VekError& error) {
        return error.message(kLanguageEnglish) + "|" + error.message(kLanguageGerman);
    }
    return "no error";
}

TEST(FileReader, AnInputThatCannotBeReadIsRefusedWithItsNameAndWhy) {
    testing::TempDir dir;
    fs::create_directory(dir / "folder.spr");
    ASSERT_EQ(::mkfifo((dir / "fifo.spr").c_str(), 0600), 0);
    struct Case {
        fs::path file;
        std::string english;
        std::string german;
    };
    const Case cases[] = {
        {dir / "missing.spr", "no such file or folder", "Datei oder Ordner nicht vorhanden"},
        {dir / "folder.spr", "is a folder", "ist ein Ordner"},
        // Opening a named pipe would wait for a writer for ever.
        {dir / "fifo.spr", "not a regular file but a named pipe, device or socket",
         "keine normale Datei, sondern eine benannte Pipe, ein Gerät oder ein Socket"},
        {"/dev/zero", "not a regular file but a named pipe, device or socket",
         "keine normale Datei, sondern eine benannte Pipe, ein Gerät oder ein Socket"},
    };
    for (const Case& test : cases) {
        const std::string name = pathToUtf8(test.file);
        EXPECT_EQ(failureOf(test.file), std::string(kFileNotFound) + "\n" + name + ": " +
                                            test.english + "|" + std::string(kFileNotFound) + "\n" +
                                            name + ": " + test.german);
    }
    if (::getuid() != 0) {  // the superuser reads every file
        writeFileAtomically(dir / "locked.spr", std::string_view("x"));
        fs::permissions(dir / "locked.spr", fs::perms::none);
        EXPECT_NE(failureOf(dir / "locked.spr").find(": permission denied|"), std::string::npos);
    }
}

}  // namespace
}  // namespace vek
