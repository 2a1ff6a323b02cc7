// BrowseTo in the main window: selection, focus, status text, path box.

#include "test_mainwindow_fixture.h"

#include "platform/shell/ShellFolder.h"
#include "platform/vcl/StatusBar.h"

#include <QComboBox>
#include <QDir>
#include <QListView>
#include <QSet>

namespace {

void Touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

}  // namespace

TEST_F(MainWindowTest, BrowseToSelectsFirstEntryAndWritesStatus)
{
    Create();
    // The start listing is My Computer.
    EXPECT_EQ(window->cbPath->currentText(), "My Computer");
    EXPECT_EQ(window->FListing.FCurrentPIDL, MyComputerIdList());

    QTemporaryDir folder;
    const QString dir = QDir::cleanPath(folder.path());
    for (const char* name : {"a.swf", "b.exe", "c.txt", ".d.swf"})
        Touch(dir + "/" + name);
    ASSERT_TRUE(QDir(dir).mkdir("sub"));

    // Select something else first: BrowseTo must move to the first entry anyway.
    window->ListView->setCurrentIndex(window->FListModel->index(1, 0));
    window->BrowseTo(IdListOfPath(dir));
    QApplication::processEvents();

    EXPECT_EQ(window->StatusBar1->PanelText(0), " Total 3 file(s), 2 filtered");
    EXPECT_EQ(window->FListModel->rowCount(), 3);
    EXPECT_EQ(window->ListView->currentIndex().row(), 0);
    EXPECT_TRUE(window->ListView->selectionModel()->isRowSelected(0, QModelIndex()));
    EXPECT_TRUE(window->ListView->hasFocus());
    EXPECT_EQ(window->FSelectedIndex, 0);
    EXPECT_EQ(window->FStatusName, "sub");
    EXPECT_FALSE(window->FStatusIcon.isNull());
    EXPECT_EQ(window->cbPath->currentText(), dir);
    EXPECT_EQ(window->cbPath->itemText(1), "My Computer");

    // Selecting another entry updates status panel 1.
    window->ListView->setCurrentIndex(window->FListModel->index(2, 0));
    EXPECT_EQ(window->FStatusName, "b.exe");
    EXPECT_EQ(window->FSelectedIndex, 2);

    // Refresh finds files created since.
    Touch(dir + "/e.swf");
    window->RefreshFolder();
    EXPECT_EQ(window->StatusBar1->PanelText(0), " Total 4 file(s), 2 filtered");
    EXPECT_EQ(window->cbPath->count(), 2) << "a folder already in the history is not added again";

    // A folder that cannot be bound raises; the listing stays.
    EXPECT_THROW(window->BrowseTo(IdListOfPath(dir).Child("missing")), TShellError);
    EXPECT_EQ(window->FListModel->rowCount(), 4);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MainWindowTest, ListViewAsksOnlyForPaintedRows)
{
    Create();
    QTemporaryDir folder;
    const QString dir = QDir::cleanPath(folder.path());
    for (int i = 0; i < 2000; ++i)
        Touch(dir + QString("/m%1.swf").arg(i, 4, 10, QLatin1Char('0')));

    struct TCounting : TShellListModel {
        using TShellListModel::TShellListModel;
        mutable QSet<int> rows;
        QVariant data(const QModelIndex& index, int role) const override
        {
            rows.insert(index.row());
            return TShellListModel::data(index, role);
        }
    };
    auto* model = new TCounting(window->FListing, window.get());
    window->FListModel = model;
    window->ListView->setModel(model);
    QObject::connect(window->ListView->selectionModel(), &QItemSelectionModel::currentChanged, window.get(),
                     [w = window.get()] { w->ListViewSelectionChanged(); });
    window->BrowseTo(IdListOfPath(dir));
    window->ListView->viewport()->repaint();
    QApplication::processEvents();
    EXPECT_EQ(model->rowCount(), 2000);
    EXPECT_GT(model->rows.size(), 0);
    EXPECT_LT(model->rows.size(), 400) << "the view asked for rows it does not paint";
}
