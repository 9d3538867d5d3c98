#pragma once
#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

// A private sound server with one null sink, for this process's sound
// output while the object lives: playback runs at the pace of a real device
// and nobody hears it.
class NullSoundServer {
public:
    NullSoundServer();
    ~NullSoundServer();
    NullSoundServer(const NullSoundServer&) = delete;
    NullSoundServer& operator=(const NullSoundServer&) = delete;

    // False when the server could not start (its program missing, say).
    bool IsRunning() const { return m_running; }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QByteArray m_previousServer;
    bool m_running = false;
};
