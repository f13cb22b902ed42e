// VEK.INI: any file is read for the start-up settings, and a key written into it reads back.
#include "app/settings.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf("[Color]\r\nSBGC=$00FF00\r\n[Language]\r\nLanguage=deutsch\r\n"),
            bytesOf("garbage\n[color]\nsbgc = 255\n\n[Mine]\nx=y\n"), bytesOf("")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const VekIni ini(inputFile(input, "VEK.INI"));
    readStartupSettings(ini);
    ini.write("Fuzz", "Key", "value 1");
    expectSame(ini.read("Fuzz", "Key", "?") == "value 1", "key written into VEK.INI");
    parseIniInteger(asText(input));
}

}  // namespace vek::fuzz
