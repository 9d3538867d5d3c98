#include "cddb/ui/TPreferences_Form.h"
#include "cddb/CoverArtArchive.h"
#include "cddb/EmailAddress.h"
#include "cddb/MusicBrainzClient.h"
#include "cddb/TCDDBConnect.h"
#include "disc/AlbumSheet.h"
#include "platform/IDialogService.h"
#include "platform/Settings.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int FieldX = 150;
constexpr int FieldWidth = 260;

QLineEdit* field(QWidget* parent, const QString& name, int y)
{
    auto* label = new QLabel(name + QStringLiteral(" :"), parent);
    label->setGeometry(10, y + 3, FieldX - 14, 18);
    auto* box = new QLineEdit(parent);
    box->setGeometry(FieldX, y, FieldWidth, 24);
    box->setAccessibleName(name);
    label->setBuddy(box);
    return box;
}

// Empty (the built-in server) or an http or https address.
bool isServerAddress(const QString& url)
{
    return url.isEmpty() || url.startsWith(QLatin1String("http://")) || url.startsWith(QLatin1String("https://"));
}

// In the order of Settings::CoverUse.
const QString CoverChoices[] = {
    QStringLiteral("intégrer aux fichiers"),
    QStringLiteral("enregistrer cover.jpg"),
    QStringLiteral("les deux"),
    QStringLiteral("aucune"),
};
} // namespace

TPreferences_Form::TPreferences_Form(AppForms& forms, const PlatformServices& services, QWidget* parent)
    : CalvenorDialog(forms, services, parent)
{
    m_forms.Preferences_Form = this;
    setWindowTitle(QStringLiteral("Préférences"));
    setModal(true);
    setFixedSize(420, 554);
    Label1 = new QLabel(QStringLiteral("Préférences :"), this);
    MakeBold(Label1);
    Label1->setGeometry(10, 8, 300, 18);
    Adresse = field(this, QStringLiteral("Adresse électronique"), 34);
    ServeurCddb = field(this, QStringLiteral("Serveur CDDB"), 64);
    ServeurCddb->setPlaceholderText(TCDDBConnect::DefaultServer);
    ServeurMusicBrainz = field(this, QStringLiteral("Serveur MusicBrainz"), 94);
    ServeurMusicBrainz->setPlaceholderText(MusicBrainzClient::DefaultServer);
    MusicBrainzFirst = new QCheckBox(QStringLiteral("Interroger MusicBrainz avant CDDB"), this);
    MusicBrainzFirst->setGeometry(FieldX, 124, FieldWidth, 22);
    ServeurPochettes = field(this, QStringLiteral("Serveur de pochettes"), 150);
    ServeurPochettes->setPlaceholderText(CoverArtArchive::DefaultServer);
    ServeurAccurateRip = field(this, QStringLiteral("Serveur AccurateRip"), 180);
    ServeurCtdb = field(this, QStringLiteral("Serveur CTDB"), 210);
    RememberChoices = new QCheckBox(QStringLiteral("Retenir le format, les options d'encodage et le dossier cible"), this);
    RememberChoices->setGeometry(10, 240, 400, 22);
    RememberChoices->setToolTip(QStringLiteral("Retient aussi la taille de la fenêtre principale et la largeur des "
                                               "colonnes de la liste des pistes."));
    auto* cover = new QGroupBox(QStringLiteral("Pochette de l'album"), this);
    cover->setGeometry(10, 268, 400, 56);
    auto* coverLabel = new QLabel(QStringLiteral("Pochette :"), cover);
    coverLabel->setGeometry(10, 24, FieldX - 24, 22);
    Pochette = new QComboBox(cover);
    Pochette->setGeometry(FieldX - 10, 22, FieldWidth - 10, 26);
    for (const QString& choice : CoverChoices)
        Pochette->addItem(choice);
    Pochette->setAccessibleName(QStringLiteral("Pochette"));
    coverLabel->setBuddy(Pochette);
    VolumeBox = new QGroupBox(QStringLiteral("Volume sonore"), this);
    VolumeBox->setGeometry(10, 330, 400, 54);
    ReplayGain = new QCheckBox(QStringLiteral("Calculer le ReplayGain"), VolumeBox);
    ReplayGain->setGeometry(10, 24, 380, 22);
    ReplayGain->setToolTip(QStringLiteral("Mesure le volume sonore de chaque piste pendant le rippage et l'inscrit "
                                          "dans les étiquettes des fichiers MP3 et FLAC."));
    GarderIncompletes = new QCheckBox(QStringLiteral("Garder la partie lue d'une piste interrompue"), this);
    GarderIncompletes->setGeometry(10, 390, 400, 22);
    GarderIncompletes->setToolTip(QStringLiteral("Une piste arrêtée avant sa fin est gardée sous le nom « … "
                                                 "(incomplet) » ; elle ne remplace jamais le fichier complet d'un "
                                                 "rippage précédent."));
    auto* names = new QGroupBox(QStringLiteral("Modèle de nom de fichier"), this);
    names->setGeometry(10, 418, 400, 92);
    ModeleNom = new QLineEdit(names);
    ModeleNom->setGeometry(10, 24, 380, 24);
    ModeleNom->setAccessibleName(names->title());
    ModeleNom->setToolTip(NameTemplate::FieldsLines());
    ApercuNom = new QLabel(names);
    ApercuNom->setGeometry(10, 52, 380, 34);
    ApercuNom->setWordWrap(true);
    ApercuNom->setTextFormat(Qt::PlainText);
    connect(ModeleNom, &QLineEdit::textChanged, this, [this] { showPreview(); });
    Annuler = new QPushButton(QStringLiteral("Annuler"), this);
    Annuler->setGeometry(224, 518, 88, 28);
    Enregistrer = new QPushButton(QStringLiteral("Enregistrer"), this);
    Enregistrer->setGeometry(322, 518, 88, 28);
    Enregistrer->setDefault(true);
    connect(Annuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(Enregistrer, &QPushButton::clicked, this, [this] { EnregistrerClick(); });
}

int TPreferences_Form::ShowModal(const AlbumSheet* album, const QString& extension)
{
    const Settings& settings = *m_services.settings;
    m_previewValues = album && album->TrackCount() > 0 ? album->NameValues(1) : NameTemplate::SampleValues();
    m_previewExtension = extension;
    ModeleNom->setText(settings.FileNameTemplate());
    showPreview();
    Adresse->setText(settings.Email());
    ServeurCddb->setText(settings.CddbServer());
    ServeurMusicBrainz->setText(settings.MusicBrainzServer());
    ServeurPochettes->setText(settings.CoverServer());
    ServeurAccurateRip->setText(settings.AccurateRipServer());
    ServeurCtdb->setText(settings.CtdbServer());
    MusicBrainzFirst->setChecked(settings.MusicBrainzFirst());
    RememberChoices->setChecked(settings.RememberChoices());
    Pochette->setCurrentIndex(static_cast<int>(settings.Cover()));
    ReplayGain->setChecked(settings.ReplayGain());
    GarderIncompletes->setChecked(settings.KeepIncomplete());
    return exec();
}

void TPreferences_Form::ShowDefaultServers(const QString& accurateRip, const QString& ctdb)
{
    ServeurAccurateRip->setPlaceholderText(accurateRip);
    ServeurCtdb->setPlaceholderText(ctdb);
}

void TPreferences_Form::showPreview()
{
    ApercuNom->setText(NameTemplate::PreviewText(ModeleNom->text(), m_previewValues, m_previewExtension));
}

bool TPreferences_Form::check(bool valid, const QString& text)
{
    if (!valid)
        m_services.dialogs->message(MsgKind::Error, text, MsgButtons::Ok);
    return valid;
}

void TPreferences_Form::EnregistrerClick()
{
    const QString address = Adresse->text().trimmed();
    const QString nameError = NameTemplate(ModeleNom->text()).Error();
    const QString serverText = QStringLiteral("L'adresse du serveur « %1 » doit commencer par http:// ou https://.");
    // An empty address is asked for again at the next lookup.
    if (!check(address.isEmpty() || EmailAddress::IsValid(address), EmailAddress::InvalidText(address)))
        return;
    for (QLineEdit* server : {ServeurCddb, ServeurMusicBrainz, ServeurPochettes, ServeurAccurateRip, ServeurCtdb})
        if (!check(isServerAddress(server->text().trimmed()), serverText.arg(server->text().trimmed())))
            return;
    if (!check(nameError.isEmpty(), nameError))
        return;
    Settings& settings = *m_services.settings;
    settings.SetEmail(address);
    settings.SetCddbServer(ServeurCddb->text());
    settings.SetMusicBrainzServer(ServeurMusicBrainz->text());
    settings.SetCoverServer(ServeurPochettes->text());
    settings.SetAccurateRipServer(ServeurAccurateRip->text());
    settings.SetCtdbServer(ServeurCtdb->text());
    settings.SetMusicBrainzFirst(MusicBrainzFirst->isChecked());
    settings.SetRememberChoices(RememberChoices->isChecked());
    settings.SetCover(static_cast<Settings::CoverUse>(Pochette->currentIndex()));
    settings.SetFileNameTemplate(ModeleNom->text());
    settings.SetReplayGain(ReplayGain->isChecked());
    settings.SetKeepIncomplete(GarderIncompletes->isChecked());
    check(settings.Saved(),
          QStringLiteral("Les préférences n'ont pas pu être enregistrées dans « %1 ».").arg(settings.FileName()));
    accept();
}
