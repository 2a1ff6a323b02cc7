// The main window's listing operations: which folder is listed and what the status
// bar says about it. The entries themselves live in FListing.

#include "browser/MainFrm.h"

#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellIcons.h"
#include "platform/vcl/StatusBar.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QListView>
#include <QSignalBlocker>

namespace {

// The path box text of a parsing name, until the readable names of special folders
// take over: only "My Computer" is spelled out.
QString PathBoxText(const QString& parsingName)
{
    if (parsingName == MyComputerClassId)
        return QStringLiteral("My Computer");
    return parsingName;
}

}  // namespace

void TMoviscope_Main::BrowseTo(const TItemIdList& pidl)
{
    const ShellFolderPtr folder = FListing.FDesktopFolder->BindToObject(pidl);
    {
        TShellListModel::TUpdateGuard batch(FListModel);
        FListing.BrowseBound(pidl, folder);
        FShowLocation = false;

        const QString text = PathBoxText(FListing.CurrentParsingName());
        const QSignalBlocker blocker(cbPath);
        const int found = cbPath->findText(text, Qt::MatchFixedString);
        if (found < 0) {
            cbPath->insertItem(0, text, QVariant::fromValue(pidl));
            cbPath->setCurrentIndex(0);
        } else {
            cbPath->setCurrentIndex(found);
        }
        cbPath->setEditText(cbPath->itemText(cbPath->currentIndex()));
    }

    StatusBar1->SetPanelText(0, FListing.StatusText());

    if (FListing.ShownCount() > 0) {
        const QModelIndex first = FListModel->index(0, 0);
        ListView->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
        ListView->setFocus();
        ListView->scrollTo(first);
        const TShellItem* e = FListing.ShownItem(0);
        FSelectedIndex = 0;
        FStatusIcon = TShellIcons::Instance().Pixmap(e->IconIndex, false);
        FStatusName = e->DisplayName;
        StatusBar1->SetPanelWidth(1, QFontMetrics(StatusBar1->font()).horizontalAdvance(FStatusName) + 45);
        StatusBar1->update();
    }
}

void TMoviscope_Main::RefreshFolder()
{
    const int found = cbPath->findText(cbPath->currentText(), Qt::MatchFixedString);
    if (found < 0)
        return;
    BrowseTo(cbPath->itemData(found).value<TItemIdList>());
}

TShellItem* TMoviscope_Main::ShownItem(int index)
{
    return FListing.ShownItem(index);
}

TShellItem* TMoviscope_Main::AllItem(int index)
{
    return FListing.AllItem(index);
}

void TMoviscope_Main::LoadItemDetails(int index)
{
    FListing.LoadItemDetails(index);
}

void TMoviscope_Main::LoadAllDetails()
{
    FListing.LoadAllDetails();
}

void TMoviscope_Main::ListViewSelectionChanged()
{
    const QModelIndex current = ListView->selectionModel()->currentIndex();
    const TShellItem* e = FListModel->ItemAt(current);
    if (!e)
        return;
    FSelectedIndex = current.row();
    FStatusIcon = TShellIcons::Instance().Pixmap(e->IconIndex, false);
    FStatusName = e->DisplayName;
    StatusBar1->SetPanelWidth(1, QFontMetrics(StatusBar1->font()).horizontalAdvance(FStatusName) + 45);
    StatusBar1->update();
}
