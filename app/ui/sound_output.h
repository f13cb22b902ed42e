#pragma once

#include <QObject>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

class QSoundEffect;

namespace vek::ui {

// Wave playback. A missing file, or a machine without audio, plays nothing and never blocks.
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;
    // Starts the sound and returns at once.
    virtual void play(const std::filesystem::path& waveFile) = 0;
    // Plays the sound to its end, but waits no longer than `limit`.
    virtual void playToEnd(const std::filesystem::path& waveFile,
                           std::chrono::milliseconds limit) = 0;
};

// The platform's sound output: Qt Multimedia's sound effects, on Windows the system's own wave
// playback.
std::unique_ptr<SoundOutput> makeSoundOutput();

#ifndef _WIN32
// Qt Multimedia's sound effects.
class QtSoundOutput final : public QObject, public SoundOutput {
    Q_OBJECT
  public:
    QtSoundOutput();
    ~QtSoundOutput() override;

    void play(const std::filesystem::path& waveFile) override;
    void playToEnd(const std::filesystem::path& waveFile, std::chrono::milliseconds limit) override;

  private:
    QSoundEffect* start(const std::filesystem::path& waveFile);

    bool m_hasAudio = false;
    std::vector<std::unique_ptr<QSoundEffect>> m_playing;
};
#else
// The system's wave playback (PlaySound): one sound at a time, a new one ends the one before.
class WindowsSoundOutput final : public SoundOutput {
  public:
    ~WindowsSoundOutput() override;

    void play(const std::filesystem::path& waveFile) override;
    void playToEnd(const std::filesystem::path& waveFile, std::chrono::milliseconds limit) override;
};
#endif

// Plays nothing; remembers what it was asked to play (tests, and machines without audio).
class SilentSoundOutput final : public SoundOutput {
  public:
    void play(const std::filesystem::path& waveFile) override { played.push_back(waveFile); }
    void playToEnd(const std::filesystem::path& waveFile, std::chrono::milliseconds) override {
        played.push_back(waveFile);
    }

    std::vector<std::filesystem::path> played;
};

}  // namespace vek::ui
