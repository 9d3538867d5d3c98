#include "rip/CtdbDatabase.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/HttpStatusError.h"
#include "platform/PathText.h"
#include "rip/CtdbWindow.h"
#include "rip/ReedSolomon16.h"
#include <QUrl>
#include <QXmlStreamReader>

namespace {
constexpr long NotFound = 404;

CalvenorError unreadable()
{
    return CalvenorError(QStringLiteral("La réponse de la base CTDB est illisible."));
}

// An absolute address, or a path on the server's host.
QString parityAddress(const QString& announced, const QString& server)
{
    if (announced.isEmpty() || QUrl(announced).isRelative() == false)
        return announced;
    const QString path = announced.startsWith('/') ? announced : '/' + announced;
    return QUrl(server).resolved(QUrl(path)).toString();
}

void readParity(const QXmlStreamAttributes& attributes, const QString& server, CtdbDatabase::Entry& entry)
{
    entry.ParityAddress = parityAddress(attributes.value(QLatin1String("hasparity")).toString(), server);
    entry.Npar = attributes.value(QLatin1String("npar")).toInt();
    entry.Stride = attributes.value(QLatin1String("stride")).toInt();
    entry.Syndrome = QByteArray::fromBase64(attributes.value(QLatin1String("syndrome")).toLatin1());
}

CtdbDatabase::Entry entryOf(const QXmlStreamAttributes& attributes, const QString& server)
{
    bool crcOk = false, confidenceOk = false;
    CtdbDatabase::Entry entry;
    entry.Crc = attributes.value(QLatin1String("crc32")).toUInt(&crcOk, 16);
    entry.Confidence = attributes.value(QLatin1String("confidence")).toInt(&confidenceOk);
    if (!crcOk || !confidenceOk)
        throw unreadable();
    const QString tracks = attributes.value(QLatin1String("trackcrcs")).toString();
    for (const QString& crc : tracks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool trackOk = false;
        entry.TrackCrcs << crc.toUInt(&trackOk, 16);
        if (!trackOk)
            throw unreadable();
    }
    readParity(attributes, server, entry);
    return entry;
}
} // namespace

bool CtdbDatabase::Entry::HasParity() const
{
    return !ParityAddress.isEmpty() && Stride == CtdbWindow::Stride / 2 && Npar > 0
        && Npar <= ReedSolomon16::MaxNpar && !Syndrome.isEmpty();
}

const QString CtdbDatabase::DefaultServer = QStringLiteral("https://db.cue.tools");

CtdbDatabase::CtdbDatabase(IHttpClient& http, const QString& server, const std::atomic<bool>* cancel)
    : m_http(http), m_server(PathText::ServerBase(server))
{
    m_settings.cancel = cancel;
}

// fuzzy=0: only the rips of this very table count.
QString CtdbDatabase::Address(const DiscToc& toc) const
{
    return m_server + QStringLiteral("/lookup2.php?version=3&ctdb=1&fuzzy=0&toc=") + toc.CtdbLookupToc();
}

QList<CtdbDatabase::Entry> CtdbDatabase::Lookup(const DiscToc& toc)
{
    QByteArray xml;
    try {
        xml = m_http.Get(Address(toc), m_settings);
    } catch (const HttpStatusError& e) {
        if (e.Status() == NotFound)
            return {};
        throw;
    }
    return Parse(xml, m_server);
}

QList<CtdbDatabase::Entry> CtdbDatabase::Parse(const QByteArray& xml, const QString& server)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("ctdb"))
        throw unreadable();
    QList<Entry> entries;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("entry"))
            entries << entryOf(reader.attributes(), server);
        reader.skipCurrentElement();
    }
    if (reader.hasError())
        throw unreadable();
    return entries;
}
