#include <gtest/gtest.h>

#include "language/layout.h"

namespace vek {
namespace {

TEST(ToggledComment, CommentsTheChosenLinesAtTheirVeryStartAndTakesItBack) {
    using Lines = std::vector<std::string>;
    const struct {
        Lines lines;
        std::size_t first;
        std::size_t last;
        Lines toggled;
    } cases[] = {
        // Indented commands get the star before their tabs, where the compiler reads it.
        {{"inst", "\tsetv va00 1", "endm"}, 1, 1, {"inst", "*\tsetv va00 1", "endm"}},
        {{"inst", "*\tsetv va00 1", "endm"}, 1, 1, {"inst", "\tsetv va00 1", "endm"}},
        // One line that is no comment yet makes all of them comments; empty lines stay empty.
        {{"* a", "", "b", "*c"}, 0, 3, {"* a", "", "*b", "*c"}},
        {{"* a", "", "*b", "*c"}, 0, 3, {" a", "", "b", "c"}},
        // A star after blanks is no comment to the compiler.
        {{"  * x"}, 0, 0, {"*  * x"}},
        // Past the end: up to the last line; nothing chosen: nothing changes.
        {{"a", "b"}, 1, 9, {"a", "*b"}},
        {{"a", "b"}, 5, 9, {"a", "b"}},
        {{"", ""}, 0, 1, {"", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toggledComment(c.lines, c.first, c.last), c.toggled)
            << c.lines.front() << " " << c.first << "-" << c.last;
    }
}

}  // namespace
}  // namespace vek
