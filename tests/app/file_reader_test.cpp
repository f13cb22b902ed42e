#include "app/file_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/file_io.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

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

TEST(FileReader, AnUnnamedPipeIsReadToItsEndOnceForEveryReader) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string text = "two readers, one pipe";
    ASSERT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(ends[1]);
    const fs::path pipe = "/dev/fd/" + std::to_string(ends[0]);
    FileReader first(pipe);
    EXPECT_EQ(first.size(), text.size());
    EXPECT_EQ(first.bytes(4, 7), Bytes(text.begin() + 4, text.begin() + 11));
    EXPECT_EQ(FileReader(pipe).all(), Bytes(text.begin(), text.end()));
    ::close(ends[0]);
}

TEST(FileReader, AFileLargerThanItsKindCanBeIsRefusedBeforeReading) {
    testing::TempDir dir;
    writeFileAtomically(dir / "big.cob", std::string_view("0123456789"));
    FileReader reader(dir / "big.cob");
    EXPECT_NO_THROW(reader.refuseLargerThan(10));
    try {
        reader.refuseLargerThan(9);
        ADD_FAILURE() << "not refused";
    } catch (const VekError& error) {
        EXPECT_EQ(error.message(kLanguageEnglish),
                  "The file holds 10 bytes; a file of this kind holds at most 9\n" +
                      pathToUtf8(dir / "big.cob"));
    }
}

}  // namespace
}  // namespace vek
