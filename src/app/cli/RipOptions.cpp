#include "app/cli/RipOptions.h"
#include "app/CommandHelp.h"
#include "app/cli/UsageError.h"
#include "encode/ParallelTrackEncoder.h"
#include "platform/FlacEncoder.h"
#include "platform/OpusEncoder.h"
#include "platform/Settings.h"
#include "platform/VorbisEncoder.h"
#include <QDir>
#include <QStringList>
#include <algorithm>
#include <iterator>
#include <utility>

namespace {
// Each encoder may hold a LAME stream and a track's worth of blocks.
constexpr int MaxEncoders = 64;

// The options that say what to do, in the order the help lists them.
QList<QCommandLineOption> commandOptions()
{
    return {
        {QStringLiteral("list"), QStringLiteral("Liste les lecteurs : lettre et source.")},
        {QStringLiteral("toc"), QStringLiteral("Affiche la table des matières du disque.")},
        {QStringLiteral("discid"), QStringLiteral("Affiche les identifiants du disque : CDDB, MusicBrainz, AccurateRip et CTDB.")},
        {QStringLiteral("cd-text"),
         QStringLiteral("Affiche le CD-Text du disque : album, artiste et titres ; avec --tracks, nomme et "
                        "étiquette les fichiers d'après lui, comme --cddb.")},
        {QStringLiteral("cddb"),
         QStringLiteral("Interroge un serveur CDDB sur le disque et affiche l'album ; avec --tracks, nomme et "
                        "étiquette les fichiers d'après lui.")},
        {QStringLiteral("musicbrainz"),
         QStringLiteral("Interroge MusicBrainz sur le disque, comme --cddb.")},
        {QStringLiteral("track"), QStringLiteral("Extrait la piste N dans le fichier de --out."), QStringLiteral("N")},
        {QStringLiteral("tracks"),
         QStringLiteral("Extrait ces pistes dans --dir, par exemple 1,3-5 ; 0 est la piste cachée avant la piste 1. "
                        "La sortie standard donne les verdicts, puis un chemin par ligne : la feuille CUE et la liste "
                        "de lecture, puis les fichiers des pistes, en dernier."),
         QStringLiteral("LISTE")},
        {QStringLiteral("accuraterip-id"), QStringLiteral("Affiche le chemin du disque dans la base AccurateRip.")},
        {QStringLiteral("find-offset"),
         QStringLiteral("Cherche le décalage de lecture du lecteur (±3000 échantillons) dans la base AccurateRip "
                        "et l'enregistre dans les préférences pour le modèle du lecteur.")},
        {QStringLiteral("read-tag"), QStringLiteral("Affiche l'étiquette ID3 d'un fichier."), QStringLiteral("FICHIER")},
        {QStringLiteral("repair"),
         QStringLiteral("Répare selon la base CTDB un disque rippé plus tôt en WAV ou en FLAC : lit sa feuille CUE (le "
                        "dossier en contient une seule, ou la feuille est donnée) et ses fichiers, les vérifie auprès "
                        "d'AccurateRip et de CTDB et réécrit, par des copies cachées renommées, les pistes corrigées ; "
                        "le rapport du dossier en garde la trace."),
         QStringLiteral("DOSSIER")},
        {QStringLiteral("convert"),
         QStringLiteral("Convertit un fichier ou un dossier WAV, MP3 ou FLAC selon les extensions : WAV en MP3, "
                        "MP3 et FLAC en WAV, ou vers le format de l'extension de --out (.wav, .mp3, .flac) ; "
                        "--out donne le fichier ou le dossier de sortie ; un dossier mêlant WAV et MP3 prend "
                        "--mp3 ou --wav."),
         QStringLiteral("SOURCE")},
    };
}

void addExamples(CommandHelp& help)
{
    const std::pair<const char*, const char*> examples[] = {
        {"calvenor-rip --list", "Liste les lecteurs et leur lettre."},
        {"calvenor-rip d: --tracks 1-3 --flac",
         "Extrait les pistes 1 à 3 en FLAC dans le dossier courant ; les trois dernières lignes de la sortie "
         "sont leurs chemins."},
        {"calvenor-rip d: --cddb --email vous@exemple.fr",
         "Affiche l'album que CDDB connaît ; s'il en trouve plusieurs, leur liste numérotée va sur la sortie "
         "d'erreur."},
        {"calvenor-rip d: --tracks 1-12 --mp3 --cddb --release 2 --dir ~/Musique",
         "Extrait les pistes 1 à 12 en MP3, nommées et étiquetées d'après le deuxième album trouvé."},
        {"calvenor-rip d: --track 2 --out piste2.wav", "Extrait la piste 2 dans un fichier WAV."},
        {"calvenor-rip --drive x=disque.cue x: --toc", "Affiche la table des matières d'une image de disque."},
        {"calvenor-rip --convert piste.flac --out piste.wav", "Convertit un fichier FLAC en WAV."},
    };
    for (const auto& [command, description] : examples)
        help.addExample(QString::fromUtf8(command), QString::fromUtf8(description));
}
} // namespace

void RipOptions::Define(CommandHelp& help)
{
    help.setDescription(
        QStringLiteral("Extrait les pistes d'un CD audio ou d'une image de disque.\n"
                       "Les lecteurs sont nommés par leur lettre (d:) ; --drive X=CHEMIN donne une lettre à une image.\n"
                       "La progression (piste, pourcentage, vitesse, temps restant) s'affiche sur la sortie d'erreur, "
                       "sur une ligne réécrite dans un terminal, ligne après ligne ailleurs.\n"
                       "Après un rippage, chaque piste est vérifiée auprès des bases AccurateRip et CTDB, aussi contre "
                       "les pressages voisins (à ±5880 échantillons) ; un disque que CTDB connaît mais trouve différent "
                       "ou endommagé est réparé à partir de sa parité quand ses fichiers sont des WAV ou des FLAC."));
    help.addPositionalArgument(QStringLiteral("lecteur"), QStringLiteral("La lettre du lecteur, par exemple d:"));
    help.addSection(QStringLiteral("Commandes"));
    help.addOptions(commandOptions());
    help.addSection(QStringLiteral("Fichiers de sortie"));
    help.addOptions({
        {QStringLiteral("out"),
         QStringLiteral("Fichier de sortie de --track ; sans option de format, son extension le choisit (.flac, "
                        ".mp3, .opus, .ogg, .wav)."),
         QStringLiteral("FICHIER")},
        {QStringLiteral("dir"), QStringLiteral("Dossier de destination de --tracks (par défaut le dossier courant)."),
         QStringLiteral("DOSSIER")},
        {QStringLiteral("name"),
         QStringLiteral("Modèle de nom des fichiers de --tracks (par défaut celui des préférences, à l'origine "
                        "« %1 ») : ")
                 .arg(NameTemplate::DefaultText)
             + NameTemplate::FieldsText(),
         QStringLiteral("MODÈLE")},
        {QStringLiteral("overwrite"), QStringLiteral("Remplace les fichiers de sortie qui existent déjà.")},
        {QStringLiteral("drop-incomplete"),
         QStringLiteral("Ne garde pas la partie lue d'une piste interrompue (par défaut : gardée sous le nom "
                        "« … (incomplet) », sans jamais remplacer un fichier complet).")},
    });
    help.addSection(QStringLiteral("Formats"));
    help.addOptions({
        {QStringLiteral("wav"), QStringLiteral("Écrit un fichier WAV (par défaut).")},
        {QStringLiteral("pcm"), QStringLiteral("Écrit le PCM brut, sans en-tête.")},
        {QStringLiteral("mp3"), QStringLiteral("Encode en MP3.")},
        {QStringLiteral("bitrate"), QStringLiteral("Débit MP3 en kbit/s (128 par défaut)."), QStringLiteral("K")},
        {QStringLiteral("flac"), QStringLiteral("Encode en FLAC (sans perte).")},
        {QStringLiteral("flac-level"),
         QStringLiteral("Niveau de compression FLAC, de 0 (rapide) à 8 (plus compact) ; 5 par défaut."),
         QStringLiteral("N")},
        {QStringLiteral("opus"), QStringLiteral("Encode en Opus (fichier .opus).")},
        {QStringLiteral("opus-bitrate"),
         QStringLiteral("Débit Opus moyen en kbit/s, de 64 à 256 (débit variable) ; 160 par défaut."),
         QStringLiteral("K")},
        {QStringLiteral("vorbis"), QStringLiteral("Encode en Ogg Vorbis (fichier .ogg).")},
        {QStringLiteral("vorbis-quality"),
         QStringLiteral("Qualité Vorbis, de -1 (plus compact) à 10 (meilleure) ; 6 par défaut."),
         QStringLiteral("Q")},
    });
    help.addSection(QStringLiteral("Lecture"));
    help.addDriveOption();
    help.addOptions({
        {QStringLiteral("offset"),
         QStringLiteral("Décalage de lecture du lecteur, en échantillons (par défaut celui enregistré pour son "
                        "modèle ; 0 pour une image)."),
         QStringLiteral("N")},
        {QStringLiteral("passes"),
         QStringLiteral("Lit chaque piste jusqu'à N fois (1 par défaut) : à partir de 2, une lecture de test puis des "
                        "lectures de copie jusqu'à ce que deux lectures soient identiques."),
         QStringLiteral("N")},
        {QStringLiteral("encoders"),
         QStringLiteral("Encodeurs MP3 de --tracks travaillant pendant la lecture des pistes suivantes "
                        "(un par cœur par défaut ; 0 : chaque piste est encodée pendant sa lecture)."),
         QStringLiteral("N")},
    });
    help.addSection(QStringLiteral("Étiquettes"));
    help.addOptions({
        {QStringLiteral("title"), QStringLiteral("Titre de l'étiquette ID3 du fichier extrait."), QStringLiteral("TEXTE")},
        {QStringLiteral("artist"), QStringLiteral("Artiste de l'étiquette ID3."), QStringLiteral("TEXTE")},
        {QStringLiteral("album"), QStringLiteral("Album de l'étiquette ID3."), QStringLiteral("TEXTE")},
        {QStringLiteral("year"), QStringLiteral("Année de l'étiquette ID3."), QStringLiteral("TEXTE")},
        {QStringLiteral("genre"), QStringLiteral("Nom du genre de l'étiquette ID3 (Other s'il est inconnu)."),
         QStringLiteral("NOM")},
        {QStringLiteral("comment"), QStringLiteral("Commentaire de l'étiquette ID3."), QStringLiteral("TEXTE")},
        {QStringLiteral("cover"),
         QStringLiteral("Image JPEG ou PNG servant de pochette aux fichiers de --tracks (intégrée et enregistrée "
                        "selon les préférences)."),
         QStringLiteral("FICHIER")},
        {QStringLiteral("no-replaygain"),
         QStringLiteral("Ne calcule pas le ReplayGain (volume sonore de chaque piste et de l'album) des fichiers "
                        "de --tracks.")},
    });
    help.addSection(QStringLiteral("Recherche de l'album"));
    help.addOptions({
        {QStringLiteral("server"), QStringLiteral("Adresse du serveur CDDB de --cddb."), QStringLiteral("URL")},
        {QStringLiteral("mb-server"), QStringLiteral("Adresse du serveur MusicBrainz de --musicbrainz."),
         QStringLiteral("URL")},
        {QStringLiteral("email"),
         QStringLiteral("Adresse électronique donnée au serveur CDDB et à MusicBrainz (par défaut, celle des "
                        "préférences)."),
         QStringLiteral("ADRESSE")},
        {QStringLiteral("release"),
         QStringLiteral("Numéro de l'album retenu par --cddb ou --musicbrainz quand ils en trouvent plusieurs "
                        "(1 par défaut), tel que le donne leur liste numérotée."),
         QStringLiteral("N")},
        {QStringLiteral("cover-server"),
         QStringLiteral("Adresse du Cover Art Archive, où --musicbrainz prend la pochette de l'album "
                        "(https://coverartarchive.org par défaut)."),
         QStringLiteral("URL")},
    });
    help.addSection(QStringLiteral("Vérification"));
    help.addOptions({
        {QStringLiteral("accuraterip-server"),
         QStringLiteral("Adresse de la base AccurateRip (http://www.accuraterip.com/accuraterip par défaut)."),
         QStringLiteral("URL")},
        {QStringLiteral("no-accuraterip"), QStringLiteral("Ne consulte pas la base AccurateRip.")},
        {QStringLiteral("ctdb-server"),
         QStringLiteral("Adresse de la base CTDB (https://db.cue.tools par défaut)."), QStringLiteral("URL")},
        {QStringLiteral("no-ctdb"), QStringLiteral("Ne consulte pas la base CTDB.")},
        {QStringLiteral("no-ctdb-repair"),
         QStringLiteral("Ne répare pas les fichiers d'un disque que la base CTDB connaît mais trouve différent ou "
                        "endommagé. La réparation, faite par défaut, corrige selon la parité de l'entrée (npar 8 : "
                        "jusqu'à 40 secteurs d'affilée, 0,53 s ; npar 16 : jusqu'à 80, 1,07 s) et ne réécrit les "
                        "pistes que si le disque réparé est exact.")},
    });
    help.addSection(QStringLiteral("Aide"));
    help.addStandardOptions();
    help.addExitCode(0, QStringLiteral("Réussite ; après un rippage ou --repair, rien n'y contredit les bases (un "
                                       "disque réparé selon CTDB puis exact compris)."));
    help.addExitCode(1, QStringLiteral("Échec : lecteur, image, fichier ou serveur inutilisable, conversion manquée, "
                                       "décalage introuvable, ou vérification abandonnée sur un signal."));
    help.addExitCode(2, QStringLiteral("Arguments incorrects."));
    help.addExitCode(3, QStringLiteral("Des secteurs n'ont pas pu être lus et aucune réparation ne les a rétablis."));
    help.addExitCode(4, QStringLiteral("Une piste diffère de la base AccurateRip ou CTDB qui la connaît sans "
                                       "qu'aucune des deux la confirme, ou CTDB trouve le disque différent sans "
                                       "qu'AccurateRip confirme chaque piste, et la réparation n'a pas pu le rendre "
                                       "exact."));
    addExamples(help);
}

QString RipOptions::NoCommandText()
{
    QStringList names;
    for (const QCommandLineOption& o : commandOptions())
        names << QStringLiteral("--") + o.names().first();
    const QString last = names.takeLast();
    return QStringLiteral("Aucune commande : %1 ou %2.").arg(names.join(QStringLiteral(", ")), last);
}

int RipOptions::Int(const QString& name) const
{
    bool ok = false;
    const int value = m_parser.value(name).toInt(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("--%1 attend un nombre entier, pas « %2 ».").arg(name, m_parser.value(name)));
    return value;
}

uint32_t RipOptions::Bitrate() const
{
    // The bitrates of MPEG-1 Layer III: the encoder would round any other
    // value to one of them without a word.
    static const QList<int> bitrates = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    const int value = Int(QStringLiteral("bitrate"));
    if (!bitrates.contains(value)) {
        QStringList allowed;
        for (int b : bitrates)
            allowed << QString::number(b);
        throw UsageError(QStringLiteral("--bitrate attend l'un des débits MP3 %1 (en kbit/s), pas %2.")
                             .arg(allowed.join(QStringLiteral(", ")))
                             .arg(value));
    }
    return static_cast<uint32_t>(value);
}

QList<int> RipOptions::TrackList() const
{
    // "1,3-5": single numbers and ranges; a CD has at most 99 tracks, and
    // 0 is the hidden track before track 1.
    constexpr int LastTrackNumber = 99;
    QList<int> numbers;
    for (const QString& part : m_parser.value(QStringLiteral("tracks")).split(',', Qt::SkipEmptyParts)) {
        const QStringList bounds = part.split('-');
        bool okFirst = false, okLast = true;
        const int first = bounds.first().trimmed().toInt(&okFirst);
        const int last = bounds.size() == 2 ? bounds.last().trimmed().toInt(&okLast) : first;
        if (!okFirst || !okLast || bounds.size() > 2 || first > last || first < 0 || last > LastTrackNumber)
            throw UsageError(QStringLiteral("Liste de pistes incorrecte : « %1 ».").arg(part));
        for (int n = first; n <= last; ++n)
            if (!numbers.contains(n))
                numbers << n;
    }
    if (numbers.isEmpty())
        throw UsageError(QStringLiteral("Indiquez les pistes avec --tracks, par exemple 1,3-5."));
    return numbers;
}

std::optional<CddbCommands::Query> RipOptions::Lookup() const
{
    const QString release = QStringLiteral("release");
    const bool cddb = m_parser.isSet(QStringLiteral("cddb"));
    if (!cddb && !m_parser.isSet(QStringLiteral("musicbrainz"))) {
        if (m_parser.isSet(release))
            throw UsageError(QStringLiteral("--release ne s'emploie qu'avec --cddb ou --musicbrainz."));
        return std::nullopt;
    }
    CddbCommands::Query query;
    query.source = cddb ? DiscLookup::Source::Cddb : DiscLookup::Source::MusicBrainz;
    query.server = m_parser.value(cddb ? QStringLiteral("server") : QStringLiteral("mb-server"));
    query.email = m_parser.value(QStringLiteral("email"));
    if (m_parser.isSet(release))
        query.release = Int(release);
    if (query.release < 1)
        throw UsageError(QStringLiteral("--release attend un numéro d'album à partir de 1, pas %1.").arg(query.release));
    return query;
}

int RipOptions::Encoders() const
{
    if (!m_parser.isSet(QStringLiteral("encoders")))
        return ParallelTrackEncoder::DefaultEncoders();
    const int count = Int(QStringLiteral("encoders"));
    if (count < 0 || count > MaxEncoders)
        throw UsageError(QStringLiteral("--encoders attend un nombre de 0 à %1.").arg(MaxEncoders));
    return count;
}

namespace {
const char* const FormatOptions[] = {"mp3", "wav", "pcm", "flac", "opus", "vorbis"};
}

bool RipOptions::FormatChosen() const
{
    return std::any_of(std::begin(FormatOptions), std::end(FormatOptions),
                       [this](const char* f) { return m_parser.isSet(QString::fromLatin1(f)); });
}

bool RipOptions::Alone(const char* format) const
{
    if (!m_parser.isSet(QString::fromLatin1(format)))
        return false;
    for (const char* other : FormatOptions)
        if (qstrcmp(other, format) != 0 && m_parser.isSet(QString::fromLatin1(other)))
            throw UsageError(QStringLiteral("--%1 ne se combine pas avec --%2.").arg(format, other));
    return true;
}

int RipOptions::SettingOf(const Setting& setting) const
{
    const QString name = QString::fromLatin1(setting.name);
    if (!m_parser.isSet(name))
        return setting.fallback;
    if (!m_parser.isSet(QString::fromLatin1(setting.format)))
        throw UsageError(QStringLiteral("--%1 ne s'emploie qu'avec --%2.").arg(name, setting.format));
    const int value = Int(name);
    if (value < setting.min || value > setting.max)
        throw UsageError(QStringLiteral("--%1 attend %2 de %3 à %4, pas %5.")
                             .arg(name, QString::fromUtf8(setting.what))
                             .arg(setting.min)
                             .arg(setting.max)
                             .arg(value));
    return value;
}

int RipOptions::FlacLevel() const
{
    return SettingOf({"flac", "flac-level", "un niveau", FlacEncoder::MinLevel, FlacEncoder::MaxLevel,
                      FlacEncoder::DefaultLevel});
}

int RipOptions::OpusKbps() const
{
    return SettingOf({"opus", "opus-bitrate", "un débit", OpusEncoder::MinKbps, OpusEncoder::MaxKbps,
                      OpusEncoder::DefaultKbps});
}

int RipOptions::VorbisQuality() const
{
    return SettingOf({"vorbis", "vorbis-quality", "une qualité", VorbisEncoder::MinQuality, VorbisEncoder::MaxQuality,
                      VorbisEncoder::DefaultQuality});
}

int RipOptions::Passes() const
{
    if (!m_parser.isSet(QStringLiteral("passes")))
        return 1;
    const int passes = Int(QStringLiteral("passes"));
    if (passes < 1 || passes > Settings::MaxPasses)
        throw UsageError(QStringLiteral("--passes attend un nombre de 1 à %1.").arg(Settings::MaxPasses));
    return passes;
}

QString RipOptions::Folder() const
{
    const QString folder = m_parser.value(QStringLiteral("dir"));
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

NameTemplate RipOptions::Names() const
{
    if (!m_parser.isSet(QStringLiteral("name")))
        return NameTemplate(Settings().FileNameTemplate());
    const NameTemplate names(m_parser.value(QStringLiteral("name")));
    if (!names.Error().isEmpty())
        throw UsageError(QStringLiteral("--name : ") + names.Error());
    return names;
}
