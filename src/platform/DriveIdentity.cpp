#include "platform/DriveIdentity.h"
#include "platform/CdSourceKind.h"
#include "platform/IDrives.h"
#include "platform/Settings.h"
#include <QFileInfo>

DriveIdentity DriveIdentity::Of(IDrives& drives, QChar letter)
{
    DriveIdentity identity;
    identity.m_model = drives.model(letter);
    const QString source = drives.source(letter);
    const CdSourceKind::Kind kind = CdSourceKind::Of(source);
    if (!identity.m_model && kind != CdSourceKind::Device && kind != CdSourceKind::Unknown)
        identity.m_image = QFileInfo(source).absoluteFilePath();
    return identity;
}

QString DriveIdentity::LogText() const
{
    if (m_model)
        return m_model->Text();
    if (!m_image.isEmpty())
        return QStringLiteral("image ") + QFileInfo(m_image).fileName();
    return QStringLiteral("modèle inconnu");
}

QString DriveIdentity::ShortText() const
{
    if (m_model)
        return m_model->Name();
    return m_image.isEmpty() ? QString() : QFileInfo(m_image).fileName();
}

// Images are told apart by their whole path: two "album.cue" are two discs.
QString DriveIdentity::offsetKey() const
{
    if (m_model)
        return m_model->Name();
    return m_image.isEmpty() ? QString() : QStringLiteral("image ") + m_image;
}

int DriveIdentity::ReadOffset(const Settings& settings) const
{
    if (!m_image.isEmpty())
        return settings.SavedReadOffset(offsetKey()).value_or(0);
    return settings.ReadOffset(offsetKey());
}

void DriveIdentity::SaveReadOffset(Settings& settings, int samples) const
{
    settings.SetReadOffset(offsetKey(), samples);
}
