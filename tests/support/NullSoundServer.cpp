#include "NullSoundServer.h"
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace {
const char* const ServerVariable = "PULSE_SERVER";
} // namespace

NullSoundServer::NullSoundServer() : m_previousServer(qgetenv(ServerVariable))
{
    if (!m_dir.isValid())
        return;
    const QString socket = m_dir.filePath(QStringLiteral("native"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    m_server.setProcessEnvironment(env);
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.setStandardOutputFile(QProcess::nullDevice());
    m_server.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                    QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-level=error"),
                    QStringLiteral("--load=module-null-sink"),
                    QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    if (!m_server.waitForStarted())
        return;
    // The server is ready once its socket exists.
    const QDeadlineTimer guard(10000);
    while (!QFileInfo::exists(socket) && m_server.state() == QProcess::Running && !guard.hasExpired())
        QThread::msleep(20);
    m_running = QFileInfo::exists(socket) && m_server.state() == QProcess::Running;
    if (m_running)
        qputenv(ServerVariable, QByteArrayLiteral("unix:") + QFile::encodeName(socket));
}

NullSoundServer::~NullSoundServer()
{
    if (m_previousServer.isEmpty())
        qunsetenv(ServerVariable);
    else
        qputenv(ServerVariable, m_previousServer);
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill();
        m_server.waitForFinished();
    }
}
