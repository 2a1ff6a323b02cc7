// The command tables: the main menu, the pop-up menus and the tool bars, and which handler
// each command runs. Commands without a handler yet are shown disabled.
#include "browser/MainFrm.h"
#include "browser/OptionDlg.h"

#include "platform/vcl/ErrorReport.h"

#include <QAction>
#include <QActionGroup>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <map>

// The tables leave trailing fields to their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

enum TState { Plain, Unchecked, Checked };

struct TItem {
    const char* name;
    const char* caption;        // "-" is a separator
    const char* key = "";
    int tag = -1;               // -1: the item carries no tag
    int group = 0;              // radio group within its menu; 0 for none
    TState state = Plain;
    std::vector<TItem> items;   // a sub-menu
};

TItem Sep(const char* name) { return {name, "-"}; }

const std::vector<TItem>& MainMenuTable()
{
    static const std::vector<TItem> table = {
        {"File1", "&File", "", -1, 0, Plain, {
            {"New1", "Open", "Ctrl+O"},
            {"OpenLocation1", "Open Location", "Ctrl+L"},
            {"OpenFlash1", "Open Flash Movie", "Ctrl+F"},
            Sep("N11"),
            {"SendFlashTo1", "Send to...", "", -1, 0, Plain, {
                {"DestopCreateshotcut1", "Desktop (Create Shortcut)"},
                {"Mainrecipient1", "Mail Recipient"},
                {"MyDocuments1", "My Documents"},
            }},
            {"Outport1", "Export MP3..."},
            Sep("N25"),
            {"PrintSetup1", "Page Setup"},
            {"Print1", "Print...", "Ctrl+P"},
            Sep("N12"),
            {"Exit1", "Close", "Ctrl+W"},
        }},
        {"Edit1", "&Edit", "", -1, 0, Plain, {
            {"Copy1", "Cut", "Ctrl+X"},
            {"Copy2", "Copy", "Ctrl+C"},
            {"Paste1", "Paste", "Ctrl+V"},
            {"Delete1", "Delete"},
            Sep("N22"),
            {"Rename1", "Rename"},
            {"Search2", "Search", "Ctrl+H"},
            Sep("N14"),
            {"Copyto1", "Copy to Folder"},
            {"Movieto1", "Move to Folder"},
            Sep("N15"),
            {"SelectNoe1", "Select None"},
            {"SelectAll1", "Select All", "Ctrl+A"},
            {"N10", "Select Invert"},
        }},
        {"View1", "&View", "", -1, 0, Plain, {
            {"NavigatePanel1", "&Navigate Panel ", "", -1, 0, Plain, {
                {"Folders3", "Folders", "", -1, 1, Checked},
                {"Search1", "Search", "", -1, 1, Unchecked},
                {"Favorite1", "Favorites", "", -1, 1, Unchecked},
                {"Catalogs1", "Catalogs", "", -1, 1, Unchecked},
                {"Downloads1", "History", "", -1, 1, Unchecked},
            }},
            {"oolBar1", "&Tool Bar", "", -1, 0, Checked},
            {"StatusBar2", "&Status Bar", "", -1, 0, Checked},
            {"PreviewPanel1", "&Preview Panel", "", -1, 0, Checked},
            Sep("N5"),
            {"Gogo1", "Goto", "", -1, 0, Plain, {
                {"Forward2", "Forward"},
                {"Back1", "Back"},
                {"Uponeblance1", "Up one Level"},
            }},
            Sep("N3"),
            {"Mode1", "Mode", "", -1, 0, Plain, {
                {"thumbnails1", "Thumbnails", "", 4, 1, Unchecked},
                {"Titles1", "Titles", "", 0, 1, Checked},
                {"Icons1", "Icons", "", 1, 1, Unchecked},
                {"List1", "List", "", 2, 1, Unchecked},
                {"Details1", "Details", "", 3, 1, Unchecked},
            }},
            {"Filter1", "Filter", "", -1, 0, Plain, {
                {"Folders1", " Folders", "", -1, 0, Checked},
                {"FlashMovies1", " Flash Movies", "", -1, 0, Checked},
                {"ExecuteFiles1", " Applications", "", -1, 0, Checked},
                {"OtherFiles1", " Other Files", "", -1, 0, Unchecked},
                Sep("N1"),
                {"HiddenFiles1", " Hidden Files", "", -1, 0, Unchecked},
            }},
            {"Columns1", "Columns", "", -1, 0, Plain, {
                {"Name1", " Name", "", -1, 0, Unchecked},
                {"Size1", " Size", "", -1, 0, Checked},
                {"ype1", " Type", "", -1, 0, Unchecked},
                {"ime1", " Date", "", -1, 0, Checked},
                {"Attribute1", " Attribute", "", -1, 0, Checked},
            }},
            {"Sort1", "Sort", "", -1, 0, Plain, {
                {"ByNane1", " By Name", "", 0, 1, Checked},
                {"BySize1", " By Size", "", 1, 1, Unchecked},
                {"ByType1", " By Type", "", 2, 1, Unchecked},
                {"ByDate1", " By Date", "", 3, 1, Unchecked},
                Sep("N6"),
                {"Forward1", " Forward", "", -1, 2, Unchecked},
                {"Backward1", " Backward", "", -1, 2, Unchecked},
            }},
            Sep("N4"),
            {"Refresh1", "Refresh", "F5"},
        }},
        {"Play1", "&Play", "", -1, 0, Plain, {
            {"PlayPause1", "Pause", "Ctrl+U"},
            {"Stop1", "Stop", "Ctrl+S"},
            Sep("N20"),
            {"ZoomIn1", "Zoom In"},
            {"ZoomOut1", "Zoom Out"},
            Sep("N24"),
            {"OriginalSize2", "Original Size"},
            {"FullScreen1", "Full Screen", "F11", -1, 0, Unchecked},
            Sep("N23"),
            {"PreviousMoive1", "Previous Movie", "Ctrl+R"},
            {"NextMovie1", "Next Movie", "Ctrl+E"},
            Sep("N21"),
            {"Volume1", "Volume", "", -1, 0, Plain, {
                {"Up1", "Up      ", "F10"},
                {"Down1", "Down", "F9"},
                {"Mute1", "Mute", "F8"},
            }},
        }},
        {"ools1", "&Tools", "", -1, 0, Plain, {
            {"DownloadFlash1", "Download Flash", "Ctrl+D"},
            {"BrowseDownloadFolder1", "Browse Download Folder"},
            Sep("N30"),
            {"CaptureScreen1", "Capture Screen", "Ctrl+T"},
            {"BrowseCaptureFolder1", "Browse Capture Folder"},
            Sep("N26"),
            {"CompressDecompress1", "Compress Movie"},
            {"ConvertEXEtoSWF1", "Decompress Movie"},
            Sep("N13"),
            {"Option1", "Options", "Ctrl+N"},
        }},
        {"Help1", "&Help", "", -1, 0, Plain, {
            {"Contents1", "Contents", "F1"},
            {"KeyBorad1", "Keyborad"},
            Sep("N16"),
            {"MoviscopeHomepage1", "Moviscope Homepage"},
            {"CheckforUpdate1", "Check for Update"},
            Sep("N17"),
            {"About1", "About..."},
        }},
    };
    return table;
}

const std::vector<TItem> FilterMenuTable = {
    {"Folders2", "Folders", "", -1, 0, Checked},
    {"FlashMovies2", "Flash Files", "", -1, 0, Checked},
    {"ExecuteFiles2", "Applications", "", -1, 0, Checked},
    {"OtherFiles2", "Other Files", "", -1, 0, Unchecked},
    Sep("N2"),
    {"HiddenFiles2", "Hidden Files", "", -1, 0, Unchecked},
};

const std::vector<TItem> SortMenuTable = {
    {"ByFileName3", "By Name", "", 0, 1, Checked},
    {"BySize2", "By Size", "", 1, 1, Unchecked},
    {"ByType2", "By Type", "", 2, 1, Unchecked},
    {"ByDate2", "By Date", "", 3, 1, Unchecked},
    Sep("N9"),
    {"Forward3", "Forward", "", -1, 2, Checked},
    {"Backward2", "Backward", "", -1, 2, Unchecked},
};

const std::vector<TItem> ModeMenuTable = {
    {"thumbnails2", "Thumbnails", "", 4, 1, Unchecked},
    {"Titles2", "Titles", "", 0, 1, Checked},
    {"Icons2", "Icons", "", 1, 1, Unchecked},
    {"List2", "List", "", 2, 1, Unchecked},
    {"Details2", "Details", "", 3, 1, Unchecked},
};

const std::vector<TItem> LvMenu1Table = {
    {"View3", "&Mode", "", -1, 0, Plain, {
        {"humbnails1", "Thumbnails", "", 4, 1, Unchecked},
        {"itles1", "Titles", "", 0, 1, Checked},
        {"Icons3", "Icons", "", 1, 1, Unchecked},
        {"List3", "List", "", 2, 1, Unchecked},
        {"Details3", "Details", "", 3, 1, Unchecked},
    }},
    {"Filter2", "&Filter", "", -1, 0, Plain, {
        {"Folders4", "Folders", "", -1, 0, Checked},
        {"FlashMovies3", "Flash Movies", "", -1, 0, Checked},
        {"ExecuteFiles4", "Applications", "", -1, 0, Checked},
        {"OtherFiles3", "Other Files", "", -1, 0, Unchecked},
        Sep("N27"),
        {"HiddenFiles3", "Hidden Files", "", -1, 0, Unchecked},
    }},
    {"Sort2", "&Sort", "", -1, 0, Plain, {
        {"ByName1", "By Name", "", 0, 1, Checked},
        {"BySize3", "By Size", "", 1, 1, Unchecked},
        {"ByType3", "By Type", "", 2, 1, Unchecked},
        {"ByDate3", "By Date", "", 3, 1, Unchecked},
        Sep("N28"),
        {"Forward4", "Forward", "", -1, 2, Checked},
        {"Backward3", "Backward", "", -1, 2, Unchecked},
    }},
    {"Paste2", "&Paste"},
    Sep("N31"),
    {"Refresh2", "&Refresh"},
};

const std::vector<TItem> LvMenu2Table = {
    {"Open1", "Open"},
    {"ViewwithFlashPlayer1", "Open with Flash Player"},
    Sep("N7"),
    {"Compress1", "Compress"},
    {"Decompress1", "Decompress"},
    Sep("N19"),
    {"SendTo1", "Send To...", "", -1, 0, Plain, {
        {"Desktop1", "Desktop (Create Shortcut)"},
        {"MailRecipient1", "Mail Recipient"},
        {"MyDocuments2", "My Documents"},
    }},
    {"ExportMP31", "Export MP3..."},
    Sep("N29"),
    {"Cut1", "Cut"},
    {"Copy3", "Copy"},
    {"Paste3", "Paste"},
    {"Rename2", "Rename"},
};

const std::vector<TItem> FlashMenuTable = {
    {"Pause1", "Pause", "Ctrl+U"},
    {"Stop2", "Stop", "Ctrl+S"},
    Sep("N32"),
    {"PreviousMoive2", "Previous", "Ctrl+R"},
    {"NextMovie2", "Next", "Ctrl+E"},
    Sep("N8"),
    {"ZoomIn2", "Zoom In"},
    {"ZoomOut2", "Zoom Out"},
    Sep("N33"),
    {"OriginalSize3", "Original Size"},
    {"FullScreen2", "Full Screen", "F11", -1, 0, Unchecked},
};

struct TButton {
    const char* name;
    const char* caption;   // "-" is a separator
    int image = -1;
};

const std::vector<TButton> ToolBar1Table = {
    {"ToolButton3", "Previous", 5},
    {"ToolButton12", "Next", 6},
    {"ToolButton13", "Search", 7},
    {"ToolButton17", "-"},
    {"ToolButton1", "Download", 2},
    {"ToolButton2", "Print", 1},
    {"ToolButton15", "Mail", 4},
    {"ToolButton5", "   Options   ", 3},
    {"ToolButton18", "-"},
    {"ToolButton4", "   Home   ", 0},
    {"ToolButton14", "Help", 8},
};

const std::vector<TButton> ToolBar2Table = {
    {"btnBack", "Back", 0},
    {"btnForward", "Go", 1},
    {"btnUp", "Up", 2},
    {"ToolButton6", "Reload", 3},
    {"ToolButton8", "Filter", 6},
    {"ToolButton9", "Mode", 4},
    {"ToolButton7", "Sort", 5},
};

const std::vector<TButton> ToolBar3Table = {
    {"ToolButton10", "", 0},
    {"ToolButton11", "", 1},
};

// Fills menu from items; the actions belong to owner so it finds them by name.
void BuildMenu(QObject* owner, QMenu* menu, const std::vector<TItem>& items)
{
    QHash<int, QActionGroup*> groups;
    for (const TItem& item : items) {
        QAction* action = nullptr;
        if (!item.items.empty()) {
            auto* sub = new QMenu(QString::fromUtf8(item.caption), menu);
            sub->setObjectName(QString::fromUtf8(item.name));
            BuildMenu(owner, sub, item.items);
            action = sub->menuAction();
            menu->addMenu(sub);
        } else {
            action = new QAction(QString::fromUtf8(item.caption), owner);
            if (qstrcmp(item.caption, "-") == 0) {
                action->setText(QString());
                action->setSeparator(true);
            }
            menu->addAction(action);
        }
        action->setObjectName(QString::fromUtf8(item.name));
        if (*item.key)
            action->setShortcut(QKeySequence(QString::fromUtf8(item.key)));
        if (item.tag >= 0)
            action->setData(item.tag);
        if (item.state != Plain) {
            action->setCheckable(true);
            action->setChecked(item.state == Checked);
        }
        if (item.group) {
            QActionGroup*& group = groups[item.group];
            if (!group) {
                group = new QActionGroup(menu);
                group->setObjectName(menu->objectName() + QStringLiteral("Group%1").arg(item.group));
                group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
            }
            group->addAction(action);
        }
    }
}

void BuildToolBar(QObject* owner, QToolBar* bar, const std::vector<TButton>& buttons,
                  const std::vector<QIcon>& images)
{
    for (const TButton& b : buttons) {
        QAction* action;
        if (qstrcmp(b.caption, "-") == 0) {
            action = bar->addSeparator();
        } else {
            action = new QAction(QString::fromUtf8(b.caption), owner);
            if (b.image >= 0 && size_t(b.image) < images.size())
                action->setIcon(images[size_t(b.image)]);
            bar->addAction(action);
        }
        action->setObjectName(QString::fromUtf8(b.name));
        if (QWidget* w = bar->widgetForAction(action))
            w->setObjectName(QString::fromUtf8(b.name));
    }
}

} // namespace

void TMoviscope_Main::CreateCommands()
{
    Moviscope_MainMenu = menuBar();
    Moviscope_MainMenu->setObjectName(QStringLiteral("Moviscope_MainMenu"));
    Moviscope_MainMenu->setAccessibleName(QStringLiteral("Main menu"));
    for (const TItem& top : MainMenuTable()) {
        auto* menu = new QMenu(QString::fromUtf8(top.caption), Moviscope_MainMenu);
        menu->setObjectName(QString::fromUtf8(top.name));
        menu->menuAction()->setObjectName(QString::fromUtf8(top.name));
        BuildMenu(this, menu, top.items);
        Moviscope_MainMenu->addMenu(menu);
    }

    const auto popup = [this](const char* name, const std::vector<TItem>& table) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::fromUtf8(name));
        BuildMenu(this, menu, table);
        return menu;
    };
    FilterMenu = popup("FilterMenu", FilterMenuTable);
    sortMenu = popup("sortMenu", SortMenuTable);
    modeMenu = popup("modeMenu", ModeMenuTable);
    lvMenu1 = popup("lvMenu1", LvMenu1Table);
    lvMenu2 = popup("lvMenu2", LvMenu2Table);
    FlashMenu = popup("FlashMenu", FlashMenuTable);

    BuildToolBar(this, ToolBar1, ToolBar1Table, toolImagesC);
    BuildToolBar(this, ToolBar2, ToolBar2Table, toolImagesA);
    BuildToolBar(this, ToolBar3, ToolBar3Table, toolImagesB);
    ToolBar3->setAccessibleName(QStringLiteral("File commands"));
    Action(QStringLiteral("ToolButton10"))->setToolTip(QStringLiteral("Delete"));
    Action(QStringLiteral("ToolButton11"))->setToolTip(QStringLiteral("Rename"));

    // The drop-down buttons of the list tool bar.
    const std::pair<const char*, QMenu*> dropDowns[] = {
        {"ToolButton8", FilterMenu}, {"ToolButton9", modeMenu}, {"ToolButton7", sortMenu}};
    for (const auto& [name, menu] : dropDowns) {
        QAction* action = Action(QString::fromUtf8(name));
        action->setMenu(menu);
        if (auto* button = qobject_cast<QToolButton*>(ToolBar2->widgetForAction(action)))
            button->setPopupMode(QToolButton::MenuButtonPopup);
    }

    ConnectCommands();
}

void TMoviscope_Main::ConnectCommands()
{
    const std::map<QString, std::function<void()>> handlers = {
        {QStringLiteral("Exit1"), [this] { Exit1Click(); }},
        {QStringLiteral("oolBar1"), [this] { oolBar1Click(); }},
        {QStringLiteral("StatusBar2"), [this] { StatusBar2Click(); }},
        {QStringLiteral("PreviewPanel1"), [this] { PreviewPanel1Click(); }},
        {QStringLiteral("Folders3"), [this] { Folders3Click(); }},
        {QStringLiteral("Search1"), [this] { Search1Click(); }},
        {QStringLiteral("Favorite1"), [this] { Favorite1Click(); }},
        {QStringLiteral("Catalogs1"), [this] { Catalogs1Click(); }},
        {QStringLiteral("Downloads1"), [this] { Downloads1Click(); }},
        {QStringLiteral("Refresh1"), [this] { RefreshFolder(); }},
        {QStringLiteral("Refresh2"), [this] { RefreshFolder(); }},
        {QStringLiteral("ToolButton6"), [this] { RefreshFolder(); }},
        {QStringLiteral("Option1"), [this] { Option1Click(); }},
        {QStringLiteral("ToolButton5"), [this] { Option1Click(); }},
    };

    for (QAction* action : findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name.isEmpty() || action->isSeparator() || action->menu())
            continue;   // separators, sub-menus and drop-down buttons stay as they are
        const auto h = handlers.find(name);
        if (h == handlers.end()) {
            // Its behaviour comes with a later part of the program.
            action->setEnabled(false);
            continue;
        }
        connect(action, &QAction::triggered, this, Reported(h->second));
    }
}

void TMoviscope_Main::Option1Click()
{
    TOptionDialog dialog(this, FDatabases);
    dialog.exec();
}

QAction* TMoviscope_Main::Action(const QString& name) const
{
    for (QAction* action : findChildren<QAction*>(name))
        return action;
    return nullptr;
}
