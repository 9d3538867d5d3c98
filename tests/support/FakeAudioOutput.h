#pragma once
#include "platform/IAudioOutput.h"
#include <QByteArray>
#include <QIODevice>

// A sound output that plays only when told: Play(frames) pulls that many
// sample frames from the source, as a sound card would, and returns them.
class FakeAudioOutput : public IAudioOutput {
public:
    static constexpr int FrameBytes = 4;

    bool isAvailable() override { return available; }
    void start(QIODevice& source) override
    {
        m_source = &source;
        m_played = 0;
        ++starts;
    }
    void stop() override
    {
        m_source = nullptr;
        ++stops;
    }
    qint64 playedFrames() override { return m_played; }

    bool Playing() const { return m_source != nullptr; }
    QByteArray Play(qint64 frames)
    {
        QByteArray pcm = m_source->read(frames * FrameBytes);
        m_played += pcm.size() / FrameBytes;
        return pcm;
    }
    // Pulls in small reads, like a sound card, until the source runs dry.
    QByteArray PlayToEnd()
    {
        QByteArray all;
        for (QByteArray pcm = Play(1000); !pcm.isEmpty(); pcm = Play(1000))
            all += pcm;
        return all;
    }

    bool available = true;
    int starts = 0;
    int stops = 0;

private:
    QIODevice* m_source = nullptr;
    qint64 m_played = 0;
};
