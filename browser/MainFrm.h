// The browser's main window. It owns the state every part of the program shares and wires the
// menus and controls to it; the logic itself lives in plain classes (the listing, ...).
// Handlers are spread over MainFrm*.cpp by concern.
#pragma once

#include "browser/Databases.h"
#include "browser/ListModel.h"
#include "browser/Listing.h"
#include "platform/shell/ItemIdList.h"

#include <QIcon>
#include <QMainWindow>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QFrame;
class QListView;
class QMenu;
class QMenuBar;
class QScrollArea;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeView;
class TCoolBar;
class TSplitter;
class TStatusBar;

class TMoviscope_Main : public QMainWindow {
    Q_OBJECT
public:
    explicit TMoviscope_Main(QWidget* parent = nullptr);
    ~TMoviscope_Main() override;

    // The action of a menu item or tool button by its component name; nullptr when none.
    QAction* Action(const QString& name) const;

    // --- Listing (MainFrmListing.cpp)
    void BrowseTo(const TItemIdList& pidl);
    void RefreshFolder();
    TShellItem* ShownItem(int index);
    TShellItem* AllItem(int index);
    void LoadItemDetails(int index);
    void LoadAllDetails();
    void ListViewSelectionChanged();   // status panel 1 icon + name for the selected entry

    // --- Layout (MainFrmLayout.cpp)
    void ShowPreviewPanel(bool visible);
    void ApplyWindowGeometry();
    void CoolBar2Resize();
    void oolBar1Click();
    void StatusBar2Click();
    void PreviewPanel1Click();
    void Folders3Click();
    void Search1Click();
    void Favorite1Click();
    void Catalogs1Click();
    void Downloads1Click();
    void Exit1Click();
    void Option1Click();   // "Options": the Options dialog, modal
    void StatusBar1DrawPanel(TStatusBar* bar, QPainter& canvas, int panel, const QRect& rect);

    // --- Components
    QMenuBar* Moviscope_MainMenu = nullptr;
    QMenu* FilterMenu = nullptr;
    QMenu* sortMenu = nullptr;
    QMenu* modeMenu = nullptr;
    QMenu* lvMenu1 = nullptr;
    QMenu* lvMenu2 = nullptr;
    QMenu* FlashMenu = nullptr;

    TCoolBar* CoolBar1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QWidget* Panel1 = nullptr;
    QFrame* NavigatePanel = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;   // Folders
    TCoolBar* CoolBar3 = nullptr;
    QWidget* Panel4 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QTreeView* ShellTreeView1 = nullptr;
    QWidget* TabSheet5 = nullptr;   // Search
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* TabSheet6 = nullptr;   // Favorites
    TCoolBar* CoolBar6 = nullptr;
    QWidget* Panel7 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QTreeView* TreeView3 = nullptr;
    QWidget* TabSheet7 = nullptr;   // Categories
    TCoolBar* CoolBar5 = nullptr;
    QWidget* Panel3 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QTreeView* TreeView2 = nullptr;
    QWidget* TabSheet2 = nullptr;   // History
    TCoolBar* CoolBar4 = nullptr;
    QWidget* Panel6 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QTreeView* TreeView1 = nullptr;
    TSplitter* Splitter2 = nullptr;
    QFrame* FlashPanel = nullptr;
    QWidget* Flash1 = nullptr;      // the player control takes this place
    TSplitter* Splitter1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel5 = nullptr;
    TCoolBar* CoolBar2 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QComboBox* cbPath = nullptr;
    QListView* ListView = nullptr;
    TStatusBar* StatusBar1 = nullptr;

    // Image lists, in index order.
    std::vector<QIcon> TreeViewImages, toolImagesA, toolImagesB, toolImagesC;

    // --- State shared by the parts of the window
    TLibraryDatabases FDatabases;   // ADOConnection1/2 and ADOQuery1/2
    TListing FListing;
    TShellListModel* FListModel = nullptr;
    int FViewMode = 0;
    int FSortKey = 0;
    bool FSortForward = true;
    bool FNameSortOnly = true;
    bool FShowLocation = false, FShowSize = true, FShowType = false, FShowDate = true, FShowAttributes = true;
    bool FToolBarVisible = true;
    bool FFullScreen = false;
    bool FEditing = false;
    int FEditIndex = 0;
    int FSelectedIndex = 0;
    QPixmap FStatusIcon;
    QString FStatusName;
    int FSavedNavHeight = 0;
    QStringList FSpecialIds, FSpecialNames;

    // One-shot work of the first activation, in the order it runs.
    bool FInitHelp = true;
    bool FInitSearchLookIn = true;
    bool FInitHistory = true;
    bool FInitCategories = true;
    bool FInitFavorites = true;
    bool FInitExpandDrives = true;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // MainFrm.cpp
    void FormCreate();
    void InitState();
    void FormActivate();
    void FormClose();
    void ExpandMyComputer();
    // MainFrmLayout.cpp
    void CreateComponents();
    void LoadImageLists();
    // MainFrmCommands.cpp
    void CreateCommands();
    void ConnectCommands();
    void CheckNavigateItem(const QString& name, int page);

    bool FClosed = false;
};

extern TMoviscope_Main* Moviscope_Main;
