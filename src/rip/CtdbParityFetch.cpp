#include "rip/CtdbParityFetch.h"
#include "platform/CalvenorError.h"
#include "platform/IHttpClient.h"
#include "rip/CtdbWindow.h"

namespace {
constexpr int FirstStep = 4;

CalvenorError refused(const QString& why)
{
    return CalvenorError(QStringLiteral("La parité CTDB reçue est refusée : %1.").arg(why));
}
} // namespace

CtdbParityFetch::CtdbParityFetch(IHttpClient& http, const CtdbDatabase::Entry& entry, const std::atomic<bool>* cancel)
    : m_http(http), m_entry(entry), m_cancel(cancel)
{
}

QList<int> CtdbParityFetch::Steps(int entryNpar)
{
    QList<int> steps;
    for (int npar = FirstStep; npar < entryNpar; npar *= 2)
        steps << npar;
    if (entryNpar > 0)
        steps << entryNpar;
    return steps;
}

QByteArray CtdbParityFetch::fetch(int npar)
{
    const qsizetype wanted = CtdbWindow::RowBytes * npar;
    if (!m_whole.isEmpty())
        return m_whole;
    HttpSettings settings;
    settings.cancel = m_cancel;
    settings.maxAnswerBytes = CtdbWindow::RowBytes * qMax(m_entry.Npar, npar);
    const HttpPart part = m_http.GetFirstBytes(m_entry.ParityAddress, wanted, settings);
    if (!part.whole && part.bytes.size() != wanted)
        throw refused(QStringLiteral("%1 octets reçus pour les %2 demandés").arg(part.bytes.size()).arg(wanted));
    if (part.whole && (part.bytes.size() < wanted || part.bytes.size() % CtdbWindow::RowBytes != 0))
        throw refused(QStringLiteral("le fichier entier n'a pas %1 rangées (%2 octets)").arg(npar).arg(part.bytes.size()));
    if (part.whole)
        m_whole = part.bytes;
    return part.bytes;
}

CtdbParity CtdbParityFetch::Rows(int npar)
{
    const QByteArray bytes = fetch(npar);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    std::optional<CtdbParity> parity = CtdbParity::FromSyndromeRows(data, bytes.size(), npar);
    const auto* syndrome = reinterpret_cast<const uint8_t*>(m_entry.Syndrome.constData());
    if (!parity || !parity->Matches(syndrome, m_entry.Syndrome.size()))
        throw refused(QStringLiteral("sa première colonne n'est pas le syndrome de l'entrée de la base"));
    return std::move(*parity);
}
