#include "platform/ui/QtAudioOutput.h"
#include "platform/CdPlayer.h"
#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

QtAudioOutput::QtAudioOutput()
{
    m_format.setSampleRate(CdPlayer::SampleRate);
    m_format.setChannelCount(2);
    m_format.setSampleFormat(QAudioFormat::Int16);
}

QtAudioOutput::~QtAudioOutput()
{
    stop();
}

bool QtAudioOutput::isAvailable()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    return !device.isNull() && device.isFormatSupported(m_format);
}

void QtAudioOutput::start(QIODevice& source)
{
    stop();
    m_sink = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), m_format);
    m_sink->start(&source);
}

void QtAudioOutput::stop()
{
    if (!m_sink)
        return;
    m_sink->stop();
    m_sink.reset();
}

qint64 QtAudioOutput::playedFrames()
{
    return m_sink ? m_format.framesForDuration(m_sink->processedUSecs()) : 0;
}
