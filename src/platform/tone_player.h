#pragma once

#include <QByteArray>
#include <QObject>
#include <memory>

class QTimer;

namespace zt {

// Where the tone preview sends its notes. A request ends with finished(),
// delivered from the event loop (never from inside the call); cancel() ends a
// request without finished(). Tests substitute a scripted output.
class ToneOutput : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    // Sounds a sine tone of `hz` for `ms` milliseconds.
    virtual void playTone(int hz, int ms) = 0;
    // Waits `ms` milliseconds in silence.
    virtual void waitSilently(int ms) = 0;
    virtual void cancel() = 0;

  signals:
    void finished();
};

// A sine tone as signed 16-bit little-endian mono PCM: `ms` milliseconds at
// `sampleRate`, amplitude `amplitude` of full scale, with a few milliseconds
// of fade at both ends so that the tone starts and stops without a click.
QByteArray renderSineTone(int hz, int ms, int sampleRate = 44100, double amplitude = 0.4);

// The speaker: a sine tone through the default audio output (Qt Multimedia's
// QAudioSink, when the program is built with it); without an audio output the
// duration passes in silence on a timer. Never blocks the event loop.
class TonePlayer : public ToneOutput {
    Q_OBJECT
  public:
    explicit TonePlayer(QObject* parent = nullptr);
    ~TonePlayer() override;

    void playTone(int hz, int ms) override;
    void waitSilently(int ms) override;
    void cancel() override;

  private:
    struct Audio;
    void startTimer(int ms);
    QTimer* timer_ = nullptr;
    std::unique_ptr<Audio> audio_;
};

}  // namespace zt
