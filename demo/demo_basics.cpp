#include <cmath>
#include <cstdint>
#include <numbers>

#include "app/byte_io.h"
#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_contributors.h"
#include "sprites/palette.h"

namespace vek::demo {

namespace fs = std::filesystem;

namespace {

// A short mono tone as a PCM wave file.
std::vector<std::uint8_t> toneWave(double frequency, double seconds) {
    constexpr std::uint32_t kRate = 22050;
    const auto samples = static_cast<std::uint32_t>(kRate * seconds);
    ByteWriter out;
    out.text("RIFF");
    out.u32(36 + samples * 2);
    out.text("WAVEfmt ");
    out.u32(16);
    out.u16(1);  // PCM
    out.u16(1);  // mono
    out.u32(kRate);
    out.u32(kRate * 2);
    out.u16(2);
    out.u16(16);
    out.text("data");
    out.u32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double fade = 1.0 - static_cast<double>(i) / samples;
        const double value = std::sin(2 * std::numbers::pi * frequency * t) * fade * 8000;
        out.u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
    }
    return out.take();
}

}  // namespace

void writeDemoBasics(const DemoLayout& layout) {
    GamePaths paths = gamePathsUnder(layout.gameDirectory());
    for (std::size_t i = 0; i < kGamePathValueNames.size(); ++i)
        fs::create_directories(pathFromUtf8(gamePathField(paths, i)));
    writeFileAtomically(pathFromUtf8(paths.CPalettePath) / "palette.dta", demoPaletteBytes());
    writeFileAtomically(pathFromUtf8(paths.CMainPath) / "creatures.exe",
                        std::string_view("demo stand-in\r\n"));
    writeFileAtomically(pathFromUtf8(paths.CSoundPath) / "MU02.wav", toneWave(660, 0.3));
    writeFileAtomically(pathFromUtf8(paths.CSoundPath) / "zzzz.wav", toneWave(220, 0.4));
    // A few more short sounds for the sound player (one spelt as Wine installations often do),
    // and those the demo objects play.
    const struct {
        const char* name;
        double frequency;
    } sounds[] = {{"ch01.wav", 880},  {"dr02.wav", 330}, {"ob03.wav", 523}, {"sw04.WAV", 392},
                  {"drip.wav", 1046}, {"drop.wav", 294}, {"spin.wav", 587}};
    for (const auto& sound : sounds)
        writeFileAtomically(pathFromUtf8(paths.CSoundPath) / sound.name,
                            toneWave(sound.frequency, 0.2));
    writeFileAtomically(layout.programDirectory() / "vek.wav", toneWave(440, 0.25));
    fs::create_directories(layout.programDirectory() / "mac");
}

}  // namespace vek::demo
