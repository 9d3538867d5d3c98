#include "platform/NeroImage.h"
#include <QFile>
#include <QtEndian>

namespace {
constexpr int FooterV1 = 8;  // "NERO" + 32-bit offset
constexpr int FooterV2 = 12; // "NER5" + 64-bit offset
constexpr int ChunkHeader = 8;
constexpr int MostChunks = 4096;

// Where the chunk list begins (past `end` when the footer points out of the
// file), or -1 when the footer is not a Nero footer.
qint64 chunkListOffset(QFile& file, qint64& end)
{
    const qint64 size = file.size();
    if (size >= FooterV2 && file.seek(size - FooterV2)) {
        const QByteArray f = file.read(FooterV2);
        if (f.size() == FooterV2 && f.startsWith("NER5")) {
            end = size - FooterV2;
            const quint64 offset = qFromBigEndian<quint64>(f.constData() + 4);
            return offset <= quint64(end) ? qint64(offset) : end + 1;
        }
    }
    if (size >= FooterV1 && file.seek(size - FooterV1)) {
        const QByteArray f = file.read(FooterV1);
        if (f.size() == FooterV1 && f.startsWith("NERO")) {
            end = size - FooterV1;
            return qint64(qFromBigEndian<quint32>(f.constData() + 4));
        }
    }
    return -1;
}

// True when the chunks from `at` each fit before `end` and the list closes with "END!".
bool chunksFit(QFile& file, qint64 at, qint64 end)
{
    for (int n = 0; n < MostChunks && at >= 0 && at <= end - ChunkHeader; ++n) {
        if (!file.seek(at))
            return false;
        const QByteArray header = file.read(ChunkHeader);
        if (header.size() != ChunkHeader)
            return false;
        const qint64 length = qFromBigEndian<quint32>(header.constData() + 4);
        if (header.startsWith("END!"))
            return true;
        at += ChunkHeader + length;
    }
    return false;
}
} // namespace

QString NeroImage::Damage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Impossible d'ouvrir l'image « %1 » : %2").arg(path, file.errorString());
    qint64 end = 0;
    const qint64 list = chunkListOffset(file, end);
    if (list < 0)
        return QStringLiteral("L'image « %1 » n'est pas une image Nero : la fin du fichier ne porte pas sa marque.")
            .arg(path);
    if (!chunksFit(file, list, end))
        return QStringLiteral("L'image Nero « %1 » est endommagée : sa table des matières déborde du fichier.")
            .arg(path);
    return QString();
}
