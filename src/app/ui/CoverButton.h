#pragma once
#include "platform/PlatformServices.h"
#include <QObject>

class AlbumCover;
class AlbumSheet;
class QToolButton;
class QWidget;

// The album's front cover beside the track list: the picture follows the
// sheet; a click or its menu's "Choisir une pochette…" asks for an image
// file, and an image file dropped on the window is taken too. A file that is
// no readable image is told in an error box.
class CoverButton : public QObject {
    Q_OBJECT
public:
    static const QString ChooseText; // "Choisir une pochette…"

    CoverButton(QToolButton& button, QWidget& window, AlbumSheet& sheet, AlbumCover& cover,
                const PlatformServices& services);

    // Asks for a file and takes it.
    void Choose();
    // The file as the cover, or its error in a box.
    void Take(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show();

    QToolButton& m_button;
    AlbumSheet& m_sheet;
    AlbumCover& m_cover;
    PlatformServices m_services;
};
