#include "support/ScriptServer.h"
#include <QElapsedTimer>
#include <stdexcept>

namespace {
constexpr int StartTimeoutMs = 10000;
} // namespace

ScriptServer::ScriptServer(const QString& script, const QStringList& arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("python3"), QStringList{script} + arguments);
    if (!m_process.waitForStarted(StartTimeoutMs))
        throw std::runtime_error("cannot start python3 for " + script.toStdString());
    while (!m_process.canReadLine() && m_process.waitForReadyRead(StartTimeoutMs)) {
    }
    const QByteArray line = m_process.readLine().trimmed();
    if (!line.startsWith("PORT "))
        throw std::runtime_error(script.toStdString() + " did not start: " + line.toStdString());
    m_port = line.mid(5).toInt();
}

bool ScriptServer::WaitForLine(const QByteArray& line, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        while (m_process.canReadLine())
            if (m_process.readLine().trimmed() == line)
                return true;
        const qint64 left = timeoutMs - waited.elapsed();
        if (left <= 0 || !m_process.waitForReadyRead(static_cast<int>(left)))
            return false;
    }
}

ScriptServer::~ScriptServer()
{
    m_process.kill();
    m_process.waitForFinished();
}
