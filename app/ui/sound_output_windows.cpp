#ifdef _WIN32

#include "app/windows_api.h"
// mmsystem.h needs the types of windows.h first.
#include <mmsystem.h>

#include <future>
#include <system_error>

#include "app/ui/sound_output.h"

namespace vek::ui {

namespace {

bool isWaveFile(const std::filesystem::path& waveFile) {
    std::error_code error;
    return std::filesystem::is_regular_file(waveFile, error);
}

// SND_NODEFAULT: a file that cannot be played stays silent instead of ringing the system's bell.
constexpr DWORD kFromFile = SND_FILENAME | SND_NODEFAULT;

void stopPlaying() { PlaySoundW(nullptr, nullptr, 0); }

}  // namespace

WindowsSoundOutput::~WindowsSoundOutput() { stopPlaying(); }

void WindowsSoundOutput::play(const std::filesystem::path& waveFile) {
    if (isWaveFile(waveFile)) PlaySoundW(waveFile.c_str(), nullptr, kFromFile | SND_ASYNC);
}

void WindowsSoundOutput::playToEnd(const std::filesystem::path& waveFile,
                                   std::chrono::milliseconds limit) {
    if (!isWaveFile(waveFile)) return;
    // Played to its end on a thread of its own, so that a long sound can be cut at the limit.
    const std::wstring file = waveFile.wstring();
    std::future<void> playing = std::async(
        std::launch::async, [file] { PlaySoundW(file.c_str(), nullptr, kFromFile | SND_SYNC); });
    if (playing.wait_for(limit) != std::future_status::ready) stopPlaying();
    playing.wait();
}

}  // namespace vek::ui

#endif
