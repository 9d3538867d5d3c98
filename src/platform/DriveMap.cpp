#include "platform/DriveMap.h"
#include "platform/CalvenorError.h"
#include "platform/CdSourceKind.h"
#include "platform/CdioLog.h"
#include "platform/CueSheet.h"
#include "platform/PosixFd.h"
#include <QFileInfo>
#include <cdio/cdio.h>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>

namespace {
const QString DriveOption = QStringLiteral("--drive");
const QString CddaScheme = QStringLiteral("cdda://");
constexpr char16_t FirstLetter = u'a';
constexpr char16_t LastLetter = u'y';
constexpr char16_t FirstDeviceLetter = u'd';

bool isDriveLetter(QChar c)
{
    return c >= FirstLetter && c <= LastLetter;
}
} // namespace

DriveMap DriveMap::FromArguments(const QStringList& args, QStringList* rest, bool withDevices)
{
    return FromArguments(args, rest, withDevices ? cdDevices() : QStringList());
}

DriveMap DriveMap::FromArguments(const QStringList& args, QStringList* rest, const QStringList& devices)
{
    DriveMap map;
    QStringList others;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == DriveOption) {
            if (i + 1 >= args.size())
                throw CalvenorError(QStringLiteral(
                    "L'option --drive attend une valeur LETTRE=CHEMIN, par exemple --drive d=/chemin/disque.cue."));
            map.mapOption(args.at(++i));
        } else if (arg.startsWith(DriveOption + '=')) {
            map.mapOption(arg.mid(DriveOption.size() + 1));
        } else {
            others.append(arg);
        }
    }
    map.mapDevices(devices);
    for (const QString& arg : others)
        if (rest)
            rest->append(map.rootOf(arg));
    return map;
}

// The desktop starts the program on an inserted CD with cdda://sr0/.
QString DriveMap::rootOf(const QString& argument) const
{
    QString path = argument;
    if (path.startsWith(CddaScheme)) {
        path = QStringLiteral("/dev/") + path.mid(CddaScheme.size());
        if (path.endsWith('/'))
            path.chop(1);
    } else if (!path.startsWith(QStringLiteral("/dev/"))) {
        return argument; // a file named by another option, such as --out
    }
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it) {
        if (it.value() == path || (!canonical.isEmpty() && QFileInfo(it.value()).canonicalFilePath() == canonical))
            return it.key() + QStringLiteral(":");
    }
    return argument;
}

void DriveMap::mapOption(const QString& value)
{
    const int eq = value.indexOf('=');
    if (eq != 1 || value.size() == 2)
        throw CalvenorError(QStringLiteral(
            "Valeur incorrecte pour --drive : « %1 ». Forme attendue : LETTRE=CHEMIN, par exemple d=/chemin/disque.cue.")
                                .arg(value));
    const QChar letter = value.at(0).toLower();
    if (!isDriveLetter(letter))
        throw CalvenorError(QStringLiteral(
            "Lettre de lecteur incorrecte pour --drive : « %1 ». Les lettres vont de a à y.").arg(value.at(0)));
    if (m_sources.contains(letter))
        throw CalvenorError(QStringLiteral(
            "La lettre de lecteur « %1 » est donnée deux fois avec --drive.").arg(letter));
    const QString path = value.mid(2);
    if (CdSourceKind::Of(path) == CdSourceKind::Unknown)
        throw CalvenorError(CdSourceKind::RefusalText(path));
    m_sources.insert(letter, path);
}

QChar DriveMap::addImage(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it)
        if (!canonical.isEmpty() && QFileInfo(it.value()).canonicalFilePath() == canonical)
            return it.key();
    if (CdSourceKind::Of(path) == CdSourceKind::Unknown)
        throw CalvenorError(CdSourceKind::RefusalText(path));
    const QChar letter = freeLetter();
    if (letter.isNull())
        throw CalvenorError(QStringLiteral("Toutes les lettres de lecteur, de a à y, sont déjà prises."));
    m_sources.insert(letter, path);
    return letter;
}

QChar DriveMap::freeLetter() const
{
    const char16_t after = m_sources.isEmpty() ? FirstDeviceLetter : m_sources.lastKey().unicode() + 1;
    if (isDriveLetter(after))
        return QChar(after);
    for (char16_t c = FirstLetter; isDriveLetter(c); ++c)
        if (!m_sources.contains(QChar(c)))
            return QChar(c);
    return QChar();
}

void DriveMap::mapDevices(const QStringList& devices)
{
    QChar letter = FirstDeviceLetter;
    for (const QString& device : devices) {
        while (isDriveLetter(letter) && m_sources.contains(letter))
            letter = QChar(letter.unicode() + 1);
        if (!isDriveLetter(letter))
            return;
        m_sources.insert(letter, device);
    }
}

QStringList DriveMap::cdDevices()
{
    CdioLog::Silence();
    QStringList found;
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    if (!devices)
        return found;
    // A drive can be listed under a link (/dev/cdrom) and its own name.
    QStringList seen;
    for (char** d = devices; *d; ++d) {
        const QString device = QString::fromLocal8Bit(*d);
        const QString canonical = QFileInfo(device).canonicalFilePath();
        if (!canonical.isEmpty() && seen.contains(canonical))
            continue;
        seen << canonical;
        found << device;
    }
    cdio_free_device_list(devices);
    return found;
}

bool DriveMap::isCdDrive(QChar letter)
{
    return m_sources.contains(letter.toLower());
}

QString DriveMap::source(QChar letter)
{
    return m_sources.value(letter.toLower());
}

// Images answer libcdio's inquiry with the name of its image driver: only a
// device is asked.
std::optional<DriveModel> DriveMap::model(QChar letter)
{
    const QString path = source(letter);
    if (path.isEmpty() || CdSourceKind::Of(path) != CdSourceKind::Device)
        return std::nullopt;
    return DriveModel::OfDevice(path);
}

bool DriveMap::isDiscPresent(QChar letter)
{
    const QString path = source(letter);
    if (path.isEmpty())
        return false;
    return CdSourceKind::Of(path) == CdSourceKind::Device ? isDeviceReady(path) : isImageReadable(path);
}

QString DriveMap::unreadableReason(QChar letter)
{
    const QString path = source(letter);
    if (CdSourceKind::Of(path) != CdSourceKind::Device && !QFileInfo::exists(path))
        return QStringLiteral("Le fichier image « %1 » n'existe pas.").arg(path);
    return CueSheet::MissingBinText(path);
}

// A cue sheet is read with the .bin of its own base name beside it.
bool DriveMap::isImageReadable(const QString& path)
{
    const auto readable = [](const QString& file) {
        const QFileInfo info(file);
        return info.isFile() && info.isReadable();
    };
    return readable(path) && (!CueSheet::IsCue(path) || readable(CueSheet::BinBeside(path)));
}

// Non-blocking open: an empty drive must not stall the once-a-second poll.
bool DriveMap::isDeviceReady(const QString& path)
{
    const PosixFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK));
    return fd.IsOpen() && ::ioctl(fd.Get(), CDROM_DRIVE_STATUS, CDSL_CURRENT) == CDS_DISC_OK;
}
