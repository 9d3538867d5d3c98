#include "platform/DriveModel.h"
#include "platform/CdioLog.h"
#include <QStringList>
#include <cdio/cdio.h>
#include <memory>

namespace {
QString joined(const QStringList& parts)
{
    QStringList kept;
    for (const QString& p : parts)
        if (!p.isEmpty())
            kept << p;
    return kept.join(' ');
}
} // namespace

QString DriveModel::Name() const
{
    return joined({Vendor, Model});
}

QString DriveModel::Text() const
{
    return joined({Vendor, Model, Revision});
}

std::optional<DriveModel> DriveModel::OfDevice(const QString& device)
{
    CdioLog::Silence();
    const std::unique_ptr<CdIo_t, void (*)(CdIo_t*)> cdio(cdio_open(device.toLocal8Bit().constData(), DRIVER_DEVICE),
                                                         cdio_destroy);
    cdio_hwinfo_t info{};
    if (!cdio || !cdio_get_hwinfo(cdio.get(), &info))
        return std::nullopt;
    // The inquiry's fields are padded with spaces.
    const DriveModel model{QString::fromLatin1(info.psz_vendor).trimmed(), QString::fromLatin1(info.psz_model).trimmed(),
                           QString::fromLatin1(info.psz_revision).trimmed()};
    if (model.Name().isEmpty())
        return std::nullopt;
    return model;
}
