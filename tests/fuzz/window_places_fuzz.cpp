// WINDOWS.INI: any file is read for the windows' places, and a place remembered reads back.
#include "app/window_places.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {bytesOf("TForm2=10,20,640,480\r\nVivariumWindow=-1200,0,1000,700\r\n"),
            bytesOf("=1,2,3,4\nTForm3=1,2,3\nTForm4=a,b,c,d\n\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const std::filesystem::path file = inputFile(input, "WINDOWS.INI");
    {
        WindowPlaces places(file);
        places.remember("FuzzWindow", {1, 2, 3, 4});
    }
    expectSame(WindowPlaces(file).place("FuzzWindow") == WindowPlace{1, 2, 3, 4},
               "a place remembered in WINDOWS.INI");
}

}  // namespace vek::fuzz
