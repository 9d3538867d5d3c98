#include "rip/CtdbDatabase.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/HttpStatusError.h"
#include "platform/PathText.h"
#include <QXmlStreamReader>

namespace {
constexpr long NotFound = 404;

CalvenorError unreadable()
{
    return CalvenorError(QStringLiteral("La réponse de la base CTDB est illisible."));
}

CtdbDatabase::Entry entryOf(const QXmlStreamAttributes& attributes)
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
    return entry;
}
} // namespace

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
    return Parse(xml);
}

QList<CtdbDatabase::Entry> CtdbDatabase::Parse(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("ctdb"))
        throw unreadable();
    QList<Entry> entries;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("entry"))
            entries << entryOf(reader.attributes());
        reader.skipCurrentElement();
    }
    if (reader.hasError())
        throw unreadable();
    return entries;
}
