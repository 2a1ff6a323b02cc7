#include "browser/ListModel.h"

#include "browser/Listing.h"
#include "platform/shell/ShellIcons.h"

TShellListModel::TShellListModel(TListing& listing, QObject* parent) : QAbstractItemModel(parent), FListing(listing) {}

void TShellListModel::BeginUpdate()
{
    if (FUpdateDepth++ == 0)
        beginResetModel();
}

void TShellListModel::EndUpdate()
{
    if (FUpdateDepth > 0 && --FUpdateDepth == 0)
        endResetModel();
}

void TShellListModel::SetLargeIcons(bool large)
{
    if (FLargeIcons == large)
        return;
    FLargeIcons = large;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

void TShellListModel::SetColumns(const std::vector<TColumn>& columns)
{
    beginResetModel();
    FColumns = columns;
    if (FColumns.empty() || FColumns.front() != ColName)
        FColumns.insert(FColumns.begin(), ColName);
    endResetModel();
}

QString TShellListModel::AttributesText(uint32_t attributes)
{
    QString text;
    if (attributes & 0x01)
        text += QLatin1Char('R');
    if (attributes & 0x02)
        text += QLatin1Char('H');
    if (attributes & 0x04)
        text += QLatin1Char('S');
    if (attributes & 0x20)
        text += QLatin1Char('A');
    return text;
}

QString TShellListModel::ColumnText(const TShellItem& item, TColumn column)
{
    switch (column) {
    case ColName: return item.DisplayName;
    case ColLocation: return item.Location;
    case ColSize: return item.IsFolder ? QString() : QStringLiteral("%1KB").arg(item.SizeInKB);
    case ColType: return item.TypeName;
    case ColDate: return item.DateText;
    case ColAttributes: return AttributesText(item.Attributes);
    }
    return QString();
}

TShellItem* TShellListModel::ItemAt(const QModelIndex& index) const
{
    if (!index.isValid() || FUpdateDepth > 0)
        return nullptr;
    return FListing.ShownItem(index.row());
}

QModelIndex TShellListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex TShellListModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

int TShellListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || FUpdateDepth > 0 ? 0 : FListing.ShownCount();
}

int TShellListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(FColumns.size());
}

QVariant TShellListModel::data(const QModelIndex& index, int role) const
{
    // Only what is loaded already: details are the view's business (its data hint).
    const TShellItem* item = ItemAt(index);
    if (!item)
        return QVariant();
    const TColumn column = FColumns[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return ColumnText(*item, column);
    case Qt::DecorationRole:
        if (column == ColName)
            return TShellIcons::Instance().Pixmap(item->IconIndex, FLargeIcons);
        return QVariant();
    case Qt::TextAlignmentRole:
        if (column == ColSize)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant TShellListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QVariant();
    const TColumn column = FColumns[size_t(section)];
    if (role == Qt::DisplayRole) {
        static const char* const captions[] = {"Name", "Location", "Size", "Type", "Date", "Attributes"};
        return QString::fromLatin1(captions[column]);
    }
    if (role == Qt::TextAlignmentRole && column == ColSize)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags TShellListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}
