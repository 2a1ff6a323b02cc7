// The main window's life: creation in its fixed order, the one-shot work of the first
// activation, and closing with the state stored and the settings written.
#include "browser/MainFrm.h"

#include "browser/Globals.h"
#include "browser/Settings.h"
#include "platform/shell/ShellFolder.h"
#include "platform/vcl/AccessibleNames.h"
#include "platform/vcl/ErrorReport.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTabWidget>
#include <QTreeView>
#include <functional>

// Resources live in the static browser library; without this the linker drops them.
static void InitResources()
{
    Q_INIT_RESOURCE(resources);
}

TMoviscope_Main* Moviscope_Main = nullptr;

TMoviscope_Main::TMoviscope_Main(QWidget* parent) : QMainWindow(parent)
{
    InitResources();
    InstallAccessibleDescriptions(qApp);
    Moviscope_Main = this;
    setObjectName(QStringLiteral("Moviscope_Main"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/movie.png")));
    resize(812, 628);
    CreateComponents();
    CreateCommands();

    FListModel = new TShellListModel(FListing, this);
    ListView->setModel(FListModel);
    connect(ListView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            Reported([this] { ListViewSelectionChanged(); }));

    // A failing step is reported and the steps after it are skipped; the window still opens.
    RunReported([this] { FormCreate(); });
}

TMoviscope_Main::~TMoviscope_Main()
{
    if (Moviscope_Main == this)
        Moviscope_Main = nullptr;
}

void TMoviscope_Main::FormCreate()
{
    ThumbDbPath = AppDir + QStringLiteral("Database/Thumb.mdb");
    LibraryDbPath = AppDir + QStringLiteral("Database/mv160.mdb");

    InitState();
    // Still to come here: the volume menu from the mixer, the search page's defaults, the
    // special folder table and the list hooks.

    // A database that cannot be opened is reported; the program goes on with the other one.
    for (const QString& error : FDatabases.OpenDatabases())
        ShowDefaultError(error);

    ReadSettings(AppDir + QStringLiteral("Moviscope.Ini"));
    setWindowTitle(QStringLiteral("Moviscope ") + VersionText);

    FListing.FDesktopFolder = DesktopFolder();
    FListing.FCurrentFolder = FListing.FDesktopFolder;

    // Titles view: large icons on an 80 by 80 grid.
    ListView->setGridSize(QSize(80, 80));
    FListModel->SetLargeIcons(true);

    BrowseTo(MyComputerIdList());
    // The Titles view is the only one so far; the other view modes come with their commands.

    cbPath->setFocus();
    if (QLineEdit* edit = cbPath->lineEdit())
        edit->selectAll();
    PageControl1->setCurrentIndex(0);
    // Qt paints double-buffered already, so the preview and the status bar do not flicker.

    ApplyWindowGeometry();
}

void TMoviscope_Main::InitState()
{
    FViewMode = 0;
    FSortKey = 0;
    FSortForward = true;
    FNameSortOnly = true;
    FListing.FShowFolders = true;
    FListing.FShowMovies = true;
    FListing.FShowApplications = true;
    FListing.FShowOthers = false;
    FListing.FShowHidden = false;
    FShowLocation = false;
    FShowSize = true;
    FShowType = false;
    FShowDate = true;
    FShowAttributes = true;
    FToolBarVisible = true;
    FFullScreen = false;
    FEditing = false;
    FEditIndex = 0;
    FSelectedIndex = 0;
    FStatusIcon = QPixmap();
    FStatusName.clear();
    FSavedNavHeight = 0;
    FListing.FResultFolders.clear();
    FInitHelp = FInitSearchLookIn = FInitHistory = FInitCategories = FInitFavorites = FInitExpandDrives = true;
}

bool TMoviscope_Main::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        RunReported([this] { FormActivate(); });
    return QMainWindow::event(event);
}

void TMoviscope_Main::FormActivate()
{
    // Each flag is cleared before its step runs, so a step that fails is not retried on
    // every activation.
    if (FInitHelp)
        FInitHelp = false;           // the help viewer comes later
    if (FInitSearchLookIn)
        FInitSearchLookIn = false;   // the search page comes later
    if (FInitHistory)
        FInitHistory = false;        // the download history comes later
    if (FInitCategories)
        FInitCategories = false;     // the categories tree comes later
    if (FInitFavorites)
        FInitFavorites = false;      // the favourites tree comes later
    if (FInitExpandDrives) {
        FInitExpandDrives = false;
        ExpandMyComputer();
    }
}

void TMoviscope_Main::ExpandMyComputer()
{
    QAbstractItemModel* model = ShellTreeView1->model();
    if (!model)
        return;
    const TItemIdList drives = MyComputerIdList();
    const QString name = DisplayNameOf(*DesktopFolder(), drives, false);
    // The last node in node order whose text is exactly that name.
    QModelIndex found;
    // Only nodes the tree already holds count: walk them depth first, in node order.
    const std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        const int rows = model->rowCount(parent);
        for (int r = 0; r < rows; ++r) {
            const QModelIndex node = model->index(r, 0, parent);
            if (node.data(Qt::DisplayRole).toString() == name)
                found = node;
            if (ShellTreeView1->isExpanded(node))
                walk(node);
        }
    };
    walk(QModelIndex());
    if (found.isValid())
        ShellTreeView1->expand(found);
    const QModelIndex first = model->index(0, 0);
    if (first.isValid())
        ShellTreeView1->scrollTo(first, QAbstractItemView::PositionAtTop);
}

void TMoviscope_Main::closeEvent(QCloseEvent* event)
{
    if (!FClosed) {
        FClosed = true;
        RunReported([this] { FormClose(); });
    }
    event->accept();
}

void TMoviscope_Main::FormClose()
{
    {
        TShellListModel::TUpdateGuard batch(FListModel);
        FListing.ClearAllItems();
        FListing.ClearShownItems();
    }
    FSpecialIds.clear();
    FSpecialNames.clear();
    FListing.FResultFolders.clear();
    FStatusIcon = QPixmap();

    // In full screen the geometry from before it stays in the settings.
    if (!FFullScreen) {
        Settings.WindowLeft = x();
        Settings.WindowTop = y();
        Settings.WindowWidth = width();
        Settings.WindowHeight = height();
        Settings.NavPanelHeight = NavigatePanel->height();
        Settings.SidePanelWidth = Panel1->width();
    }
    WriteSettings(AppDir + QStringLiteral("Moviscope.Ini"));
}
