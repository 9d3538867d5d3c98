#include "support/AccurateRipFile.h"
#include "disc/AccurateRipDiscId.h"
#include "support/TestFiles.h"
#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

bool AccurateRipFile::Write(const QString& folder, const AccurateRipDiscId& disc, const QList<Response>& responses,
                            uint32_t otherDisc)
{
    QByteArray file;
    const auto word = [&file](uint32_t v) {
        char b[4];
        qToLittleEndian(v, b);
        file.append(b, 4);
    };
    for (const auto& response : responses) {
        file.append(static_cast<char>(response.size()));
        word(disc.OffsetsAdded() ^ otherDisc);
        word(disc.OffsetsMultiplied());
        word(disc.CddbId());
        for (const auto& [confidence, crc] : response) {
            file.append(static_cast<char>(confidence));
            word(crc);
            word(0);
        }
    }
    const QString path = folder + '/' + disc.DatabasePath();
    QDir().mkpath(QFileInfo(path).path());
    return TestFiles::Write(path, file);
}
