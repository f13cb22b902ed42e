#include "app/ui/sound_output.h"

#ifndef _WIN32
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <system_error>

#include "app/ui/qt_convert.h"
#endif

namespace vek::ui {

std::unique_ptr<SoundOutput> makeSoundOutput() {
#ifdef _WIN32
    return std::make_unique<WindowsSoundOutput>();
#else
    return std::make_unique<QtSoundOutput>();
#endif
}

#ifndef _WIN32
namespace {
// Effects kept alive at once; older ones are dropped (and stop) when more start.
constexpr std::size_t kMaxPlaying = 4;
}  // namespace

QtSoundOutput::QtSoundOutput() : m_hasAudio(!QMediaDevices::audioOutputs().isEmpty()) {}

QtSoundOutput::~QtSoundOutput() = default;

QSoundEffect* QtSoundOutput::start(const std::filesystem::path& waveFile) {
    std::error_code error;
    if (!m_hasAudio || !std::filesystem::is_regular_file(waveFile, error)) return nullptr;
    if (m_playing.size() >= kMaxPlaying) m_playing.erase(m_playing.begin());
    auto effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(fromPath(waveFile)));
    effect->play();
    m_playing.push_back(std::move(effect));
    return m_playing.back().get();
}

void QtSoundOutput::play(const std::filesystem::path& waveFile) { start(waveFile); }

void QtSoundOutput::playToEnd(const std::filesystem::path& waveFile,
                              std::chrono::milliseconds limit) {
    QSoundEffect* effect = start(waveFile);
    if (!effect) return;
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(limit.count()), &loop, &QEventLoop::quit);
    QObject::connect(effect, &QSoundEffect::playingChanged, &loop, [&loop, effect] {
        if (!effect->isPlaying()) loop.quit();
    });
    QObject::connect(effect, &QSoundEffect::statusChanged, &loop, [&loop, effect] {
        if (effect->status() == QSoundEffect::Error) loop.quit();
    });
    loop.exec();
}
#endif

}  // namespace vek::ui
