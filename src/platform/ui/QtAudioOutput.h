#pragma once
#include "platform/IAudioOutput.h"
#include <QAudioFormat>
#include <memory>

class QAudioSink;

// The default sound device of the desktop, through Qt Multimedia.
class QtAudioOutput : public IAudioOutput {
public:
    QtAudioOutput();
    ~QtAudioOutput() override;

    bool isAvailable() override;
    void start(QIODevice& source) override;
    void stop() override;
    qint64 playedFrames() override;

private:
    QAudioFormat m_format;
    std::unique_ptr<QAudioSink> m_sink;
};
