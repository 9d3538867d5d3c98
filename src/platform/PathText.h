#pragma once
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QString>

// Rules on path texts shared by every component.
class PathText {
public:
    // The path with its extension (from the last "." of the file name) replaced
    // by `extension`; appended when the file name has no dot.
    static QString WithExtension(const QString& path, const QString& extension)
    {
        const int slash = path.lastIndexOf('/');
        const int dot = path.lastIndexOf('.');
        return (dot > slash ? path.left(dot) : path) + extension;
    }

    // A server address without the "/" at its end, so that paths join it with one.
    static QString ServerBase(QString address)
    {
        while (address.endsWith('/'))
            address.chop(1);
        return address;
    }

    // A hidden file beside target: "/folder/.<name><suffix>". A name too long
    // for the file system's limit with the suffix keeps its start and gets a
    // digest of the whole, so that each target still has a name of its own.
    static QString HiddenBeside(const QString& target, const QString& suffix)
    {
        constexpr int NameMax = 255;
        constexpr int DigestChars = 16;
        const QFileInfo info(target);
        QString name = info.fileName();
        const int room = NameMax - 1 - int(QFile::encodeName(suffix).size());
        if (QFile::encodeName(name).size() > room) {
            const QString digest = QString::fromLatin1(
                QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(DigestChars));
            while (QFile::encodeName(name).size() > room - DigestChars - 1)
                name.chop(name.size() > 1 && name.at(name.size() - 1).isLowSurrogate() ? 2 : 1);
            name += '~' + digest;
        }
        return info.absolutePath() + QStringLiteral("/.") + name + suffix;
    }
};
