// The source compiler. Compiling what the discompiler makes of a compiled object settles after
// one turn: a second turn changes no script or routine. Where the first turn keeps every script
// and routine, it keeps the picture too; a macro with an "endm" piece inside comes back as other
// lines, one of which may then be a "sprite" line outside every section.
#include "app/file_io.h"
#include "app/vek_error.h"
#include "objects/cob_compiler.h"
#include "objects/discompiler.h"
#include "objects/source_picture.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

namespace {

// Two sprites of any file name, so that "sprite" lines get as far as taking a picture.
class TwoPictures : public PictureSource {
  public:
    void openSpriteFileByName(const std::string&) override {}
    void selectSprite(int position) override {
        if (position < 0 || position > 1) throw VekError("no such sprite", "kein solcher Sprite");
        m_selected = position;
    }
    bool spriteLoaded() const override { return m_selected >= 0; }
    SpriteImage currentSprite() const override { return SpriteImage(2, 1 + m_selected, 7); }

  private:
    int m_selected = -1;
};

CobData compileLines(const std::vector<std::string_view>& lines,
                     const SourcePicture* kept = nullptr) {
    TwoPictures pictures;
    return compileSource(lines, {"/game/Images/", pictures, {{}, kept}}).cob;
}

// The discompiled source compiled with the picture it names, as the window keeps it.
CobData recompiled(const CobData& cob) {
    const std::vector<std::string> source = discompile(cob, fieldsOf(cob), "fuzz.cob");
    const std::optional<SourcePicture> picture = sourcePictureOf(cob, "fuzz.cob", cob.name);
    return compileLines(lineViews(source), picture ? &*picture : nullptr);
}

}  // namespace

std::vector<Bytes> seeds() {
    return {bytesOf("name Ball\r\nquantity 70\r\nsprite ball 1\r\nscrp 2 5 3 1\r\n  snde drip, "
                    "anim [012]\r\nendm\r\ninst\r\nnew: simp ball 3 0 1000 0\r\nendm\r\n"),
            bytesOf("* comment\nday 3\nmonth x\nscrp 1 1 1 1\nendm\n"),
            bytesOf("inst\r,endm\x01\nsprite ball 0\nendm\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const CobData once = compileLines(splitLines(asText(input)));
    const CobData twice = recompiled(once);
    const CobData thrice = recompiled(twice);
    expectSame(thrice.scripts == twice.scripts && thrice.imports == twice.imports,
               "recompiled source");
    const bool macrosKept = twice.scripts == once.scripts && twice.imports == once.imports;
    expectSame(!macrosKept || (twice.picturePixels == once.picturePixels &&
                               twice.pictureWidth == once.pictureWidth &&
                               twice.pictureHeight == once.pictureHeight),
               "recompiled picture");
}

}  // namespace vek::fuzz
