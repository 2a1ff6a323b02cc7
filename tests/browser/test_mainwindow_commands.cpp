// The command tables: every menu item, pop-up item and tool button with its place, caption,
// key, check state, radio group and tag; and which commands work yet.
#include "test_mainwindow_fixture.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <set>

namespace {

enum State { Plain, Off, On };

struct Row {
    const char* menu;      // component name of the menu that holds the item
    const char* name;
    const char* caption;   // "-": a separator
    const char* key;
    int tag;               // -1: none
    State state;
    const char* group;     // items of one radio group share it; "" for none
};

const Row Rows[] = {
    {"File1", "New1", "Open", "Ctrl+O", -1, Plain, ""},
    {"File1", "OpenLocation1", "Open Location", "Ctrl+L", -1, Plain, ""},
    {"File1", "OpenFlash1", "Open Flash Movie", "Ctrl+F", -1, Plain, ""},
    {"File1", "N11", "-", "", -1, Plain, ""},
    {"File1", "SendFlashTo1", "Send to...", "", -1, Plain, ""},
    {"SendFlashTo1", "DestopCreateshotcut1", "Desktop (Create Shortcut)", "", -1, Plain, ""},
    {"SendFlashTo1", "Mainrecipient1", "Mail Recipient", "", -1, Plain, ""},
    {"SendFlashTo1", "MyDocuments1", "My Documents", "", -1, Plain, ""},
    {"File1", "Outport1", "Export MP3...", "", -1, Plain, ""},
    {"File1", "N25", "-", "", -1, Plain, ""},
    {"File1", "PrintSetup1", "Page Setup", "", -1, Plain, ""},
    {"File1", "Print1", "Print...", "Ctrl+P", -1, Plain, ""},
    {"File1", "N12", "-", "", -1, Plain, ""},
    {"File1", "Exit1", "Close", "Ctrl+W", -1, Plain, ""},
    {"Edit1", "Copy1", "Cut", "Ctrl+X", -1, Plain, ""},
    {"Edit1", "Copy2", "Copy", "Ctrl+C", -1, Plain, ""},
    {"Edit1", "Paste1", "Paste", "Ctrl+V", -1, Plain, ""},
    {"Edit1", "Delete1", "Delete", "", -1, Plain, ""},
    {"Edit1", "N22", "-", "", -1, Plain, ""},
    {"Edit1", "Rename1", "Rename", "", -1, Plain, ""},
    {"Edit1", "Search2", "Search", "Ctrl+H", -1, Plain, ""},
    {"Edit1", "N14", "-", "", -1, Plain, ""},
    {"Edit1", "Copyto1", "Copy to Folder", "", -1, Plain, ""},
    {"Edit1", "Movieto1", "Move to Folder", "", -1, Plain, ""},
    {"Edit1", "N15", "-", "", -1, Plain, ""},
    {"Edit1", "SelectNoe1", "Select None", "", -1, Plain, ""},
    {"Edit1", "SelectAll1", "Select All", "Ctrl+A", -1, Plain, ""},
    {"Edit1", "N10", "Select Invert", "", -1, Plain, ""},
    {"View1", "NavigatePanel1", "&Navigate Panel ", "", -1, Plain, ""},
    {"NavigatePanel1", "Folders3", "Folders", "", -1, On, "nav"},
    {"NavigatePanel1", "Search1", "Search", "", -1, Off, "nav"},
    {"NavigatePanel1", "Favorite1", "Favorites", "", -1, Off, "nav"},
    {"NavigatePanel1", "Catalogs1", "Catalogs", "", -1, Off, "nav"},
    {"NavigatePanel1", "Downloads1", "History", "", -1, Off, "nav"},
    {"View1", "oolBar1", "&Tool Bar", "", -1, On, ""},
    {"View1", "StatusBar2", "&Status Bar", "", -1, On, ""},
    {"View1", "PreviewPanel1", "&Preview Panel", "", -1, On, ""},
    {"View1", "N5", "-", "", -1, Plain, ""},
    {"View1", "Gogo1", "Goto", "", -1, Plain, ""},
    {"Gogo1", "Forward2", "Forward", "", -1, Plain, ""},
    {"Gogo1", "Back1", "Back", "", -1, Plain, ""},
    {"Gogo1", "Uponeblance1", "Up one Level", "", -1, Plain, ""},
    {"View1", "N3", "-", "", -1, Plain, ""},
    {"View1", "Mode1", "Mode", "", -1, Plain, ""},
    {"Mode1", "thumbnails1", "Thumbnails", "", 4, Off, "mode1"},
    {"Mode1", "Titles1", "Titles", "", 0, On, "mode1"},
    {"Mode1", "Icons1", "Icons", "", 1, Off, "mode1"},
    {"Mode1", "List1", "List", "", 2, Off, "mode1"},
    {"Mode1", "Details1", "Details", "", 3, Off, "mode1"},
    {"View1", "Filter1", "Filter", "", -1, Plain, ""},
    {"Filter1", "Folders1", " Folders", "", -1, On, ""},
    {"Filter1", "FlashMovies1", " Flash Movies", "", -1, On, ""},
    {"Filter1", "ExecuteFiles1", " Applications", "", -1, On, ""},
    {"Filter1", "OtherFiles1", " Other Files", "", -1, Off, ""},
    {"Filter1", "N1", "-", "", -1, Plain, ""},
    {"Filter1", "HiddenFiles1", " Hidden Files", "", -1, Off, ""},
    {"View1", "Columns1", "Columns", "", -1, Plain, ""},
    {"Columns1", "Name1", " Name", "", -1, Off, ""},
    {"Columns1", "Size1", " Size", "", -1, On, ""},
    {"Columns1", "ype1", " Type", "", -1, Off, ""},
    {"Columns1", "ime1", " Date", "", -1, On, ""},
    {"Columns1", "Attribute1", " Attribute", "", -1, On, ""},
    {"View1", "Sort1", "Sort", "", -1, Plain, ""},
    {"Sort1", "ByNane1", " By Name", "", 0, On, "sort1"},
    {"Sort1", "BySize1", " By Size", "", 1, Off, "sort1"},
    {"Sort1", "ByType1", " By Type", "", 2, Off, "sort1"},
    {"Sort1", "ByDate1", " By Date", "", 3, Off, "sort1"},
    {"Sort1", "N6", "-", "", -1, Plain, ""},
    {"Sort1", "Forward1", " Forward", "", -1, Off, "dir1"},
    {"Sort1", "Backward1", " Backward", "", -1, Off, "dir1"},
    {"View1", "N4", "-", "", -1, Plain, ""},
    {"View1", "Refresh1", "Refresh", "F5", -1, Plain, ""},
    {"Play1", "PlayPause1", "Pause", "Ctrl+U", -1, Plain, ""},
    {"Play1", "Stop1", "Stop", "Ctrl+S", -1, Plain, ""},
    {"Play1", "N20", "-", "", -1, Plain, ""},
    {"Play1", "ZoomIn1", "Zoom In", "", -1, Plain, ""},
    {"Play1", "ZoomOut1", "Zoom Out", "", -1, Plain, ""},
    {"Play1", "N24", "-", "", -1, Plain, ""},
    {"Play1", "OriginalSize2", "Original Size", "", -1, Plain, ""},
    {"Play1", "FullScreen1", "Full Screen", "F11", -1, Off, ""},
    {"Play1", "N23", "-", "", -1, Plain, ""},
    {"Play1", "PreviousMoive1", "Previous Movie", "Ctrl+R", -1, Plain, ""},
    {"Play1", "NextMovie1", "Next Movie", "Ctrl+E", -1, Plain, ""},
    {"Play1", "N21", "-", "", -1, Plain, ""},
    {"Play1", "Volume1", "Volume", "", -1, Plain, ""},
    {"Volume1", "Up1", "Up      ", "F10", -1, Plain, ""},
    {"Volume1", "Down1", "Down", "F9", -1, Plain, ""},
    {"Volume1", "Mute1", "Mute", "F8", -1, Plain, ""},
    {"ools1", "DownloadFlash1", "Download Flash", "Ctrl+D", -1, Plain, ""},
    {"ools1", "BrowseDownloadFolder1", "Browse Download Folder", "", -1, Plain, ""},
    {"ools1", "N30", "-", "", -1, Plain, ""},
    {"ools1", "CaptureScreen1", "Capture Screen", "Ctrl+T", -1, Plain, ""},
    {"ools1", "BrowseCaptureFolder1", "Browse Capture Folder", "", -1, Plain, ""},
    {"ools1", "N26", "-", "", -1, Plain, ""},
    {"ools1", "CompressDecompress1", "Compress Movie", "", -1, Plain, ""},
    {"ools1", "ConvertEXEtoSWF1", "Decompress Movie", "", -1, Plain, ""},
    {"ools1", "N13", "-", "", -1, Plain, ""},
    {"ools1", "Option1", "Options", "Ctrl+N", -1, Plain, ""},
    {"Help1", "Contents1", "Contents", "F1", -1, Plain, ""},
    {"Help1", "KeyBorad1", "Keyborad", "", -1, Plain, ""},
    {"Help1", "N16", "-", "", -1, Plain, ""},
    {"Help1", "MoviscopeHomepage1", "Moviscope Homepage", "", -1, Plain, ""},
    {"Help1", "CheckforUpdate1", "Check for Update", "", -1, Plain, ""},
    {"Help1", "N17", "-", "", -1, Plain, ""},
    {"Help1", "About1", "About...", "", -1, Plain, ""},
    // Pop-up menus.
    {"FilterMenu", "Folders2", "Folders", "", -1, On, ""},
    {"FilterMenu", "FlashMovies2", "Flash Files", "", -1, On, ""},
    {"FilterMenu", "ExecuteFiles2", "Applications", "", -1, On, ""},
    {"FilterMenu", "OtherFiles2", "Other Files", "", -1, Off, ""},
    {"FilterMenu", "N2", "-", "", -1, Plain, ""},
    {"FilterMenu", "HiddenFiles2", "Hidden Files", "", -1, Off, ""},
    {"sortMenu", "ByFileName3", "By Name", "", 0, On, "sort2"},
    {"sortMenu", "BySize2", "By Size", "", 1, Off, "sort2"},
    {"sortMenu", "ByType2", "By Type", "", 2, Off, "sort2"},
    {"sortMenu", "ByDate2", "By Date", "", 3, Off, "sort2"},
    {"sortMenu", "N9", "-", "", -1, Plain, ""},
    {"sortMenu", "Forward3", "Forward", "", -1, On, "dir2"},
    {"sortMenu", "Backward2", "Backward", "", -1, Off, "dir2"},
    {"modeMenu", "thumbnails2", "Thumbnails", "", 4, Off, "mode2"},
    {"modeMenu", "Titles2", "Titles", "", 0, On, "mode2"},
    {"modeMenu", "Icons2", "Icons", "", 1, Off, "mode2"},
    {"modeMenu", "List2", "List", "", 2, Off, "mode2"},
    {"modeMenu", "Details2", "Details", "", 3, Off, "mode2"},
    {"lvMenu1", "View3", "&Mode", "", -1, Plain, ""},
    {"View3", "humbnails1", "Thumbnails", "", 4, Off, "mode3"},
    {"View3", "itles1", "Titles", "", 0, On, "mode3"},
    {"View3", "Icons3", "Icons", "", 1, Off, "mode3"},
    {"View3", "List3", "List", "", 2, Off, "mode3"},
    {"View3", "Details3", "Details", "", 3, Off, "mode3"},
    {"lvMenu1", "Filter2", "&Filter", "", -1, Plain, ""},
    {"Filter2", "Folders4", "Folders", "", -1, On, ""},
    {"Filter2", "FlashMovies3", "Flash Movies", "", -1, On, ""},
    {"Filter2", "ExecuteFiles4", "Applications", "", -1, On, ""},
    {"Filter2", "OtherFiles3", "Other Files", "", -1, Off, ""},
    {"Filter2", "N27", "-", "", -1, Plain, ""},
    {"Filter2", "HiddenFiles3", "Hidden Files", "", -1, Off, ""},
    {"lvMenu1", "Sort2", "&Sort", "", -1, Plain, ""},
    {"Sort2", "ByName1", "By Name", "", 0, On, "sort3"},
    {"Sort2", "BySize3", "By Size", "", 1, Off, "sort3"},
    {"Sort2", "ByType3", "By Type", "", 2, Off, "sort3"},
    {"Sort2", "ByDate3", "By Date", "", 3, Off, "sort3"},
    {"Sort2", "N28", "-", "", -1, Plain, ""},
    {"Sort2", "Forward4", "Forward", "", -1, On, "dir3"},
    {"Sort2", "Backward3", "Backward", "", -1, Off, "dir3"},
    {"lvMenu1", "Paste2", "&Paste", "", -1, Plain, ""},
    {"lvMenu1", "N31", "-", "", -1, Plain, ""},
    {"lvMenu1", "Refresh2", "&Refresh", "", -1, Plain, ""},
    {"lvMenu2", "Open1", "Open", "", -1, Plain, ""},
    {"lvMenu2", "ViewwithFlashPlayer1", "Open with Flash Player", "", -1, Plain, ""},
    {"lvMenu2", "N7", "-", "", -1, Plain, ""},
    {"lvMenu2", "Compress1", "Compress", "", -1, Plain, ""},
    {"lvMenu2", "Decompress1", "Decompress", "", -1, Plain, ""},
    {"lvMenu2", "N19", "-", "", -1, Plain, ""},
    {"lvMenu2", "SendTo1", "Send To...", "", -1, Plain, ""},
    {"SendTo1", "Desktop1", "Desktop (Create Shortcut)", "", -1, Plain, ""},
    {"SendTo1", "MailRecipient1", "Mail Recipient", "", -1, Plain, ""},
    {"SendTo1", "MyDocuments2", "My Documents", "", -1, Plain, ""},
    {"lvMenu2", "ExportMP31", "Export MP3...", "", -1, Plain, ""},
    {"lvMenu2", "N29", "-", "", -1, Plain, ""},
    {"lvMenu2", "Cut1", "Cut", "", -1, Plain, ""},
    {"lvMenu2", "Copy3", "Copy", "", -1, Plain, ""},
    {"lvMenu2", "Paste3", "Paste", "", -1, Plain, ""},
    {"lvMenu2", "Rename2", "Rename", "", -1, Plain, ""},
    {"FlashMenu", "Pause1", "Pause", "Ctrl+U", -1, Plain, ""},
    {"FlashMenu", "Stop2", "Stop", "Ctrl+S", -1, Plain, ""},
    {"FlashMenu", "N32", "-", "", -1, Plain, ""},
    {"FlashMenu", "PreviousMoive2", "Previous", "Ctrl+R", -1, Plain, ""},
    {"FlashMenu", "NextMovie2", "Next", "Ctrl+E", -1, Plain, ""},
    {"FlashMenu", "N8", "-", "", -1, Plain, ""},
    {"FlashMenu", "ZoomIn2", "Zoom In", "", -1, Plain, ""},
    {"FlashMenu", "ZoomOut2", "Zoom Out", "", -1, Plain, ""},
    {"FlashMenu", "N33", "-", "", -1, Plain, ""},
    {"FlashMenu", "OriginalSize3", "Original Size", "", -1, Plain, ""},
    {"FlashMenu", "FullScreen2", "Full Screen", "F11", -1, Off, ""},
};

// The menu widget that shows an action.
QMenu* MenuOf(QAction* action)
{
    for (QObject* o : action->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o); m && m->menuAction() != action)
            return m;
    return nullptr;
}

TEST_F(MainWindowTest, EveryMenuItemAsTheTablesGiveIt)
{
    Create();
    std::map<std::string, QActionGroup*> groups;
    std::map<std::string, int> order;   // position in its menu, checked against the table order
    for (const Row& r : Rows) {
        SCOPED_TRACE(r.name);
        QAction* a = A(r.name);
        ASSERT_NE(a, nullptr);
        QMenu* menu = MenuOf(a);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), r.menu);
        const int at = int(menu->actions().indexOf(a));
        EXPECT_EQ(at, order[r.menu]++) << "out of order in " << r.menu;
        if (std::string(r.caption) == "-") {
            EXPECT_TRUE(a->isSeparator());
            continue;
        }
        EXPECT_EQ(a->text(), r.caption);
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf8(r.key)));
        if (r.tag >= 0)
            EXPECT_EQ(a->data(), QVariant(r.tag));
        else
            EXPECT_FALSE(a->data().isValid());
        EXPECT_EQ(a->isCheckable(), r.state != Plain);
        EXPECT_EQ(a->isChecked(), r.state == On);
        if (*r.group) {
            ASSERT_NE(a->actionGroup(), nullptr);
            EXPECT_TRUE(a->actionGroup()->isExclusive());
            QActionGroup*& g = groups[r.group];
            if (!g)
                g = a->actionGroup();
            EXPECT_EQ(a->actionGroup(), g);
        } else {
            EXPECT_EQ(a->actionGroup(), nullptr);
        }
    }
    // Distinct radio groups are distinct objects.
    std::set<QActionGroup*> distinct;
    for (const auto& [name, g] : groups)
        distinct.insert(g);
    EXPECT_EQ(distinct.size(), groups.size());
    // Nothing beyond the tables in those menus.
    for (const auto& [menu, count] : order)
        EXPECT_EQ(window->findChild<QMenu*>(QString::fromStdString(menu))->actions().size(), count) << menu;

    const QStringList top = {"&File", "&Edit", "&View", "&Play", "&Tools", "&Help"};
    QStringList shown;
    for (QAction* a : window->Moviscope_MainMenu->actions())
        shown << a->text();
    EXPECT_EQ(shown, top);
}

TEST_F(MainWindowTest, RadioItemsExcludeEachOther)
{
    Create();
    QAction* forward = A("Forward1");
    QAction* backward = A("Backward1");
    forward->setChecked(true);
    backward->setChecked(true);
    EXPECT_FALSE(forward->isChecked());
    A("Search1")->trigger();
    EXPECT_FALSE(A("Folders3")->isChecked());
}

struct Button {
    const char* bar;
    const char* name;
    const char* caption;   // "-": a separator
    bool enabled;
    const char* dropDown;  // the menu of a drop-down button
};

const Button Buttons[] = {
    {"ToolBar1", "ToolButton3", "Previous", false, ""},
    {"ToolBar1", "ToolButton12", "Next", false, ""},
    {"ToolBar1", "ToolButton13", "Search", false, ""},
    {"ToolBar1", "ToolButton17", "-", true, ""},
    {"ToolBar1", "ToolButton1", "Download", false, ""},
    {"ToolBar1", "ToolButton2", "Print", false, ""},
    {"ToolBar1", "ToolButton15", "Mail", false, ""},
    {"ToolBar1", "ToolButton5", "   Options   ", true, ""},
    {"ToolBar1", "ToolButton18", "-", true, ""},
    {"ToolBar1", "ToolButton4", "   Home   ", false, ""},
    {"ToolBar1", "ToolButton14", "Help", false, ""},
    {"ToolBar2", "btnBack", "Back", false, ""},
    {"ToolBar2", "btnForward", "Go", false, ""},
    {"ToolBar2", "btnUp", "Up", false, ""},
    {"ToolBar2", "ToolButton6", "Reload", true, ""},
    {"ToolBar2", "ToolButton8", "Filter", true, "FilterMenu"},
    {"ToolBar2", "ToolButton9", "Mode", true, "modeMenu"},
    {"ToolBar2", "ToolButton7", "Sort", true, "sortMenu"},
    {"ToolBar3", "ToolButton10", "", false, ""},
    {"ToolBar3", "ToolButton11", "", false, ""},
};

TEST_F(MainWindowTest, ToolBarsHoldTheirButtonsInOrder)
{
    Create();
    std::map<std::string, int> order;
    for (const Button& b : Buttons) {
        SCOPED_TRACE(b.name);
        auto* bar = window->findChild<QToolBar*>(b.bar);
        ASSERT_NE(bar, nullptr);
        QAction* a = A(b.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(int(bar->actions().indexOf(a)), order[b.bar]++);
        EXPECT_EQ(a->isEnabled(), b.enabled);
        if (std::string(b.caption) == "-") {
            EXPECT_TRUE(a->isSeparator());
            continue;
        }
        EXPECT_EQ(a->text(), b.caption);
        EXPECT_FALSE(a->icon().isNull());
        QWidget* w = bar->widgetForAction(a);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), b.name);
        if (*b.dropDown) {
            ASSERT_NE(a->menu(), nullptr);
            EXPECT_EQ(a->menu()->objectName(), b.dropDown);
            EXPECT_EQ(static_cast<QToolButton*>(w)->popupMode(), QToolButton::MenuButtonPopup);
        }
    }
    for (const auto& [bar, count] : order)
        EXPECT_EQ(window->findChild<QToolBar*>(QString::fromStdString(bar))->actions().size(), count);
}

TEST_F(MainWindowTest, OnlyTheCommandsBuiltSoFarAreEnabled)
{
    Create();
    const std::set<std::string> working = {
        "Exit1", "oolBar1", "StatusBar2", "PreviewPanel1", "Folders3", "Search1", "Favorite1",
        "Catalogs1", "Downloads1", "Refresh1", "Refresh2", "ToolButton6", "Option1", "ToolButton5"};
    int disabled = 0;
    for (const Row& r : Rows) {
        QAction* a = A(r.name);
        if (a->isSeparator() || a->menu())
            continue;
        EXPECT_EQ(a->isEnabled(), working.count(r.name) == 1) << r.name;
        disabled += !a->isEnabled();
    }
    EXPECT_GT(disabled, 0);
}

} // namespace
