#include "app/ui/MainFormLayout.h"
#include "app/ui/TMain_Form.h"
#include "app/ui/TrackListModel.h"
#include "app/ui/TrackListRoom.h"
#include "platform/ui/Anchors.h"
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace {
constexpr int ClientWidth = 700;
constexpr int ClientHeight = 524;
constexpr int MenuHeight = 24;
const QString NoDiscHint = QStringLiteral("Pas de CD dans le lecteur");

QLabel* picture(QWidget* parent, const QString& name, QRect geometry)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(QStringLiteral(":/images/%1.png").arg(name)));
    label->setGeometry(geometry);
    return label;
}

QLabel* caption(QWidget* parent, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QToolButton* glyphButton(QWidget* parent, const QString& image, const QString& hint, QRect geometry)
{
    auto* b = new QToolButton(parent);
    b->setIcon(QIcon(QStringLiteral(":/images/%1.png").arg(image)));
    b->setToolTip(hint);
    b->setGeometry(geometry);
    return b;
}

QPushButton* pushButton(QWidget* parent, const QString& text, const QString& hint, QRect geometry)
{
    auto* b = new QPushButton(text, parent);
    b->setToolTip(hint);
    b->setGeometry(geometry);
    return b;
}
} // namespace

void MainFormLayout::BuildMenu(TMain_Form& f)
{
    QMenuBar* bar = f.menuBar();
    bar->setFixedHeight(MenuHeight);
    QMenu* main = bar->addMenu(QStringLiteral("&Calvenor"));
    f.Calvenor_RIPPER = main->addAction(QIcon(QStringLiteral(":/images/action0.png")), QStringLiteral("&Ripper"));
    f.OpenImage = main->addAction(QStringLiteral("&Ouvrir une image de disque…"));
    f.OpenImage->setShortcut(QKeySequence::Open);
    f.Calvenor_Preferences = main->addAction(QStringLiteral("Préférences"));
    main->addSeparator();
    f.Calvenor_Quit = main->addAction(QIcon(QStringLiteral(":/images/action1.png")), QStringLiteral("&Quitter"));
    // Alt+C opens the "Calvenor" menu; the converter's takes Alt+V.
    QMenu* converter = bar->addMenu(QStringLiteral("Con&vertisseur"));
    f.Action1 = converter->addAction(QStringLiteral("Convertisseur WAV-MP3"));
    QMenu* help = bar->addMenu(QStringLiteral("&?"));
    f.Action4 = help->addAction(QStringLiteral("Aide"));
    f.Action4->setShortcut(QKeySequence(Qt::Key_F1));
    f.Action4->setShortcutContext(Qt::ApplicationShortcut);
    help->addSeparator();
    f.HELP_ABOUT = help->addAction(QStringLiteral("A &propos de Calvenor"));
}

void MainFormLayout::BuildControls(TMain_Form& f)
{
    auto* client = new QWidget(&f);
    f.setCentralWidget(client);
    // The size described is the first and the smallest; the list takes what the window gains.
    f.setMinimumSize(ClientWidth, ClientHeight);
    f.resize(ClientWidth, ClientHeight);
    client->resize(ClientWidth, ClientHeight - MenuHeight);

    QLabel* background = picture(client, QStringLiteral("background"), QRect(0, 0, ClientWidth, ClientHeight - MenuHeight));
    background->setScaledContents(true);
    f.Label5 = caption(client, QStringLiteral("RIPPAGE"), QRect(24, 8, 200, 30));
    QFont heading = f.Label5->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 6);
    f.Label5->setFont(heading);
    f.Label5->setStyleSheet(QStringLiteral("color: #2d5d9f;"));
    f.RED_CD = picture(client, QStringLiteral("red_cd"), QRect(628, 2, 48, 48));
    f.RED_CD->setToolTip(NoDiscHint);
    f.GREEN_CD = picture(client, QStringLiteral("green_cd"), QRect(628, 2, 48, 48));
    f.GREEN_CD->hide();

    f.DrivesList = new QComboBox(client);
    // A choice list: a typed text could name no drive and empty the track list.
    f.DrivesList->setPlaceholderText(QStringLiteral("Lecteurs de CD"));
    f.DrivesList->setGeometry(24, 52, 160, 24);

    f.MP3Ripp = new QRadioButton(QStringLiteral("Ripper en MP3"), client);
    f.MP3Ripp->setGeometry(210, 52, 120, 24);
    f.MP3Ripp->setChecked(true);
    f.WavRipp = new QRadioButton(QStringLiteral("Ripper en WAV"), client);
    f.WavRipp->setGeometry(340, 52, 120, 24);
    f.Button1 = pushButton(client, QStringLiteral("Options"), QStringLiteral("Modifier les options d'encodage mp3"),
                         QRect(480, 50, 90, 28));
    f.Button2 = pushButton(client, QStringLiteral("Ripper"), QStringLiteral("Lancer le rippage des pistes sélectionnées"),
                         QRect(580, 50, 96, 28));
    // Under the other two, beside the list's caption; after the buttons in the tab order, as it is read.
    f.FlacRipp = new QRadioButton(QStringLiteral("Ripper en FLAC"), client);
    f.FlacRipp->setGeometry(340, 80, 130, 22);

    f.Label1 = caption(client, QStringLiteral("Liste des pistes rippables :"), QRect(24, 84, 300, 20));
    f.CibleFiles = new QTreeView(client);
    f.CibleFiles->setGeometry(24, 104, 604, 224);
    f.CibleFiles->setRootIsDecorated(false);
    f.CibleFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    f.CibleFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    f.CibleFiles->setSortingEnabled(false);
    f.CibleFiles->header()->setSectionsClickable(false);
    f.CibleFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long target paths keep their file name in view.
    f.CibleFiles->setTextElideMode(Qt::ElideMiddle);

    f.Play_Gray = picture(client, QStringLiteral("play_gray"), QRect(638, 120, 32, 32));
    f.Pause_Gray = picture(client, QStringLiteral("pause_gray"), QRect(638, 160, 32, 32));
    f.Stop_Gray = picture(client, QStringLiteral("stop_gray"), QRect(638, 200, 32, 32));
    for (QLabel* gray : {f.Play_Gray, f.Pause_Gray, f.Stop_Gray})
        gray->setCursor(Qt::ForbiddenCursor);
    f.Play_Blue = picture(client, QStringLiteral("play_blue"), QRect(638, 120, 32, 32));
    f.Pause_Blue = picture(client, QStringLiteral("pause_blue"), QRect(638, 160, 32, 32));
    f.Stop_Blue = picture(client, QStringLiteral("stop_blue"), QRect(638, 200, 32, 32));
    for (QLabel* blue : {f.Play_Blue, f.Pause_Blue, f.Stop_Blue}) {
        blue->setCursor(Qt::PointingHandCursor);
        blue->hide();
    }

    f.Label6 = caption(client, QStringLiteral("Répertoire cible :"), QRect(24, 338, 120, 24));
    f.DirectoryText = new QLineEdit(client);
    f.DirectoryText->setGeometry(144, 338, 400, 24);
    f.BitBtn4 = glyphButton(client, QStringLiteral("folder_up"), QStringLiteral("Remonter au dossier parent"),
                          QRect(550, 338, 24, 24));
    f.BitBtn3 = glyphButton(client, QStringLiteral("folder_browse"), QStringLiteral("Explorer les dossiers"),
                          QRect(578, 338, 24, 24));
    f.BitBtn5 = glyphButton(client, QStringLiteral("folder_open"), QStringLiteral("Ouvrir le répertoire cible"),
                          QRect(606, 338, 24, 24));

    f.EditTagsButton = pushButton(client, QStringLiteral("Editer les tags"),
                                QStringLiteral("Définir les tags du fichier mp3 correspondant."), QRect(24, 372, 140, 28));
    f.BitBtn1 = pushButton(client, QStringLiteral("Lancer une requete CDDB"),
                         QStringLiteral("Chercher des informations sur le CD sur un serveur CDDB."),
                         QRect(172, 372, 190, 28));
    f.BitBtn2 = pushButton(client, QStringLiteral("Tout sélectionner"), QStringLiteral("Sélectionner toutes les pistes."),
                         QRect(370, 372, 140, 28));
    f.DeleteItemButton = pushButton(client, QStringLiteral("Tout désélectionner"),
                                  QStringLiteral("Désélectionner toutes les pistes."), QRect(518, 372, 150, 28));

    f.Label2 = caption(client, QStringLiteral("Avancement :"), QRect(24, 410, 120, 20));
    f.Label3 = caption(client, QStringLiteral("Total :"), QRect(24, 434, 60, 20));
    f.Label4 = caption(client, QStringLiteral("Piste :"), QRect(24, 460, 60, 20));
    f.TotalProgress = new QProgressBar(client);
    f.TotalProgress->setGeometry(90, 436, 488, 16);
    f.localProgress = new QProgressBar(client);
    f.localProgress->setGeometry(90, 462, 488, 16);
    // Beside the progress, under the album's tracks and their buttons.
    f.CoverPicture = new QToolButton(client);
    f.CoverPicture->setGeometry(588, 406, 88, 88);
    for (QProgressBar* bar : {f.TotalProgress, f.localProgress}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
    }

    f.Timer1 = new QTimer(&f);
    f.Timer1->setInterval(1000);
    NameControls(f);
    anchor(f, *client, background);
}

void MainFormLayout::anchor(TMain_Form& f, QWidget& client, QWidget* background)
{
    auto* anchors = new Anchors(client, QSize(ClientWidth, ClientHeight - MenuHeight));
    using A = Anchors;
    const std::pair<QList<QWidget*>, int> pins[] = {
        {{background, f.CibleFiles}, A::All},
        {{f.RED_CD, f.GREEN_CD, f.Button1, f.Button2, f.Play_Gray, f.Pause_Gray, f.Stop_Gray, f.Play_Blue,
          f.Pause_Blue, f.Stop_Blue},
         A::Top | A::Right},
        {{f.Label6, f.EditTagsButton, f.BitBtn1, f.BitBtn2, f.DeleteItemButton, f.Label2, f.Label3, f.Label4},
         A::Left | A::Bottom},
        {{f.DirectoryText, f.TotalProgress, f.localProgress}, A::Left | A::Right | A::Bottom},
        {{f.BitBtn4, f.BitBtn3, f.BitBtn5, f.CoverPicture}, A::Right | A::Bottom},
    };
    for (const auto& [widgets, sides] : pins)
        for (QWidget* w : widgets)
            anchors->Pin(w, sides);
}

void MainFormLayout::ShowTracks(TMain_Form& f, QAbstractItemModel& tracks)
{
    f.CibleFiles->setModel(&tracks);
    // The label column holds the tick, the result picture and "Piste NN".
    const int widths[] = {100, 45, 200, 100, 100, 100, 50, 75, 100, 90};
    for (int c = 0; c < tracks.columnCount(); ++c)
        f.CibleFiles->setColumnWidth(c, widths[c]);
    f.ListRoom = new TrackListRoom(*f.CibleFiles, TrackListModel::ColumnOf(AlbumTrack::Title),
                                   TrackListModel::ColumnOf(AlbumTrack::Target));
}

void MainFormLayout::Keep(const TMain_Form& f, RememberedChoices::Choices& choices)
{
    choices.maximised = f.isMaximized();
    choices.windowSize = (choices.maximised ? f.normalGeometry() : f.geometry()).size();
    choices.columnWidths.clear();
    for (int c = 0; c < f.CibleFiles->model()->columnCount(); ++c)
        choices.columnWidths << f.CibleFiles->columnWidth(c);
}

void MainFormLayout::Restore(TMain_Form& f, const RememberedChoices::Choices& choices)
{
    const QSize size = choices.windowSize.isValid() ? choices.windowSize.expandedTo(f.minimumSize()) : f.size();
    const int listWidth = f.CibleFiles->width() + size.width() - f.width();
    f.resize(size);
    const int columns = f.CibleFiles->model()->columnCount();
    for (int c = 0; c < columns && c < choices.columnWidths.size(); ++c)
        f.CibleFiles->setColumnWidth(c, choices.columnWidths.at(c));
    // Widths kept were those of a list that wide; without them, the list shares what it gained.
    if (!choices.columnWidths.isEmpty())
        f.ListRoom->SetFor(listWidth);
    if (choices.maximised)
        f.setWindowState(f.windowState() | Qt::WindowMaximized);
}

void MainFormLayout::NameControls(TMain_Form& f)
{
    const auto name = [](QWidget* w, const QString& text, const QString& description = {}) {
        w->setAccessibleName(text);
        if (!description.isEmpty())
            w->setAccessibleDescription(description);
    };
    name(f.RED_CD, QStringLiteral("Pas de CD"), QStringLiteral("Le lecteur choisi ne contient pas de CD audio."));
    name(f.GREEN_CD, QStringLiteral("CD présent"), QStringLiteral("Le CD du lecteur choisi est lu ; ses pistes sont listées."));
    name(f.DrivesList, QStringLiteral("Lecteur de CD"));
    name(f.CibleFiles, QStringLiteral("Liste des pistes rippables"), QStringLiteral("Cochez les pistes à ripper."));
    const QString choose = QStringLiteral("Choisissez d'abord une piste dans la liste.");
    name(f.Play_Blue, QStringLiteral("Lire la piste"), QStringLiteral("Lit la piste choisie du CD."));
    name(f.Play_Gray, QStringLiteral("Lire la piste (indisponible)"), choose);
    name(f.Pause_Blue, QStringLiteral("Avancer"), QStringLiteral("Avance de dix secondes dans la piste lue."));
    name(f.Pause_Gray, QStringLiteral("Avancer (indisponible)"), choose);
    name(f.Stop_Blue, QStringLiteral("Arrêter la lecture"), QStringLiteral("Arrête la lecture de la piste."));
    name(f.Stop_Gray, QStringLiteral("Arrêter la lecture (indisponible)"), choose);
    name(f.DirectoryText, QStringLiteral("Répertoire cible"));
    name(f.BitBtn4, QStringLiteral("Dossier parent"), QStringLiteral("Remonte le répertoire cible au dossier parent."));
    name(f.BitBtn3, QStringLiteral("Parcourir"), QStringLiteral("Choisit le répertoire cible dans les dossiers."));
    name(f.BitBtn5, QStringLiteral("Ouvrir le répertoire cible"),
         QStringLiteral("Ouvre le répertoire cible dans le gestionnaire de fichiers."));
    name(f.TotalProgress, QStringLiteral("Avancement total"));
    name(f.localProgress, QStringLiteral("Avancement de la piste"));
}
