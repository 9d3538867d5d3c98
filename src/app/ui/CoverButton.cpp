#include "app/ui/CoverButton.h"
#include "app/AlbumCover.h"
#include "disc/AlbumSheet.h"
#include "platform/ErrorDisplay.h"
#include "platform/IShell.h"
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>
#include <QToolButton>
#include <QUrl>

const QString CoverButton::ChooseText = QStringLiteral("Choisir une pochette…");

namespace {
const QString NoCover = QStringLiteral("Pas de\npochette");
// The release has one, which could not be fetched: the tip says why.
const QString NotFetched = QStringLiteral("Pochette\nnon\nrécupérée");
const QString Hint = CoverButton::ChooseText + QStringLiteral(" Vous pouvez aussi déposer une image sur la fenêtre.");

// The first local file a drag carries; empty when it carries none.
QString droppedFile(const QMimeData* data)
{
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}
} // namespace

CoverButton::CoverButton(QToolButton& button, QWidget& window, AlbumSheet& sheet, AlbumCover& cover,
                         const PlatformServices& services)
    : QObject(&button), m_button(button), m_sheet(sheet), m_cover(cover), m_services(services)
{
    auto* choose = new QAction(ChooseText, &m_button);
    m_button.addAction(choose);
    m_button.setContextMenuPolicy(Qt::ActionsContextMenu);
    m_button.setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_button.setIconSize(m_button.size() - QSize(8, 8));
    m_button.setAccessibleName(QStringLiteral("Pochette de l'album"));
    connect(&m_button, &QToolButton::clicked, this, [this] { Choose(); });
    connect(choose, &QAction::triggered, this, [this] { Choose(); });
    connect(&m_sheet, &AlbumSheet::FrontCoverChanged, this, [this] { show(); });
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    show();
}

void CoverButton::Choose()
{
    const std::optional<QString> file =
        m_services.shell->chooseFile(ChooseText, QStringLiteral("Images (*.jpg *.jpeg *.png)"));
    if (file)
        Take(*file);
}

void CoverButton::Take(const QString& path)
{
    ErrorDisplay::Run(*m_services.dialogs, [&] { m_cover.TakeFile(path); });
}

void CoverButton::show()
{
    const AlbumSheet::Album& album = m_sheet.AlbumValues();
    QPixmap picture;
    if (!album.frontCover.isEmpty())
        picture.loadFromData(album.frontCover);
    const bool failed = picture.isNull() && !album.frontCoverFailure.isEmpty();
    m_button.setIcon(picture.isNull() ? QIcon() : QIcon(picture));
    m_button.setText(picture.isNull() ? (failed ? NotFetched : NoCover) : QString());
    m_button.setToolTip(failed ? QStringLiteral("Pochette non récupérée (%1). ").arg(album.frontCoverFailure) + Hint
                               : Hint);
    m_button.setToolButtonStyle(picture.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
}

bool CoverButton::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (!droppedFile(drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = droppedFile(drop->mimeData());
        if (!file.isEmpty()) {
            drop->acceptProposedAction();
            // An error box waits until the drag is over.
            QMetaObject::invokeMethod(this, [this, file] { Take(file); }, Qt::QueuedConnection);
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}
