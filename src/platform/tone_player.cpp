#include "platform/tone_player.h"

#include <QTimer>
#include <algorithm>
#include <cmath>
#include <numbers>

#ifdef QT_MULTIMEDIA_LIB
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#endif

namespace zt {

QByteArray renderSineTone(int hz, int ms, int sampleRate, double amplitude)
{
    const qint64 samples = std::max<qint64>(0, static_cast<qint64>(ms) * sampleRate / 1000);
    QByteArray pcm(static_cast<qsizetype>(samples * 2), '\0');
    const qint64 fade = std::min<qint64>(samples / 2, sampleRate / 200);  // 5 ms
    const double step = 2.0 * std::numbers::pi * hz / sampleRate;
    const double peak = std::clamp(amplitude, 0.0, 1.0) * 32767.0;
    for (qint64 i = 0; i < samples; ++i) {
        double gain = 1.0;
        if (fade > 0 && i < fade) gain = static_cast<double>(i) / static_cast<double>(fade);
        if (fade > 0 && samples - 1 - i < fade)
            gain = std::min(gain, static_cast<double>(samples - 1 - i) / static_cast<double>(fade));
        const auto v = static_cast<qint16>(std::lround(peak * gain * std::sin(step * i)));
        pcm[static_cast<qsizetype>(2 * i)] = static_cast<char>(v & 0xFF);
        pcm[static_cast<qsizetype>(2 * i + 1)] = static_cast<char>((v >> 8) & 0xFF);
    }
    return pcm;
}

#ifdef QT_MULTIMEDIA_LIB
struct TonePlayer::Audio {
    QAudioDevice device;
    QAudioFormat format;
    std::unique_ptr<QAudioSink> sink;
    QBuffer buffer;
    QByteArray pcm;
};
#else
struct TonePlayer::Audio {};
#endif

TonePlayer::TonePlayer(QObject* parent) : ToneOutput(parent), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
#ifdef QT_MULTIMEDIA_LIB
        if (audio_ && audio_->sink) audio_->sink->stop();
#endif
        emit finished();
    });
#ifdef QT_MULTIMEDIA_LIB
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!device.isNull()) {
        audio_ = std::make_unique<Audio>();
        audio_->device = device;
        audio_->format.setSampleRate(44100);
        audio_->format.setChannelCount(1);
        audio_->format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(audio_->format)) audio_.reset();
    }
#endif
}

TonePlayer::~TonePlayer()
{
    cancel();
}

void TonePlayer::startTimer(int ms)
{
    timer_->start(std::max(0, ms));
}

void TonePlayer::playTone(int hz, int ms)
{
    cancel();
#ifdef QT_MULTIMEDIA_LIB
    if (audio_) {
        // The timer, not the sink's state, ends the note, so a note always
        // lasts its duration even when the device buffers or fails.
        audio_->pcm = renderSineTone(hz, ms, audio_->format.sampleRate());
        audio_->buffer.close();
        audio_->buffer.setData(audio_->pcm);
        audio_->buffer.open(QIODevice::ReadOnly);
        audio_->sink = std::make_unique<QAudioSink>(audio_->device, audio_->format);
        audio_->sink->start(&audio_->buffer);
    }
#else
    (void)hz;
#endif
    startTimer(ms);
}

void TonePlayer::waitSilently(int ms)
{
    cancel();
    startTimer(ms);
}

void TonePlayer::cancel()
{
    timer_->stop();
#ifdef QT_MULTIMEDIA_LIB
    if (audio_ && audio_->sink) {
        audio_->sink->stop();
        audio_->sink.reset();
    }
#endif
}

}  // namespace zt
