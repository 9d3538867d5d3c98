#pragma once
#include "platform/ui/CalvenorDialog.h"
#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <memory>

class CoverFetch;
struct CoverImage;

class QComboBox;
class QLabel;
class QPushButton;

// Lets the user pick one of the discs a CDDB server matched. "Annuler" and
// Escape choose none. A MusicBrainz release shows its cover beside the list
// as soon as the Cover Art Archive has given it.
class TChooseAlbum : public CalvenorDialog {
    Q_OBJECT
public:
    TChooseAlbum(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);
    ~TChooseAlbum() override;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Image2 = nullptr;
    QComboBox* Liste = nullptr;
    QPushButton* AnnulerBTN = nullptr;
    QPushButton* ChoiseBTN = nullptr;
    QLabel* Pochette = nullptr;

    // One line per choice, the first one selected; releaseIds gives each
    // line's MusicBrainz release, empty for a CDDB disc.
    void SetChoices(const QStringList& lines, const QStringList& releaseIds = {});
    // Empty: the Cover Art Archive's own server.
    void SetCoverServer(const QString& url);
    // The selected line's position; -1 when none.
    int ChosenIndex() const;
    // The line shown as selected, empty when none.
    QString Chosen() const;

    void Image2Click();
    void AnnulerBTNClick();
    void ChoiseBTNClick();
    void reject() override;

private:
    void showCover();
    void coverFetched(const QString& releaseId, const CoverImage& cover);

    std::unique_ptr<CoverFetch> m_covers;
    QStringList m_releaseIds;
    // Covers already fetched, a null picture for a release without one.
    QHash<QString, QPixmap> m_fetched;
};
