#include "platform/Settings.h"
#include "platform/FlacEncoder.h"
#include "platform/NameTemplate.h"
#include <QUrl>
#include <utility>

namespace {
const char* const EmailKey = "cddb/email";
const char* const CddbServerKey = "cddb/server";
const char* const MusicBrainzServerKey = "musicbrainz/server";
const char* const CoverServerKey = "cover/server";
const char* const AccurateRipServerKey = "accuraterip/server";
const char* const CtdbServerKey = "ctdb/server";
const char* const MusicBrainzFirstKey = "metadata/musicbrainzFirst";
const char* const ReadOffsetKey = "rip/readOffset";

// A model's name may hold anything, '/' and '\\' included, which QSettings
// would take for groups: it is percent-encoded into one plain key.
QString modelOffsetKey(const QString& model)
{
    if (model.isEmpty())
        return QString::fromLatin1(ReadOffsetKey);
    return QStringLiteral("rip/readOffsets/") + QString::fromLatin1(QUrl::toPercentEncoding(model));
}
const char* const RememberChoicesKey = "choices/remember";
const QString ChoiceGroup = QStringLiteral("choices/");
const char* const PassesKey = "rip/passes";
const char* const FlacLevelKey = "rip/flacLevel";
const char* const CoverKey = "rip/cover";

// The cover choices as the settings file spells them.
const std::pair<Settings::CoverUse, const char*> CoverNames[] = {
    {Settings::CoverUse::Embed, "embed"},
    {Settings::CoverUse::SaveFile, "file"},
    {Settings::CoverUse::Both, "both"},
    {Settings::CoverUse::None, "none"},
};
const char* const NameTemplateKey = "rip/nameTemplate";
const char* const ReplayGainKey = "rip/replayGain";
const char* const KeepIncompleteKey = "rip/keepIncomplete";
} // namespace

// CALVENOR_SETTINGS names another file, so that tests and demonstrations
// never touch the user's own settings.
Settings::Settings()
    : store(qEnvironmentVariableIsEmpty("CALVENOR_SETTINGS")
                ? QSettings(QSettings::IniFormat, QSettings::UserScope, "Calvenor", "Calvenor").fileName()
                : qEnvironmentVariable("CALVENOR_SETTINGS"),
            QSettings::IniFormat)
{
}

Settings::Settings(const QString& iniPath)
    : store(iniPath, QSettings::IniFormat)
{
}

QString Settings::Email() const { return store.value(EmailKey).toString(); }
void Settings::SetEmail(const QString& address) { Store(EmailKey, address.trimmed()); }

QString Settings::CddbServer() const { return store.value(CddbServerKey).toString(); }
void Settings::SetCddbServer(const QString& url) { Store(CddbServerKey, url.trimmed()); }

QString Settings::MusicBrainzServer() const { return store.value(MusicBrainzServerKey).toString(); }
void Settings::SetMusicBrainzServer(const QString& url) { Store(MusicBrainzServerKey, url.trimmed()); }

QString Settings::CoverServer() const { return store.value(CoverServerKey).toString(); }
void Settings::SetCoverServer(const QString& url) { Store(CoverServerKey, url.trimmed()); }
QString Settings::AccurateRipServer() const { return store.value(AccurateRipServerKey).toString(); }
void Settings::SetAccurateRipServer(const QString& url) { Store(AccurateRipServerKey, url.trimmed()); }
QString Settings::CtdbServer() const { return store.value(CtdbServerKey).toString(); }
void Settings::SetCtdbServer(const QString& url) { Store(CtdbServerKey, url.trimmed()); }

bool Settings::MusicBrainzFirst() const { return store.value(MusicBrainzFirstKey, false).toBool(); }
void Settings::SetMusicBrainzFirst(bool first) { Store(MusicBrainzFirstKey, first); }

int Settings::ReadOffset() const { return savedInt(ReadOffsetKey).value_or(0); }
void Settings::SetReadOffset(int samples) { Store(ReadOffsetKey, samples); }

int Settings::ReadOffset(const QString& model) const { return SavedReadOffset(model).value_or(ReadOffset()); }
std::optional<int> Settings::SavedReadOffset(const QString& model) const { return savedInt(modelOffsetKey(model)); }
void Settings::SetReadOffset(const QString& model, int samples) { Store(modelOffsetKey(model), samples); }

std::optional<int> Settings::savedInt(const QString& key) const
{
    bool ok = false;
    const int value = store.value(key).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

bool Settings::RememberChoices() const { return store.value(RememberChoicesKey, false).toBool(); }
void Settings::SetRememberChoices(bool remember) { Store(RememberChoicesKey, remember); }

QVariant Settings::Choice(const QString& name) const { return store.value(ChoiceGroup + name); }
void Settings::SetChoice(const QString& name, const QVariant& value) { Store(ChoiceGroup + name, value); }
int Settings::Passes() const
{
    bool ok = false;
    const int passes = store.value(PassesKey, 1).toInt(&ok);
    return ok ? qBound(1, passes, MaxPasses) : 1;
}
void Settings::SetPasses(int passes) { Store(PassesKey, passes); }
int Settings::FlacLevel() const
{
    bool ok = false;
    const int level = store.value(FlacLevelKey, FlacEncoder::DefaultLevel).toInt(&ok);
    return ok ? qBound(FlacEncoder::MinLevel, level, FlacEncoder::MaxLevel) : FlacEncoder::DefaultLevel;
}
void Settings::SetFlacLevel(int level) { Store(FlacLevelKey, level); }

QString Settings::FileNameTemplate() const
{
    return store.value(NameTemplateKey, NameTemplate::DefaultText).toString();
}
void Settings::SetFileNameTemplate(const QString& text) { Store(NameTemplateKey, text); }
bool Settings::ReplayGain() const { return store.value(ReplayGainKey, true).toBool(); }
void Settings::SetReplayGain(bool on) { Store(ReplayGainKey, on); }
bool Settings::KeepIncomplete() const { return store.value(KeepIncompleteKey, true).toBool(); }
void Settings::SetKeepIncomplete(bool keep) { Store(KeepIncompleteKey, keep); }

bool Settings::Saved()
{
    store.sync();
    return store.status() == QSettings::NoError;
}

QString Settings::FileName() const { return store.fileName(); }

void Settings::Store(const QString& key, const QVariant& value)
{
    store.setValue(key, value);
    store.sync();
}

Settings::CoverUse Settings::Cover() const
{
    const QString saved = store.value(CoverKey).toString();
    for (const auto& [use, name] : CoverNames)
        if (saved == QLatin1String(name))
            return use;
    return CoverUse::Both;
}

void Settings::SetCover(CoverUse use)
{
    for (const auto& [each, name] : CoverNames)
        if (each == use)
            Store(CoverKey, QString::fromLatin1(name));
}
