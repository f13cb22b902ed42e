#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "objects/cob_data.h"
#include "objects/cob_fields.h"
#include "objects/picture_source.h"
#include "objects/source_picture.h"

namespace vek {

// What a compilation builds: the object from its reset state with the source's scripts,
// imports and picture, and the texts the source leaves in the fields. The header values are
// still texts here; takeFieldValues() converts them.
struct CompileOutput {
    CobData cob;
    CobFields fields = fieldsOf(CobData{});
    // The line (from 1) that last set each header value, 0 for none, so that a value that is no
    // number can be traced to its line.
    std::array<std::size_t, 6> headerLines{};
};

// Where a "sprite" line finds its file: the game's image directory, ending in a separator; and
// where a "picture" line finds its own: beside the source.
struct CompileSettings {
    std::string imagePath;
    PictureSource& pictures;
    PictureFolder pictureFolder{};
};

// Reads the source lines into `out`, which must hold the reset state. A "sprite" line whose
// number is not a whole number or whose file cannot be read, a "picture" line whose file cannot
// be read, or a 101st script or import, stops
// the compilation with an exception; `out` then keeps what was collected up to that line.
void compileSourceInto(std::span<const std::string_view> lines, const CompileSettings& settings,
                       CompileOutput& out);

// A whole compilation: the source read, the fields taken over, and the object file name the
// window remembers afterwards (the name followed by ".COB").
struct CompiledObject {
    CobData cob;
    CobFields fields;
    std::string objectFileName;
};
CompiledObject compileSource(std::span<const std::string_view> lines,
                             const CompileSettings& settings);
// Whether the compiler takes a line outside every section (without the blanks at its ends) as a
// header line: a header keyword at its start, a "sprite" or a "picture" line.
bool isHeaderLine(std::string_view text);

// Views of lines held elsewhere, as the compiler takes them.
std::vector<std::string_view> lineViews(std::span<const std::string> lines);

// Refuses bytes that cannot be a source in the game's code page: UTF-16 (by its byte order
// mark) and binary data (control bytes no text holds), naming the file and the first such byte.
void refuseNonSourceText(std::string_view bytes, const std::filesystem::path& file);

// A source's lines as a .COS file holds them (ANSI, CR LF) and back.
// The largest source read (a source of the most scripts an object holds is far smaller).
inline constexpr std::uint64_t kMaxSourceFileSize = std::uint64_t{64} << 20;
std::vector<std::string> readSourceFile(const std::filesystem::path& path);
void writeSourceFile(const std::filesystem::path& path, std::span<const std::string> lines);

}  // namespace vek
