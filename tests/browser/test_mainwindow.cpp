// The main window's creation, layout commands, first activation and closing.
#include "test_mainwindow_fixture.h"

#include "platform/shell/ShellFolder.h"
#include "platform/vcl/CoolBar.h"
#include "platform/vcl/IniFile.h"
#include "platform/vcl/Splitter.h"
#include "platform/vcl/StatusBar.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QListView>
#include <QPainter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

namespace {

TEST_F(MainWindowTest, WithNoSettingsFileOpensAtTheDefaultGeometryListingMyComputer)
{
    Create();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(window->windowTitle(), "Moviscope 1.6.0");
    EXPECT_EQ(window->pos(), QPoint(20, 3));
    EXPECT_EQ(window->size(), QSize(760, 587));
    EXPECT_EQ(window->NavigatePanel->height(), 232);
    EXPECT_EQ(window->Panel1->width(), 310);
    EXPECT_EQ(ThumbDbPath, AppDir + "Database/Thumb.mdb");
    EXPECT_EQ(LibraryDbPath, AppDir + "Database/mv160.mdb");
    EXPECT_EQ(window->FViewMode, 0);
    EXPECT_EQ(window->PageControl1->currentIndex(), 0);

    // My Computer is listed: its children, and the count in panel 0.
    ASSERT_NE(window->ListView->model(), nullptr);
    const int rows = window->ListView->model()->rowCount();
    EXPECT_GT(rows, 0);
    EXPECT_EQ(window->StatusBar1->PanelText(0),
              QString(" Total %1 file(s), %2 filtered").arg(rows).arg(window->FListing.AllCount() - rows));
}

TEST_F(MainWindowTest, LayoutHoldsTheNamedComponents)
{
    Create();
    const QStringList tabs = {"Folders       ", "Search       ", "Favorites    ", "Categories  ", "History        "};
    const QStringList sheets = {"TabSheet1", "TabSheet5", "TabSheet6", "TabSheet7", "TabSheet2"};
    ASSERT_EQ(window->PageControl1->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(window->PageControl1->tabText(i), tabs[i]);
        EXPECT_EQ(window->PageControl1->widget(i)->objectName(), sheets[i]);
    }
    // Which tabs carry an image.
    EXPECT_FALSE(window->PageControl1->tabIcon(0).isNull());
    EXPECT_TRUE(window->PageControl1->tabIcon(2).isNull());

    struct Named { const char* name; const char* accessible; };
    const Named named[] = {
        {"CoolBar1", nullptr}, {"ToolBar1", nullptr}, {"Panel1", nullptr}, {"NavigatePanel", nullptr},
        {"PageControl1", nullptr}, {"CoolBar3", nullptr}, {"Panel4", nullptr}, {"SpeedButton2", nullptr},
        {"ShellTreeView1", "Folder tree"}, {"ScrollBox1", nullptr}, {"CoolBar6", nullptr}, {"Panel7", nullptr},
        {"SpeedButton8", nullptr}, {"SpeedButton9", nullptr}, {"TreeView3", "Favorites tree"},
        {"CoolBar5", nullptr}, {"Panel3", nullptr}, {"SpeedButton5", nullptr}, {"SpeedButton6", nullptr},
        {"SpeedButton7", nullptr}, {"TreeView2", "Categories tree"}, {"CoolBar4", nullptr}, {"Panel6", nullptr},
        {"SpeedButton4", nullptr}, {"SpeedButton3", nullptr}, {"TreeView1", "History tree"},
        {"Splitter2", nullptr}, {"FlashPanel", nullptr}, {"Flash1", "Movie preview"}, {"Splitter1", nullptr},
        {"Panel2", nullptr}, {"Panel5", nullptr}, {"CoolBar2", nullptr}, {"ToolBar2", nullptr},
        {"ToolBar3", nullptr}, {"cbPath", "Path"}, {"ListView", "Folder list"}, {"StatusBar1", nullptr},
        {"Moviscope_MainMenu", nullptr},
    };
    for (const Named& n : named) {
        auto* w = window->findChild<QWidget*>(n.name);
        ASSERT_NE(w, nullptr) << n.name;
        EXPECT_EQ(w->accessibleDescription(), n.name);
        if (n.accessible)
            EXPECT_EQ(w->accessibleName(), n.accessible) << n.name;
    }
    // The speed buttons' captions.
    const std::pair<const char*, const char*> captions[] = {
        {"SpeedButton2", "Add To Favorites"}, {"SpeedButton8", "Add to favorites"}, {"SpeedButton9", "Delete"},
        {"SpeedButton5", "New"}, {"SpeedButton6", "Delete"}, {"SpeedButton7", "Rename"},
        {"SpeedButton4", "View by Date"}, {"SpeedButton3", "View by Host"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(window->findChild<QToolButton*>(name)->text(), caption);

    // The flash panel sits below the navigation panel; the list right of the side panel.
    EXPECT_LT(window->NavigatePanel->geometry().bottom(), window->FlashPanel->geometry().top());
    EXPECT_LE(window->Panel1->geometry().right(), window->Panel2->geometry().left());
    EXPECT_EQ(window->Splitter1->width(), 2);
    EXPECT_EQ(window->Splitter2->height(), 3);
    EXPECT_EQ(window->StatusBar1->height(), 23);
    EXPECT_GE(window->CoolBar1->height(), 55);
}

TEST_F(MainWindowTest, StatusBarHasTheSevenDesignPanels)
{
    Create();
    TStatusBar* bar = window->StatusBar1;
    ASSERT_EQ(bar->PanelCount(), 7);
    const int widths[] = {160, 135, 132, 50, 200, 50, 50};
    for (int i = 0; i < 7; ++i) {
        if (i != 1)   // panel 1 follows the listed entry's name
            EXPECT_EQ(bar->PanelWidth(i), widths[i]) << i;
        EXPECT_EQ(bar->PanelOwnerDraw(i), i == 1) << i;
    }
    for (int i = 2; i < 7; ++i)
        EXPECT_EQ(bar->PanelText(i), QString()) << i;
}

TEST_F(MainWindowTest, PanelOneShowsTheIconWithoutItsKeyColourAndTheName)
{
    Create();
    TStatusBar* bar = window->StatusBar1;
    window->FStatusName.clear();
    window->FStatusIcon = QPixmap();
    bar->SetPanelWidth(1, 135);
    QApplication::processEvents();
    const QImage before = bar->grab().toImage();

    const QColor key = bar->palette().color(QPalette::Light);
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(key);
    icon.setPixelColor(0, 0, Qt::red);
    window->FStatusIcon = QPixmap::fromImage(icon);
    window->FStatusName = "clip.swf";
    bar->update();
    const QImage after = bar->grab().toImage();

    const QRect r = bar->PanelRect(1);
    const int x = r.left() + 6;
    const int y = qRound((r.bottom() + 1 - r.top() - 16 + 4) / 2.0);
    EXPECT_EQ(after.pixelColor(x, y), QColor(Qt::red));
    // A key-coloured pixel shows the bar's own pixel.
    EXPECT_EQ(after.pixelColor(x + 8, y + 8), before.pixelColor(x + 8, y + 8));
    // Some text is drawn right of the icon.
    bool text = false;
    for (int cx = x + 16 + 8; cx < r.right() && !text; ++cx)
        for (int cy = r.top(); cy <= r.bottom() && !text; ++cy)
            text = after.pixelColor(cx, cy) != before.pixelColor(cx, cy);
    EXPECT_TRUE(text);
}

TEST_F(MainWindowTest, ToolBarAndStatusBarCommandsShowAndHide)
{
    Create();
    QAction* toolBar = A("oolBar1");
    QAction* statusBar = A("StatusBar2");
    ASSERT_TRUE(toolBar->isChecked());
    ASSERT_TRUE(statusBar->isChecked());
    toolBar->trigger();
    EXPECT_FALSE(toolBar->isChecked());
    EXPECT_FALSE(window->FToolBarVisible);
    EXPECT_FALSE(window->CoolBar1->isVisible());
    toolBar->trigger();
    EXPECT_TRUE(window->FToolBarVisible);
    EXPECT_TRUE(window->CoolBar1->isVisible());

    statusBar->trigger();
    EXPECT_FALSE(window->StatusBar1->isVisible());
    statusBar->trigger();
    EXPECT_TRUE(window->StatusBar1->isVisible());
}

TEST_F(MainWindowTest, HidingThePreviewAndShowingItAgainRestoresTheNavigationHeight)
{
    Create();
    window->NavigatePanel->setFixedHeight(150);
    QApplication::processEvents();
    QAction* preview = A("PreviewPanel1");
    preview->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(preview->isChecked());
    EXPECT_FALSE(window->FlashPanel->isVisible());
    EXPECT_FALSE(window->Splitter2->isVisible());
    EXPECT_EQ(window->FSavedNavHeight, 150);
    EXPECT_GT(window->NavigatePanel->height(), 150);   // fills the side panel

    preview->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(window->FlashPanel->isVisible());
    EXPECT_TRUE(window->Splitter2->isVisible());
    EXPECT_EQ(window->NavigatePanel->height(), 150);
    EXPECT_LT(window->NavigatePanel->geometry().bottom(), window->Splitter2->geometry().top());
    EXPECT_LT(window->Splitter2->geometry().bottom(), window->FlashPanel->geometry().top());
}

TEST_F(MainWindowTest, NavigationItemsShowTheirPageAndKeepTheirMarkAfterATabChange)
{
    Create();
    const char* items[] = {"Folders3", "Search1", "Favorite1", "Catalogs1", "Downloads1"};
    for (int page = 4; page >= 0; --page) {
        A(items[page])->trigger();
        EXPECT_EQ(window->PageControl1->currentIndex(), page);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(A(items[i])->isChecked(), i == page) << items[i];
    }
    A("Catalogs1")->trigger();
    window->PageControl1->setCurrentIndex(1);   // by its tab
    EXPECT_TRUE(A("Catalogs1")->isChecked());
    EXPECT_FALSE(A("Search1")->isChecked());
}

TEST_F(MainWindowTest, CoolBarBandsFollowTheirToolBars)
{
    Create();
    window->CoolBar2Resize();
    EXPECT_EQ(window->CoolBar2->BandMinHeight(0), window->ToolBar2->height());
    EXPECT_EQ(window->CoolBar2->BandMinHeight(1), window->ToolBar3->height());
    EXPECT_EQ(window->CoolBar2->BandControl(2), window->cbPath);
}

TEST_F(MainWindowTest, FirstActivationExpandsMyComputerOnce)
{
    Create(false);
    const QString name = DisplayNameOf(*DesktopFolder(), MyComputerIdList(), false);
    ASSERT_FALSE(name.isEmpty());
    QStandardItemModel model;
    auto* desktop = new QStandardItem("Desktop");
    auto* decoy = new QStandardItem(name);        // an earlier node of the same name
    decoy->appendRow(new QStandardItem("x"));
    auto* drives = new QStandardItem(name);
    drives->appendRow(new QStandardItem("Home"));
    desktop->appendRow(decoy);
    desktop->appendRow(new QStandardItem("My Documents"));
    desktop->appendRow(drives);
    model.appendRow(desktop);
    window->ShellTreeView1->setModel(&model);
    window->ShellTreeView1->expand(desktop->index());

    Show();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    EXPECT_TRUE(window->ShellTreeView1->isExpanded(drives->index()));
    EXPECT_FALSE(window->ShellTreeView1->isExpanded(decoy->index()));
    EXPECT_FALSE(window->FInitExpandDrives);

    window->ShellTreeView1->collapse(drives->index());
    QApplication::sendEvent(window.get(), &activate);
    EXPECT_FALSE(window->ShellTreeView1->isExpanded(drives->index()));
    window->ShellTreeView1->setModel(nullptr);
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsAndASecondRunReadsThem)
{
    WriteIni("[Mine]\nColour=blue\n[General]\nExtra=kept\n");
    Create();
    window->move(40, 50);
    window->resize(700, 560);
    window->NavigatePanel->setFixedHeight(200);
    window->Panel1->setFixedWidth(280);
    QApplication::processEvents();
    const QPoint pos = window->pos();
    window->close();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();

    const TIniFile ini(IniPath());
    EXPECT_EQ(ini.Sections(), (QStringList{"Mine", "General", "Connection", "Capture", "Database"}));
    int keys = 0;
    for (const char* s : {"General", "Connection", "Capture", "Database"})
        keys += ini.Keys(s).size();
    EXPECT_EQ(keys, 17 + 1);   // and "Extra"
    EXPECT_EQ(ini.ReadString("Mine", "Colour", ""), "blue");
    EXPECT_EQ(ini.ReadString("General", "Extra", ""), "kept");
    EXPECT_EQ(ini.ReadInteger("General", "Left", 0), pos.x());
    EXPECT_EQ(ini.ReadInteger("General", "Top", 0), pos.y());
    EXPECT_EQ(ini.ReadInteger("General", "Width", 0), 700);
    EXPECT_EQ(ini.ReadInteger("General", "Height", 0), 560);
    EXPECT_EQ(ini.ReadInteger("General", "Panel Height", 0), 200);
    EXPECT_EQ(ini.ReadInteger("General", "Panel Width", 0), 280);
    EXPECT_EQ(ini.ReadString("Connection", "Download Path", ""), AppDir + "Download/");
    EXPECT_EQ(ini.ReadString("Capture", "Capture Path", ""), AppDir + "Capture/");

    window.reset();
    Settings = TSettings{};
    Create();
    EXPECT_EQ(window->pos(), pos);
    EXPECT_EQ(window->size(), QSize(700, 560));
    EXPECT_EQ(window->NavigatePanel->height(), 200);
    EXPECT_EQ(window->Panel1->width(), 280);
}

TEST_F(MainWindowTest, ClosingInFullScreenKeepsTheGeometryFromBefore)
{
    Create();
    // What entering full screen stored.
    Settings.WindowLeft = 11;
    Settings.WindowTop = 12;
    Settings.WindowWidth = 613;
    Settings.WindowHeight = 514;
    window->FFullScreen = true;
    window->move(0, 0);
    window->resize(1024, 768);
    window->close();
    const TIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadInteger("General", "Left", 0), 11);
    EXPECT_EQ(ini.ReadInteger("General", "Top", 0), 12);
    EXPECT_EQ(ini.ReadInteger("General", "Width", 0), 613);
    EXPECT_EQ(ini.ReadInteger("General", "Height", 0), 514);
}

TEST_F(MainWindowTest, GarbageSettingsOpenWithDefaultsAndAFailedWriteIsReported)
{
    WriteIni("[General]\nWidth=abc\nHeight=0x24B\n\x01\x02\x03garbage\n");
    Create();
    EXPECT_EQ(window->size(), QSize(760, 587));
    // The program folder disappears: the write fails and says where.
    AppDir = dir.path() + "/gone/";
    window->close();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Unable to write to " + AppDir + "Moviscope.Ini");
}

TEST_F(MainWindowTest, CloseCommandClosesTheWindow)
{
    Create();
    A("Exit1")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QFile::exists(IniPath()));
}

} // namespace
