#include "app/ui/TrackListModel.h"
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "rip/RipReport.h"
#include <QApplication>
#include <QStringList>
#include <QStyle>

namespace {
enum Column { LabelColumn = 0, LengthColumn = 1, FirstValueColumn = 2 };

const QStringList& headers()
{
    static const QStringList names{
        QStringLiteral("Piste"), QStringLiteral("Durée"), QStringLiteral("Adresse cible"), QStringLiteral("Titre"),
        QStringLiteral("Artiste"), QStringLiteral("Album"), QStringLiteral("Année"), QStringLiteral("Genre"),
        QStringLiteral("Commentaire"), QStringLiteral("Résultat")};
    return names;
}

const int ResultColumn = static_cast<int>(headers().size()) - 1;

// Columns from FirstValueColumn show the track values in their order.
AlbumTrack::Value valueOf(int column)
{
    return static_cast<AlbumTrack::Value>(column - FirstValueColumn);
}

} // namespace

int TrackListModel::ColumnOf(AlbumTrack::Value value)
{
    return FirstValueColumn + value;
}

namespace {
QIcon iconOf(const TrackRipResult& result)
{
    QStyle::StandardPixmap picture = QStyle::SP_MessageBoxInformation;
    if (result.Interrupted || !result.FileWritten || result.LostSectors())
        picture = QStyle::SP_MessageBoxCritical;
    else if (RipReport::Differs(result))
        picture = QStyle::SP_MessageBoxWarning;
    else if (RipReport::Proven(result))
        picture = QStyle::SP_DialogApplyButton;
    return QApplication::style()->standardIcon(picture);
}
} // namespace

TrackListModel::TrackListModel(AlbumSheet& sheet, const DiscToc& toc, QObject* parent)
    : QAbstractTableModel(parent), m_sheet(sheet), m_toc(toc)
{
    connect(&m_sheet, &AlbumSheet::TracksReset, this, [this] {
        beginResetModel();
        m_results.clear();
        endResetModel();
    });
    connect(&m_sheet, &AlbumSheet::TrackChanged, this, &TrackListModel::trackChanged);
}

int TrackListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_sheet.TrackCount();
}

int TrackListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headers().size());
}

QVariant TrackListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_sheet.HasSlot(index.row() + 1))
        return {};
    const AlbumTrack& track = m_sheet.Track(index.row() + 1);
    const int column = index.column();
    const auto result = m_results.constFind(track.number);
    const bool hasResult = result != m_results.constEnd();
    const bool text = role == Qt::DisplayRole || role == Qt::ToolTipRole;
    if (column == LabelColumn) {
        if (role == Qt::CheckStateRole)
            return track.ticked ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::DecorationRole && hasResult)
            return iconOf(*result);
        // The result's picture is told by its hint.
        if (role == Qt::ToolTipRole && hasResult)
            return RipReport::ResultText(*result);
        return text ? track.Label() : QVariant();
    }
    if (column == ResultColumn)
        return text && hasResult ? RipReport::ResultText(*result) : QVariant();
    if (role == Qt::TextAlignmentRole && column == LengthColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (!text)
        return {};
    return column == LengthColumn ? lengthOf(track.number) : track.value(valueOf(column));
}

QString TrackListModel::lengthOf(int number) const
{
    // The hidden track (0) ends where the disc's first track begins.
    if (number == 0 && !m_toc.IsEmpty())
        return RipReport::ShortTime(m_toc.Tracks().first().start);
    const TocTrack* onDisc = m_toc.Track(number);
    return onDisc ? RipReport::ShortTime(onDisc->length) : QString();
}

void TrackListModel::ShowResults(const RipReport& report)
{
    for (const TrackRipResult& t : report.Tracks())
        m_results.insert(t.TrackNum, t);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool TrackListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != LabelColumn)
        return false;
    m_sheet.SetTicked(index.row() + 1, value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags TrackListModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == LabelColumn ? flags | Qt::ItemIsUserCheckable : flags;
}

QVariant TrackListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= headers().size())
        return {};
    return headers().at(section);
}

void TrackListModel::trackChanged(int k)
{
    emit dataChanged(index(k - 1, 0), index(k - 1, columnCount() - 1));
}
