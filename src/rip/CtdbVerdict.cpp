#include "rip/CtdbVerdict.h"

CtdbVerdict CtdbVerdict::Of(const QList<CtdbDatabase::Entry>& entries, uint32_t discCrc)
{
    CtdbVerdict verdict;
    verdict.Result = entries.isEmpty() ? Absent : Different;
    for (const CtdbDatabase::Entry& e : entries)
        if (e.Crc == discCrc && (verdict.Result != Exact || e.Confidence > verdict.Confidence)) {
            verdict.Result = Exact;
            verdict.Confidence = e.Confidence;
        }
    return verdict;
}

QString CtdbVerdict::Text() const
{
    switch (Result) {
    case Exact:
        return QStringLiteral("Disque : exact selon CTDB (confiance %1)").arg(Confidence);
    case Different:
        return QStringLiteral("Disque : différent de la base CTDB");
    case Absent:
        return QStringLiteral("Disque : absent de la base CTDB");
    case NotChecked:
        break;
    }
    return QString();
}
