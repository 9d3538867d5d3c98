#include "app/ui/TrackListModel.h"
#include "disc/AlbumSheet.h"
#include <QStringList>

namespace {
const QStringList& headers()
{
    static const QStringList names{QStringLiteral("Piste"),  QStringLiteral("Adresse cible"), QStringLiteral("Titre"),
                                   QStringLiteral("Artiste"), QStringLiteral("Album"),       QStringLiteral("Année"),
                                   QStringLiteral("Genre"),   QStringLiteral("Commentaire")};
    return names;
}

// Column 0 is the label; column c > 0 shows value c - 1.
AlbumTrack::Value valueOf(int column)
{
    return static_cast<AlbumTrack::Value>(column - 1);
}
} // namespace

TrackListModel::TrackListModel(AlbumSheet& sheet, QObject* parent) : QAbstractTableModel(parent), m_sheet(sheet)
{
    connect(&m_sheet, &AlbumSheet::TracksReset, this, [this] { beginResetModel(); endResetModel(); });
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
    if (role == Qt::CheckStateRole && index.column() == 0)
        return track.ticked ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return index.column() == 0 ? track.Label() : track.value(valueOf(index.column()));
}

bool TrackListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != 0)
        return false;
    m_sheet.SetTicked(index.row() + 1, value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags TrackListModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == 0 ? flags | Qt::ItemIsUserCheckable : flags;
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
