#pragma once
#include "platform/IHttpClient.h"
#include "platform/PlatformServices.h"
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

class DiscToc;

// Asks a CDDB server over HTTP which discs match a table of contents and reads a
// disc's record: artist, album, category, year and titles. Each command is
// one GET of the server's cddb.cgi at protocol level 6; answers are UTF-8, or
// Windows-1252 from older records. CDDB status codes are results, not errors.
class TCDDBConnect {
public:
    static const QString DefaultServer;

    explicit TCDDBConnect(const PlatformServices& services);
    virtual ~TCDDBConnect();

    // Always the built-in text; an assigned one is kept apart.
    QString ComponentVersion() const;
    void SetComponentVersion(const QString& v) { m_assignedVersion = v; }
    QString UserName() const { return m_userName; }
    void SetUserName(const QString& v) { m_userName = v; }
    QString HostName() const { return m_hostName; }
    void SetHostName(const QString& v) { m_hostName = v; }
    QString ClientName() const { return m_clientName; }
    void SetClientName(const QString& v) { m_clientName = v; }
    QString ClientVersion() const { return m_clientVersion; }
    void SetClientVersion(const QString& v) { m_clientVersion = v; }
    // The greeting of today's servers: the address as local-part+domain.
    void SetEmail(const QString& address);
    // Base address; "/cddb.cgi" is appended. A bare host name takes Port.
    QString Server() const { return m_server; }
    void SetServer(const QString& v) { m_server = v; }
    int Port() const { return m_port; }
    void SetPort(int v) { m_port = v; }
    QString ProxyServer() const { return m_proxyServer; }
    void SetProxyServer(const QString& v) { m_proxyServer = v; }
    int ProxyPort() const { return m_proxyPort; }
    void SetProxyPort(int v) { m_proxyPort = v; }
    QString ProxyPassword() const { return m_proxyPassword; }
    void SetProxyPassword(const QString& v) { m_proxyPassword = v; }
    QString ProxyUsername() const { return m_proxyUsername; }
    void SetProxyUsername(const QString& v) { m_proxyUsername = v; }

    // A flag that, once set from any thread, ends the request under way
    // with HttpCancelled; none by default.
    void SetCancelFlag(const std::atomic<bool>* flag) { m_connection.cancel = flag; }

    // Before each request, with the full URL.
    std::function<void(TCDDBConnect* sender, const QString& data)> OnSendData;
    // After each request, also a failed one, with the status code and the answer.
    std::function<void(TCDDBConnect* sender, int code, const QString& data)> OnReceiveData;

    // Status code of the last answer that was read (0 at first).
    int LastCode() const { return m_lastCode; }
    // Full text of the last record read.
    QString EntryText() const { return m_entryText; }

    // Query for a disc; on 200 the record is read and returned in text.
    void QueryDisc(const DiscToc& toc, int& code, QString& text);
    // Reads the record of a match line ("category discid title", with or
    // without a leading 200 or 210); returns its text.
    QString ReadEntry(const QString& line);
    QString GetArtist() const;
    QString GetAlbum() const;
    void GetTitles(QStringList& list) const;
    QString GetCategory() const;
    // The genre of the last record: its DGENRE (protocol level 5 and up), else its category.
    QString GetGenre() const;
    // The disc identifier of the last record's status line.
    QString GetDiscId() const;
    // DYEAR of the last record, empty when it has none.
    QString GetYear() const;
    // One request; returns the answer's text.
    QString SendCommand(const QString& command);
    QString BuildUrl(const QString& command) const;

    // "cddb+query+" + identifier + track count + track starts in frames + lead-out in seconds.
    static QString QueryCommand(const DiscToc& toc);
    // Without the blanks and control characters at both ends.
    static QString TrimBlanks(const QString& text);
    // Lines end in CR LF, CR or LF alike; a final line break ends the last line.
    static QStringList SplitLines(const QString& text);
    // The answer as the user should read it: a refusal caused by the greeting
    // is explained in French before the server's own text.
    static QString ExplainAnswer(int code, const QString& answer);
    // A text for a message box: at most 40 lines, then "…".
    static QString ForBox(const QString& text);

protected:
    // Copies the port and proxy properties into the HTTP client's settings.
    virtual void ApplyConnectionSettings();
    HttpSettings& ConnectionSettings() { return m_connection; }

private:
    QString discTitle() const;
    QString statusWord(int index) const;
    int titleCount() const;
    void notifyReceived(const QString& answer);
    int statusCode(const QString& answer) const;

    PlatformServices m_services;
    HttpSettings m_connection;
    QString m_assignedVersion;
    QString m_userName = QStringLiteral("Unknown");
    QString m_hostName = QStringLiteral("Unknown");
    QString m_clientName = QStringLiteral("Calvenor");
    QString m_clientVersion = QStringLiteral(CALVENOR_VERSION);
    QString m_server = DefaultServer;
    int m_port = 8880;
    QString m_proxyServer;
    int m_proxyPort = 80;
    QString m_proxyPassword;
    QString m_proxyUsername;

    int m_lastCode = 0;
    QString m_entryText;
    QStringList m_entryLines;
    // Record values by keyword (upper case), lines of the same keyword joined.
    QMap<QString, QString> m_fields;
    // Tracks of the disc last queried; 0 before any query.
    int m_trackCount = 0;
};
