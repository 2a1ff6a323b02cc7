// The window's layout and the commands that show and hide its parts.
#include "browser/MainFrm.h"

#include "browser/Settings.h"
#include "platform/vcl/CoolBar.h"
#include "platform/vcl/DrawTransparent.h"
#include "platform/vcl/Splitter.h"
#include "platform/vcl/StatusBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListView>
#include <QPainter>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QIcon Image(const char* name, int size)
{
    return QIcon(QStringLiteral(":/icons/%1-%2.png").arg(QString::fromUtf8(name)).arg(size));
}

template <typename W>
W* Named(W* widget, const char* name, const char* accessibleName = nullptr)
{
    widget->setObjectName(QString::fromUtf8(name));
    if (accessibleName)
        widget->setAccessibleName(QString::fromUtf8(accessibleName));
    return widget;
}

QToolButton* SpeedButton(QWidget* parent, QLayout* layout, const char* name, const char* caption)
{
    auto* b = Named(new QToolButton(parent), name);
    b->setText(QString::fromUtf8(caption));
    b->setAutoRaise(true);
    b->setEnabled(false);   // the library pages come later
    layout->addWidget(b);
    return b;
}

// A navigation page: a strip of flat buttons on a cool bar above a client control.
struct TPage {
    QWidget* sheet;
    TCoolBar* coolBar;
    QWidget* panel;
    QHBoxLayout* buttons;
};

TPage MakePage(QTabWidget* tabs, const char* sheetName, const char* caption, const char* accessible,
               const char* coolBarName, const char* panelName)
{
    TPage page;
    page.sheet = Named(new QWidget, sheetName, accessible);
    auto* v = new QVBoxLayout(page.sheet);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    page.coolBar = Named(new TCoolBar(page.sheet), coolBarName);
    page.panel = Named(new QWidget, panelName);
    page.buttons = new QHBoxLayout(page.panel);
    page.buttons->setContentsMargins(2, 1, 2, 1);
    page.buttons->setSpacing(2);
    page.coolBar->AddBand(page.panel, false, 22);
    v->addWidget(page.coolBar);
    tabs->addTab(page.sheet, QString::fromUtf8(caption));
    return page;
}

QTreeView* PageTree(TPage& page, const char* name, const char* accessible)
{
    auto* tree = Named(new QTreeView(page.sheet), name, accessible);
    tree->setHeaderHidden(true);
    page.buttons->addStretch(1);
    page.sheet->layout()->addWidget(tree);
    return tree;
}

} // namespace

void TMoviscope_Main::LoadImageLists()
{
    for (const char* n : {"home", "print", "download", "options", "mail", "previous", "next", "search", "help"})
        toolImagesC.push_back(Image(n, 32));
    for (const char* n : {"back", "forward", "up", "reload", "mode", "sort", "filter"})
        toolImagesA.push_back(Image(n, 18));
    for (const char* n : {"delete", "rename"})
        toolImagesB.push_back(Image(n, 18));
    for (const char* n : {"favorites", "folder-open", "history", "folders", "search", "categories"})
        TreeViewImages.push_back(Image(n, 18));
}

void TMoviscope_Main::CreateComponents()
{
    LoadImageLists();

    auto* client = Named(new QWidget(this), "ClientArea");
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    setCentralWidget(client);

    // Large tool bar.
    CoolBar1 = Named(new TCoolBar(client), "CoolBar1");
    CoolBar1->setMinimumHeight(55);   // the style decides how much more the captions need
    CoolBar1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    ToolBar1 = Named(new QToolBar, "ToolBar1", "Main tool bar");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    CoolBar1->AddBand(ToolBar1, false, 52);
    clientLayout->addWidget(CoolBar1);

    auto* body = Named(new QWidget(client), "Body");
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->setSpacing(0);
    clientLayout->addWidget(body, 1);

    // Left column: navigation pages above the preview.
    Panel1 = Named(new QWidget(body), "Panel1");
    Panel1->setFixedWidth(297);
    auto* leftLayout = new QVBoxLayout(Panel1);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);

    NavigatePanel = Named(new QFrame(Panel1), "NavigatePanel");
    NavigatePanel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    NavigatePanel->setFixedHeight(276);
    auto* navLayout = new QVBoxLayout(NavigatePanel);
    navLayout->setContentsMargins(1, 1, 1, 1);
    PageControl1 = Named(new QTabWidget(NavigatePanel), "PageControl1", "Navigation pages");
    PageControl1->setIconSize(QSize(18, 18));
    PageControl1->setUsesScrollButtons(true);
    PageControl1->setElideMode(Qt::ElideNone);
    navLayout->addWidget(PageControl1);

    TPage folders = MakePage(PageControl1, "TabSheet1", "Folders       ", "Folders", "CoolBar3", "Panel4");
    TabSheet1 = folders.sheet; CoolBar3 = folders.coolBar; Panel4 = folders.panel;
    SpeedButton2 = SpeedButton(Panel4, folders.buttons, "SpeedButton2", "Add To Favorites");
    ShellTreeView1 = PageTree(folders, "ShellTreeView1", "Folder tree");
    ShellTreeView1->setIndentation(19);
    ShellTreeView1->setRootIsDecorated(false);

    TabSheet5 = Named(new QWidget, "TabSheet5", "Search");
    auto* searchLayout = new QVBoxLayout(TabSheet5);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = Named(new QScrollArea(TabSheet5), "ScrollBox1", "Search criteria");
    ScrollBox1->setWidgetResizable(true);
    searchLayout->addWidget(ScrollBox1);
    PageControl1->addTab(TabSheet5, QStringLiteral("Search       "));

    TPage favorites = MakePage(PageControl1, "TabSheet6", "Favorites    ", "Favorites", "CoolBar6", "Panel7");
    TabSheet6 = favorites.sheet; CoolBar6 = favorites.coolBar; Panel7 = favorites.panel;
    SpeedButton8 = SpeedButton(Panel7, favorites.buttons, "SpeedButton8", "Add to favorites");
    SpeedButton9 = SpeedButton(Panel7, favorites.buttons, "SpeedButton9", "Delete");
    TreeView3 = PageTree(favorites, "TreeView3", "Favorites tree");
    TreeView3->setIndentation(21);

    TPage categories = MakePage(PageControl1, "TabSheet7", "Categories  ", "Categories", "CoolBar5", "Panel3");
    TabSheet7 = categories.sheet; CoolBar5 = categories.coolBar; Panel3 = categories.panel;
    SpeedButton5 = SpeedButton(Panel3, categories.buttons, "SpeedButton5", "New");
    SpeedButton6 = SpeedButton(Panel3, categories.buttons, "SpeedButton6", "Delete");
    SpeedButton7 = SpeedButton(Panel3, categories.buttons, "SpeedButton7", "Rename");
    TreeView2 = PageTree(categories, "TreeView2", "Categories tree");
    TreeView2->setRootIsDecorated(false);

    TPage history = MakePage(PageControl1, "TabSheet2", "History        ", "History", "CoolBar4", "Panel6");
    TabSheet2 = history.sheet; CoolBar4 = history.coolBar; Panel6 = history.panel;
    SpeedButton4 = SpeedButton(Panel6, history.buttons, "SpeedButton4", "View by Date");
    SpeedButton3 = SpeedButton(Panel6, history.buttons, "SpeedButton3", "View by Host");
    TreeView1 = PageTree(history, "TreeView1", "History tree");

    const std::pair<int, int> tabImages[] = {{0, 3}, {1, 4}, {3, 5}, {4, 2}};
    for (const auto& [page, image] : tabImages)
        PageControl1->setTabIcon(page, TreeViewImages[size_t(image)]);
    leftLayout->addWidget(NavigatePanel);

    Splitter2 = Named(new TSplitter(Qt::Vertical, 3, Panel1), "Splitter2", "Preview splitter");
    Splitter2->SetTarget(NavigatePanel);
    leftLayout->addWidget(Splitter2);

    FlashPanel = Named(new QFrame(Panel1), "FlashPanel");
    FlashPanel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* flashLayout = new QVBoxLayout(FlashPanel);
    flashLayout->setContentsMargins(1, 1, 1, 1);
    Flash1 = Named(new QWidget(FlashPanel), "Flash1", "Movie preview");
    flashLayout->addWidget(Flash1);
    leftLayout->addWidget(FlashPanel, 1);
    bodyLayout->addWidget(Panel1);

    Splitter1 = Named(new TSplitter(Qt::Horizontal, 2, body), "Splitter1", "Side panel splitter");
    Splitter1->SetTarget(Panel1);
    bodyLayout->addWidget(Splitter1);

    // Right column: list tool bars and path box above the folder list.
    Panel2 = Named(new QWidget(body), "Panel2");
    auto* p2 = new QVBoxLayout(Panel2);
    p2->setContentsMargins(0, 0, 0, 0);
    Panel5 = Named(new QWidget(Panel2), "Panel5");
    p2->addWidget(Panel5);
    auto* p5 = new QVBoxLayout(Panel5);
    p5->setContentsMargins(0, 0, 0, 0);
    p5->setSpacing(0);

    CoolBar2 = Named(new TCoolBar(Panel5), "CoolBar2");
    ToolBar2 = Named(new QToolBar, "ToolBar2", "List tool bar");
    ToolBar2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar2->setIconSize(QSize(18, 18));
    ToolBar3 = Named(new QToolBar, "ToolBar3");
    ToolBar3->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar3->setIconSize(QSize(18, 18));
    for (QToolBar* bar : {ToolBar2, ToolBar3}) {
        bar->setMovable(false);
        bar->setFloatable(false);
    }
    cbPath = Named(new QComboBox, "cbPath", "Path");
    cbPath->setEditable(true);
    cbPath->setInsertPolicy(QComboBox::NoInsert);
    CoolBar2->AddBand(ToolBar2, false, 24);
    CoolBar2->AddBand(ToolBar3, true, 24, 72);
    CoolBar2->AddBand(cbPath, false, 21, 431);
    connect(CoolBar2, &TCoolBar::Resized, this, [this] { CoolBar2Resize(); });
    p5->addWidget(CoolBar2);

    ListView = Named(new QListView(Panel5), "ListView", "Folder list");
    ListView->setFrameShape(QFrame::NoFrame);
    ListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView->setUniformItemSizes(true);
    ListView->setViewMode(QListView::IconMode);
    ListView->setResizeMode(QListView::Adjust);
    ListView->setMovement(QListView::Static);
    ListView->setGridSize(QSize(80, 80));
    ListView->setIconSize(QSize(32, 32));
    ListView->setWordWrap(true);
    p5->addWidget(ListView, 1);
    bodyLayout->addWidget(Panel2, 1);

    // Status bar with the design widths; panel 1 is painted by the window.
    StatusBar1 = Named(new TStatusBar(client), "StatusBar1", "Status bar");
    StatusBar1->AddPanel(160, QStringLiteral(" Total 0 file(s), 0 filtered"));
    StatusBar1->AddPanel(135, QString(), true);
    StatusBar1->AddPanel(132);
    StatusBar1->AddPanel(50);
    StatusBar1->AddPanel(200);
    StatusBar1->AddPanel(50);
    StatusBar1->AddPanel(50);
    StatusBar1->OnDrawPanel = [this](TStatusBar* bar, QPainter& canvas, int panel, const QRect& rect) {
        StatusBar1DrawPanel(bar, canvas, panel, rect);
    };
    clientLayout->addWidget(StatusBar1);
}

void TMoviscope_Main::StatusBar1DrawPanel(TStatusBar* bar, QPainter& canvas, int panel, const QRect& rect)
{
    if (panel != 1)
        return;
    const int left = rect.left();
    const int h = FStatusIcon.isNull() ? 0 : qRound(FStatusIcon.deviceIndependentSize().height());
    const int w = FStatusIcon.isNull() ? 0 : qRound(FStatusIcon.deviceIndependentSize().width());
    const int y = qRound((rect.bottom() + 1 - rect.top() - h + 4) / 2.0);
    DrawTransparent(canvas, FStatusIcon, left + 6, y, bar->palette().color(QPalette::Light));
    canvas.setPen(bar->palette().color(QPalette::WindowText));
    canvas.setFont(bar->font());
    const QRect text(left + 6 + w + 8, y + 2 - (h ? 0 : canvas.fontMetrics().height() / 2),
                     qMax(0, rect.right() - (left + 6 + w + 8)), canvas.fontMetrics().height());
    canvas.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, FStatusName);
    if (QWidget* cell = bar->PanelWidget(1); cell && cell->accessibleName() != FStatusName && !FStatusName.isEmpty())
        cell->setAccessibleName(FStatusName);
}

void TMoviscope_Main::ApplyWindowGeometry()
{
    const TSettings& s = Settings;
    // Position first, then size, as the stored values were taken.
    move(s.WindowLeft, s.WindowTop);
    resize(s.WindowWidth, s.WindowHeight);
    NavigatePanel->setFixedHeight(qMax(0, s.NavPanelHeight));
    Panel1->setFixedWidth(qMax(0, s.SidePanelWidth));
}

void TMoviscope_Main::ShowPreviewPanel(bool visible)
{
    if (!visible) {
        FlashPanel->hide();
        Splitter2->hide();
        FSavedNavHeight = NavigatePanel->height();
        // Fill the column.
        NavigatePanel->setMinimumHeight(0);
        NavigatePanel->setMaximumHeight(QWIDGETSIZE_MAX);
        static_cast<QBoxLayout*>(Panel1->layout())->setStretchFactor(NavigatePanel, 1);
    } else {
        static_cast<QBoxLayout*>(Panel1->layout())->setStretchFactor(NavigatePanel, 0);
        NavigatePanel->setFixedHeight(FSavedNavHeight);
        Splitter2->show();
        FlashPanel->show();
    }
}

void TMoviscope_Main::CoolBar2Resize()
{
    CoolBar2->SetBandMinHeight(0, ToolBar2->height());
    CoolBar2->SetBandMinHeight(1, ToolBar3->height());
}

void TMoviscope_Main::oolBar1Click()
{
    FToolBarVisible = Action(QStringLiteral("oolBar1"))->isChecked();
    CoolBar1->setVisible(FToolBarVisible);
}

void TMoviscope_Main::StatusBar2Click()
{
    StatusBar1->setVisible(Action(QStringLiteral("StatusBar2"))->isChecked());
}

void TMoviscope_Main::PreviewPanel1Click()
{
    ShowPreviewPanel(Action(QStringLiteral("PreviewPanel1"))->isChecked());
}

void TMoviscope_Main::CheckNavigateItem(const QString& name, int page)
{
    Action(name)->setChecked(true);
    PageControl1->setCurrentIndex(page);
}

void TMoviscope_Main::Folders3Click() { CheckNavigateItem(QStringLiteral("Folders3"), 0); }
void TMoviscope_Main::Search1Click() { CheckNavigateItem(QStringLiteral("Search1"), 1); }
void TMoviscope_Main::Favorite1Click() { CheckNavigateItem(QStringLiteral("Favorite1"), 2); }
void TMoviscope_Main::Catalogs1Click() { CheckNavigateItem(QStringLiteral("Catalogs1"), 3); }
void TMoviscope_Main::Downloads1Click() { CheckNavigateItem(QStringLiteral("Downloads1"), 4); }

void TMoviscope_Main::Exit1Click()
{
    close();
}
