#include "cddb/TCDDBConnect.h"
#include "cddb/TCDInfo.h"
#include "platform/CalvenorError.h"
#include <QRegularExpression>
#include <QUrl>

const QString TCDDBConnect::DefaultServer = QStringLiteral("http://gnudb.gnudb.org/~cddb");

namespace {
const QString BuiltInVersion = QStringLiteral("1.03 - 24/12/2002");
const QString TitleKey = QStringLiteral("DTITLE");
const QString TrackTitleKey = QStringLiteral("TTITLE");
constexpr int CodeLength = 3;
constexpr int MaxMatchLength = 999;

// A value inside the URL: what cannot stand there is percent-encoded, so the
// "+" between the words of a command stays the only separator.
QString urlValue(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

// The answer as single-byte text, up to its first zero byte.
QString answerText(const QByteArray& body)
{
    const qsizetype zero = body.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? body : body.left(zero));
}

// The keyword of a record line ("TTITLE3" of "TTITLE3=..."), upper case;
// empty for comments, status lines and the closing ".".
QString keyOf(const QString& line)
{
    static const QRegularExpression key(QStringLiteral("^([A-Za-z]+[0-9]*)="));
    const QRegularExpressionMatch m = key.match(line);
    return m.hasMatch() ? m.captured(1).toUpper() : QString();
}

// A value too long for one line goes on in the next lines under the same
// keyword: join them, value after value.
QStringList joinContinuations(const QStringList& lines)
{
    QStringList joined;
    QString previousKey;
    for (const QString& line : lines) {
        const QString key = keyOf(line);
        if (!key.isEmpty() && key == previousKey)
            joined.last() += line.mid(line.indexOf('=') + 1);
        else
            joined << line;
        previousKey = key;
    }
    return joined;
}

bool hasKeyword(const QString& line, const QString& keyword)
{
    return line.left(keyword.size()).compare(keyword, Qt::CaseInsensitive) == 0 && line.contains('=');
}

QString valueOf(const QString& line)
{
    return line.mid(line.indexOf('=') + 1);
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
        + QStringLiteral("&proto=4");
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

QString TCDDBConnect::QueryCommand(TCDInfo& disc)
{
    const uint32_t n = disc.TrackCount();
    QString command = QStringLiteral("cddb+query+") + disc.DiscIdString() + '+' + QString::number(n);
    for (uint32_t k = 1; k <= n; ++k)
        command += '+' + QString::number(TCDInfo::MsfToFrames(disc.TrackPosition(static_cast<int>(k))));
    return command + '+' + QString::number(disc.TotalSeconds());
}

void TCDDBConnect::QueryDisc(QChar letter, int& code, QString& text)
{
    QString command;
    {
        // The drive is held only while its table of contents is read.
        TCDInfo disc(*m_services.drives, *m_services.cdAudio);
        disc.OpenDrive(letter);
        command = QueryCommand(disc);
    }
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
    m_entryLines = joinContinuations(SplitLines(m_entryText));
    return m_entryText;
}

// The value of the last DTITLE line, empty when there is none.
QString TCDDBConnect::discTitle() const
{
    QString value;
    for (const QString& line : m_entryLines)
        if (hasKeyword(line, TitleKey))
            value = valueOf(line);
    return value;
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

// Titles in the order of their lines, untrimmed.
void TCDDBConnect::GetTitles(QStringList& list) const
{
    list.clear();
    for (const QString& line : m_entryLines)
        if (hasKeyword(line, TrackTitleKey))
            list << valueOf(line);
}

QString TCDDBConnect::GetCategory() const
{
    if (m_entryLines.isEmpty())
        throw CalvenorError(QStringLiteral("Indice de liste hors limites (0)"));
    const QString rest = afterFirstBlank(m_entryLines.first());
    const qsizetype blank = rest.indexOf(' ');
    return blank < 0 ? QString() : rest.left(blank);
}
