#include "CddbServer.h"
#include <QFile>
#include <QJsonDocument>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
QString logPath(const QTemporaryDir& folder)
{
    return folder.filePath(QStringLiteral("requests.jsonl"));
}
} // namespace

CddbServer::CddbServer(const QString& recordsFolder)
    : m_server(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/cddb/cddb_server.py"),
               {QStringLiteral("--records"), recordsFolder, QStringLiteral("--log"), logPath(m_logFolder)})
{
}

CddbServer::~CddbServer() = default;

QString CddbServer::DefaultRecords()
{
    return QStringLiteral(CALVENOR_SOURCE_DIR "/tests/cddb/records");
}

QString CddbServer::Url() const
{
    return QStringLiteral("http://127.0.0.1:%1/~cddb").arg(Port());
}

QList<QJsonObject> CddbServer::Requests() const
{
    QList<QJsonObject> requests;
    QFile log(logPath(m_logFolder));
    if (!log.open(QIODevice::ReadOnly))
        return requests;
    for (const QByteArray& line : log.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            requests << QJsonDocument::fromJson(line).object();
    return requests;
}

// A port the system just gave and took back: nothing listens there.
int CddbServer::ClosedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}
