#pragma once
#include "disc/AccurateRipDiscId.h"
#include "rip/AccurateRipResponse.h"
#include "rip/CtdbDatabase.h"
#include "rip/CtdbVerdict.h"
#include "rip/ReplayGain.h"
#include "rip/TrackRipResult.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class AccurateRipDatabase;
class CtdbDatabase;
class DiscToc;
class CalvenorError;
class AccurateRipDiscId;

// The tracks of a rip run as the ripper delivered them, their AccurateRip
// and CUETools database verdicts, and the French lines that tell them.
class RipReport {
public:
    void Add(const TrackRipResult& track) { m_tracks << track; }
    const QList<TrackRipResult>& Tracks() const { return m_tracks; }
    // The track with this number on the disc; null when the run has none.
    const TrackRipResult* Track(int number) const;
    TrackRipResult* Track(int number);
    // Every audio track of the table was ripped to its end into a file.
    bool RipsWholeDisc(const DiscToc& toc) const;
    // Read to its last sector into a file, whatever sectors were lost.
    static bool RippedToEnd(const TrackRipResult& track);

    // One request for the whole disc. A database that cannot be reached
    // leaves the tracks unchecked and says why in VerificationNote().
    void Verify(AccurateRipDatabase& database, const AccurateRipDiscId& disc);
    // The database is not asked; the reason is kept for the log.
    void SkipVerification(const QString& reason) { m_note = reason; }
    // Empty when the database answered.
    const QString& VerificationNote() const { return m_note; }
    // A stop gave up the request: each file written is "non vérifiée".
    bool VerificationStopped() const { return m_verificationStopped; }
    // What the AccurateRip database answered for the disc; none when it was
    // not asked or did not answer.
    const QList<AccurateRipResponse>& AccurateRipResponses() const { return m_responses; }
    const std::optional<AccurateRipDiscId>& AccurateRipDisc() const { return m_accurateRipDisc; }

    // The CUETools database's word on the whole disc and on each of its
    // tracks, asked only when every audio track of the table was ripped whole;
    // else nothing is sent and DiscVerificationNote() says why.
    void VerifyDisc(CtdbDatabase& database, const DiscToc& toc);
    void SkipDiscVerification(const QString& reason) { m_discNote = reason; }
    const QString& DiscVerificationNote() const { return m_discNote; }
    const CtdbVerdict& DiscVerdict() const { return m_disc; }
    void SetDiscVerdict(const CtdbVerdict& verdict) { m_disc = verdict; }
    // The CUETools database's entries for the disc, as VerifyDisc found them.
    const QList<CtdbDatabase::Entry>& CtdbEntries() const { return m_entries; }
    // What the search of other pressings or a repair from the database's
    // parity could not do ("Disque : non réparé selon CTDB : ..."); told
    // after the disc's verdict.
    void SetProofNote(const QString& line) { m_proofNote = line; }
    const QString& ProofNote() const { return m_proofNote; }
    // The disc's table of contents as the CUETools database's lookup gives it,
    // for the log: a later repair of the rip reads it back.
    void SetDiscTable(const QString& table) { m_discTable = table; }
    const QString& DiscTable() const { return m_discTable; }
    // The album's ReplayGain loudness when the run wrote it into the files; none otherwise.
    void SetAlbumLoudness(const std::optional<ReplayGain::Loudness>& album) { m_album = album; }
    const std::optional<ReplayGain::Loudness>& AlbumLoudness() const { return m_album; }
    static QString NotWholeDisc() { return QStringLiteral("non consultée : les pistes du disque n'ont pas toutes été lues en entier"); }

    // "Piste 02 : 100 secteurs illisibles (03:27.20 – 03:28.45)", one per damaged track.
    QStringList DamageLines() const;
    // "Piste 02 : exacte (AccurateRip v2, confiance 12)", one per checked
    // track; unless CTDB calls the disc exact, "Piste 02 : exacte selon CTDB
    // (confiance 4)" or "... différente de la base CTDB" per track it tells
    // of, else each track its parity mended; then the disc's CTDB verdict
    // when it has one, the proof's note, and PressingLine.
    QStringList VerdictLines() const;
    // What a match with another pressing proves, when a verdict is one; empty otherwise.
    QString PressingLine() const;
    // "Piste 03 interrompue à 07:01 ; le fichier est incomplet.", one per track stopped before its end.
    QStringList InterruptionLines() const;
    // "Piste 04 : deux lectures identiques après 3 lectures", one per track
    // read several times (TrackReads) to its end.
    QStringList PassLines() const;
    // "Piste 05 : pré-accentuation (à désaccentuer à la lecture)", one per
    // ripped track the disc flags so.
    QStringList EmphasisLines() const;
    // What the summaries tell of the tracks read whole: PassLines, VerdictLines, then EmphasisLines.
    QStringList ProofLines() const { return PassLines() + VerdictLines() + EmphasisLines(); }
    // The tracks ripped to their end: a stopped track does not count.
    int RippedCount() const;
    // A track could not be read, or lost sectors that no repair mended.
    bool LostSectors() const;
    // Every sector was read but a track differs (Differs), or the CUETools
    // database calls the disc different and AccurateRip does not prove each track.
    bool DiffersFromKnownDisc() const;
    // AccurateRip or the CUETools database holds the track's audio.
    static bool Proven(const TrackRipResult& track);
    // Not proven, and a database that knows the track holds other audio.
    static bool Differs(const TrackRipResult& track);

    // The damage of one track, empty when it was read whole.
    static QString DamageLine(const TrackRipResult& track);
    // ", réparés selon CTDB" after the damage of a track whose lost sectors a
    // repair mended; empty otherwise.
    static QString MendedText(const TrackRipResult& track);
    // Where the unread sectors lie in the track: "03:27.20 – 03:28.45, ...".
    static QString UnreadSpans(const TrackRipResult& track);
    // A length or a position in sectors as mm:ss.ff (75 sectors a second).
    static QString Time(int32_t sectors);
    // The same as mm:ss.
    static QString ShortTime(int32_t sectors);
    // A duration in seconds as mm:ss.
    static QString Clock(int seconds);
    static QString InterruptionLine(const TrackRipResult& track);
    // What became of a track in a word or two: "exacte", "différente",
    // "absente", "secteurs illisibles", "réparée", "interrompue"...
    static QString ResultText(const TrackRipResult& track);
    // What a stopped track left: "le fichier est incomplet", or no file at all.
    static QString InterruptedFile(const TrackRipResult& track);
    // The same as PassLines' without the track; empty for a lone read.
    static QString PassText(const TrackRipResult& track);
    static QString EmphasisText() { return QStringLiteral("pré-accentuation (à désaccentuer à la lecture)"); }
    // "Piste NN"
    static QString TrackLabel(int trackNum);

private:
    void setVerdicts(const std::function<AccurateRipVerdict(const TrackRipResult&)>& verdictOf);
    static QString unreachedNote(const CalvenorError& error);

    QList<TrackRipResult> m_tracks;
    QString m_note;
    bool m_verificationStopped = false;
    CtdbVerdict m_disc;
    QString m_discNote;
    QList<AccurateRipResponse> m_responses;
    std::optional<AccurateRipDiscId> m_accurateRipDisc;
    QList<CtdbDatabase::Entry> m_entries;
    QString m_proofNote;
    QString m_discTable;
    std::optional<ReplayGain::Loudness> m_album;
};
