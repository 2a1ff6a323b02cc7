#pragma once
// The virtual list: a flat model over FShownItems that holds no items of its own.
// data() reads only fields already loaded; the views must be told their items are
// uniform (QListView::setUniformItemSizes, QTreeView::setUniformRowHeights) or Qt
// asks every row to lay them out.

#include <QAbstractItemModel>
#include <vector>

class TListing;
struct TShellItem;

class TShellListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // Columns of the Details view; Name is always column 0.
    enum TColumn { ColName, ColLocation, ColSize, ColType, ColDate, ColAttributes };

    explicit TShellListModel(TListing& listing, QObject* parent = nullptr);

    // Brackets a change of the listing's shown list (the list view's update batch).
    void BeginUpdate();
    void EndUpdate();
    class TUpdateGuard {
    public:
        explicit TUpdateGuard(TShellListModel* model) : FModel(model) { if (FModel) FModel->BeginUpdate(); }
        ~TUpdateGuard() { if (FModel) FModel->EndUpdate(); }
        TUpdateGuard(const TUpdateGuard&) = delete;
        TUpdateGuard& operator=(const TUpdateGuard&) = delete;
    private:
        TShellListModel* FModel;
    };

    // Large (32 px) or small (16 px) images for DecorationRole.
    void SetLargeIcons(bool large);
    bool LargeIcons() const { return FLargeIcons; }
    void SetColumns(const std::vector<TColumn>& columns);   // Name first
    const std::vector<TColumn>& Columns() const { return FColumns; }

    // Text of a Details column for an entry (details must be loaded by the caller).
    static QString ColumnText(const TShellItem& item, TColumn column);
    static QString AttributesText(uint32_t attributes);

    TShellItem* ItemAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TListing& FListing;
    std::vector<TColumn> FColumns{ColName};
    bool FLargeIcons = true;
    int FUpdateDepth = 0;
};
