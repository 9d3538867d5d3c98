#include "app/RememberedChoices.h"
#include "encode/TLameCoder.h"
#include "platform/Settings.h"
#include <QStringList>

namespace {
const QString Mp3Key = QStringLiteral("mp3");
const QString FlacKey = QStringLiteral("flac");
const QString FolderKey = QStringLiteral("folder");
const QString WindowSizeKey = QStringLiteral("windowSize");
const QString MaximisedKey = QStringLiteral("maximised");
const QString ColumnsKey = QStringLiteral("columnWidths");

// "100,45,200": a hand-edited value that is not a list of widths is none.
QList<int> widthsOf(const QString& text)
{
    QList<int> widths;
    for (const QString& part : text.split(',', Qt::SkipEmptyParts)) {
        bool number = false;
        const int width = part.trimmed().toInt(&number);
        if (!number || width <= 0)
            return {};
        widths << width;
    }
    return widths;
}

QString textOf(const QList<int>& widths)
{
    QStringList parts;
    for (int width : widths)
        parts << QString::number(width);
    return parts.join(',');
}

// One encoder option under its name in the settings.
struct CoderOption {
    const char* name;
    qint64 (*get)(const TLameCoder&);
    void (*set)(TLameCoder&, qint64);
};

// VBR comes before its header: turning VBR on or off sets the header too.
const CoderOption CoderOptions[] = {
    {"sampleRate", [](const TLameCoder& c) -> qint64 { return c.SampleRate(); },
     [](TLameCoder& c, qint64 v) { c.SetSampleRate(uint32_t(v)); }},
    {"bitrate", [](const TLameCoder& c) -> qint64 { return c.Bitrate(); },
     [](TLameCoder& c, qint64 v) { c.SetBitrate(uint32_t(v)); }},
    {"maxBitrate", [](const TLameCoder& c) -> qint64 { return c.MaxBitrate(); },
     [](TLameCoder& c, qint64 v) { c.SetMaxBitrate(uint32_t(v)); }},
    {"quality", [](const TLameCoder& c) -> qint64 { return c.Quality(); },
     [](TLameCoder& c, qint64 v) { c.SetQuality(MPEG_QUALITY(v)); }},
    {"mode", [](const TLameCoder& c) -> qint64 { return c.Mode(); },
     [](TLameCoder& c, qint64 v) { c.SetMode(TLameMode(v)); }},
    {"vbr", [](const TLameCoder& c) -> qint64 { return c.EnableVBR(); },
     [](TLameCoder& c, qint64 v) { c.SetEnableVBR(int32_t(v)); }},
    {"vbrHeader", [](const TLameCoder& c) -> qint64 { return c.WriteVBRHeader(); },
     [](TLameCoder& c, qint64 v) { c.SetWriteVBRHeader(int32_t(v)); }},
    {"vbrQuality", [](const TLameCoder& c) -> qint64 { return c.VBRQuality(); },
     [](TLameCoder& c, qint64 v) { c.SetVBRQuality(int32_t(v)); }},
    {"copyright", [](const TLameCoder& c) -> qint64 { return c.Copyright(); },
     [](TLameCoder& c, qint64 v) { c.SetCopyright(int32_t(v)); }},
    {"original", [](const TLameCoder& c) -> qint64 { return c.Original(); },
     [](TLameCoder& c, qint64 v) { c.SetOriginal(int32_t(v)); }},
    {"crc", [](const TLameCoder& c) -> qint64 { return c.CRC(); },
     [](TLameCoder& c, qint64 v) { c.SetCRC(int32_t(v)); }},
    {"private", [](const TLameCoder& c) -> qint64 { return c.Private(); },
     [](TLameCoder& c, qint64 v) { c.SetPrivate(int32_t(v)); }},
};
} // namespace

std::optional<RememberedChoices::Choices> RememberedChoices::Restore(TLameCoder& coder) const
{
    const QVariant mp3 = m_settings.Choice(Mp3Key);
    if (!m_settings.RememberChoices() || !mp3.isValid())
        return std::nullopt;
    // A value edited by hand into something else than a number is left at its default.
    for (const CoderOption& option : CoderOptions) {
        bool number = false;
        const qint64 value = m_settings.Choice(QLatin1String(option.name)).toLongLong(&number);
        if (number)
            option.set(coder, value);
    }
    return Choices{mp3.toBool(), m_settings.Choice(FolderKey).toString(), m_settings.Choice(FlacKey).toBool(),
                   m_settings.Choice(WindowSizeKey).toSize(), m_settings.Choice(MaximisedKey).toBool(),
                   widthsOf(m_settings.Choice(ColumnsKey).toString())};
}

void RememberedChoices::Save(const Choices& choices, const TLameCoder& coder)
{
    if (!m_settings.RememberChoices())
        return;
    m_settings.SetChoice(Mp3Key, choices.mp3);
    m_settings.SetChoice(FlacKey, choices.flac);
    m_settings.SetChoice(FolderKey, choices.folder);
    m_settings.SetChoice(WindowSizeKey, choices.windowSize);
    m_settings.SetChoice(MaximisedKey, choices.maximised);
    m_settings.SetChoice(ColumnsKey, textOf(choices.columnWidths));
    for (const CoderOption& option : CoderOptions)
        m_settings.SetChoice(QLatin1String(option.name), option.get(coder));
}
