#include "cddb/TCDDBConnect.h"
#include "cddb/EmailAddress.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/Windows1252.h"
#include <QRegularExpression>
#include <QUrl>

const QString TCDDBConnect::DefaultServer = QStringLiteral("http://gnudb.gnudb.org/~cddb");

namespace {
const QString BuiltInVersion = QStringLiteral("1.03 - 24/12/2002");
const QString TitleKey = QStringLiteral("DTITLE");
const QString YearKey = QStringLiteral("DYEAR");
const QString GenreKey = QStringLiteral("DGENRE");
const QString TrackTitleKey = QStringLiteral("TTITLE");
constexpr int CodeLength = 3;
constexpr int MaxMatchLength = 999;
constexpr int MaxTracks = 99;
constexpr int MaxBoxLines = 40;
// Answers a server gives when it refuses the greeting: no handshake, a
// handshake refused, no connection allowed.
constexpr int NoHandshake = 409;
constexpr int HandshakeRefused = 431;
constexpr int ConnectionRefused = 432;

// A value inside the URL: what cannot stand there is percent-encoded, so the
// "+" between the words of a command stays the only separator.
QString urlValue(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

// The answer up to its first zero byte, UTF-8 or Windows-1252.
QString answerText(const QByteArray& body)
{
    const qsizetype zero = body.indexOf('\0');
    return Windows1252::DecodeUtf8OrWindows1252(zero < 0 ? body : body.left(zero));
}

// The keyword of a record line ("TTITLE3" of "TTITLE3=..."), upper case;
// empty for comments, status lines and the closing ".".
QString keyOf(const QString& line)
{
    static const QRegularExpression key(QStringLiteral("^([A-Za-z]+[0-9]*)="));
    const QRegularExpressionMatch m = key.match(line);
    return m.hasMatch() ? m.captured(1).toUpper() : QString();
}

// The track index of a TTITLEn keyword, -1 for any other keyword.
int trackIndexOf(const QString& key)
{
    if (!key.startsWith(TrackTitleKey))
        return -1;
    bool ok = false;
    const int index = key.mid(TrackTitleKey.size()).toInt(&ok);
    return ok && index >= 0 ? index : -1;
}

// Values by keyword ("TTITLE03" read as "TTITLE3"). A value too long for one
// line goes on in further lines under the same keyword: they are joined.
QMap<QString, QString> recordFields(const QStringList& lines)
{
    QMap<QString, QString> fields;
    for (const QString& line : lines) {
        QString key = keyOf(line);
        const int track = trackIndexOf(key);
        if (track >= 0)
            key = TrackTitleKey + QString::number(track);
        if (!key.isEmpty())
            fields[key] += line.mid(line.indexOf('=') + 1);
    }
    return fields;
}

QString afterFirstBlank(const QString& text)
{
    const qsizetype blank = text.indexOf(' ');
    return blank < 0 ? QString() : text.mid(blank + 1);
}

// Text up to the first blank; all of it when there is none.
QString firstWord(const QString& text)
{
    const qsizetype blank = text.indexOf(' ');
    return blank < 0 ? text : text.left(blank);
}
} // namespace

TCDDBConnect::TCDDBConnect(const PlatformServices& services) : m_services(services) {}

TCDDBConnect::~TCDDBConnect() = default;

QString TCDDBConnect::ComponentVersion() const
{
    return BuiltInVersion;
}

QString TCDDBConnect::TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= ' ')
        ++first;
    while (last > first && text.at(last - 1).unicode() <= ' ')
        --last;
    return text.mid(first, last - first);
}

QStringList TCDDBConnect::SplitLines(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString TCDDBConnect::BuildUrl(const QString& command) const
{
    return m_server + QStringLiteral("/cddb.cgi?cmd=") + command + QStringLiteral("&hello=") + urlValue(m_userName)
        + '+' + urlValue(m_hostName) + '+' + urlValue(m_clientName) + '+' + urlValue(m_clientVersion)
        + QStringLiteral("&proto=6");
}

void TCDDBConnect::SetEmail(const QString& address)
{
    m_userName = EmailAddress::LocalPart(address);
    m_hostName = EmailAddress::Domain(address);
}

QString TCDDBConnect::ForBox(const QString& text)
{
    const QStringList lines = SplitLines(text);
    if (lines.size() <= MaxBoxLines)
        return text;
    return (lines.mid(0, MaxBoxLines) << QStringLiteral("…")).join('\n');
}

QString TCDDBConnect::ExplainAnswer(int code, const QString& answer)
{
    if (code != NoHandshake && code != HandshakeRefused && code != ConnectionRefused)
        return answer;
    return QStringLiteral("Le serveur CDDB a refusé la présentation du programme. Il demande l'adresse électronique "
                          "réelle de l'utilisateur : vérifiez celle des préférences (menu « Calvenor », "
                          "« Préférences »).\n\nRéponse du serveur : ")
        + answer;
}

void TCDDBConnect::ApplyConnectionSettings()
{
    m_connection.port = m_port;
    m_connection.proxyServer = m_proxyServer;
    m_connection.proxyPort = m_proxyPort;
    m_connection.proxyUsername = m_proxyUsername;
    m_connection.proxyPassword = m_proxyPassword;
}

int TCDDBConnect::statusCode(const QString& answer) const
{
    const QString digits = answer.left(CodeLength);
    static const QRegularExpression number(QStringLiteral("^[0-9]{3}$"));
    if (!number.match(digits).hasMatch())
        throw CalvenorError(QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(digits));
    return digits.toInt();
}

void TCDDBConnect::notifyReceived(const QString& answer)
{
    if (OnReceiveData)
        OnReceiveData(this, m_lastCode, answer);
}

// The receive event comes after every request, a failed one too, with the
// answer as far as it was read.
QString TCDDBConnect::SendCommand(const QString& command)
{
    QString answer;
    try {
        const QString url = BuildUrl(command);
        ApplyConnectionSettings();
        if (OnSendData)
            OnSendData(this, url);
        answer = answerText(m_services.http->Get(url, m_connection));
        m_lastCode = statusCode(answer);
    } catch (...) {
        notifyReceived(answer);
        throw;
    }
    notifyReceived(answer);
    return answer;
}

QString TCDDBConnect::QueryCommand(const DiscToc& toc)
{
    return QStringLiteral("cddb+query+") + toc.CddbQueryArguments().replace(' ', '+');
}

void TCDDBConnect::QueryDisc(const DiscToc& toc, int& code, QString& text)
{
    const QString command = QueryCommand(toc);
    m_trackCount = toc.Tracks().size();
    text = TrimBlanks(SendCommand(command));
    code = m_lastCode;
    if (code == 200)
        text = ReadEntry(afterFirstBlank(text));
}

QString TCDDBConnect::ReadEntry(const QString& line)
{
    QString match = line;
    if (match.startsWith(QLatin1String("210")) || match.startsWith(QLatin1String("200")))
        match = TrimBlanks(match.mid(CodeLength, MaxMatchLength));
    const QString category = firstWord(match);
    const QString identifier = firstWord(afterFirstBlank(match));
    m_entryText = SendCommand(QStringLiteral("cddb+read+") + urlValue(category) + '+' + urlValue(identifier) + '+');
    m_entryLines = SplitLines(m_entryText);
    m_fields = recordFields(m_entryLines);
    return m_entryText;
}

QString TCDDBConnect::discTitle() const
{
    return m_fields.value(TitleKey);
}

QString TCDDBConnect::GetYear() const
{
    return TrimBlanks(m_fields.value(YearKey));
}

// The disc's track count (before any query, as many as the record numbers);
// 0 for a record without titles.
int TCDDBConnect::titleCount() const
{
    int count = 0;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        count = qMax(count, trackIndexOf(it.key()) + 1);
    if (count == 0)
        return 0;
    return m_trackCount > 0 ? m_trackCount : qMin(count, MaxTracks);
}

// Artist and album are split at the first "/", not at " / ".
QString TCDDBConnect::GetArtist() const
{
    const QString title = discTitle();
    const qsizetype slash = title.indexOf('/');
    return slash < 0 ? QString() : TrimBlanks(title.left(slash));
}

// A title without "/" names the album alone.
QString TCDDBConnect::GetAlbum() const
{
    const QString title = discTitle();
    return TrimBlanks(title.mid(title.indexOf('/') + 1));
}

// One title per track, by the number of its TTITLE keyword, untrimmed;
// numbers past the disc are ignored, a missing one gives an empty title.
void TCDDBConnect::GetTitles(QStringList& list) const
{
    list.clear();
    const int count = titleCount();
    for (int k = 0; k < count; ++k)
        list << m_fields.value(TrackTitleKey + QString::number(k));
}

// The word after the status code of the record's first line.
QString TCDDBConnect::statusWord(int index) const
{
    if (m_entryLines.isEmpty())
        throw CalvenorError(QStringLiteral("Indice de liste hors limites (0)"));
    QString rest = m_entryLines.first();
    for (int k = 0; k <= index; ++k)
        rest = afterFirstBlank(rest);
    const qsizetype blank = rest.indexOf(' ');
    return blank < 0 ? QString() : rest.left(blank);
}

QString TCDDBConnect::GetCategory() const
{
    return statusWord(0);
}

QString TCDDBConnect::GetGenre() const
{
    const QString genre = TrimBlanks(m_fields.value(GenreKey));
    return genre.isEmpty() ? GetCategory() : genre;
}

QString TCDDBConnect::GetDiscId() const
{
    return statusWord(1);
}
