#include "browser/OptionDlg.h"

#include "browser/BrowseFolder.h"
#include "browser/Databases.h"
#include "browser/Globals.h"
#include "browser/Settings.h"
#include "platform/vcl/ErrorReport.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>

TOptionDialog::TOptionDialog(QWidget* owner, TLibraryDatabases& databases)
    : QDialog(owner), FolderPrompt(BrowseForFolder), FDatabases(databases),
      ADOQuery1(databases.ADOConnection1), ADOQuery2(databases.ADOConnection2)
{
    setObjectName(QStringLiteral("OptionDialog"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(429, 463);
    // The design's sizes assume an 8 point face; the system family at that size keeps the texts inside.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setAccessibleName(QStringLiteral("Option pages"));
    PageControl1->setGeometry(8, 6, 414, 423);
    PageControl1->setUsesScrollButtons(false);
    // The captions carry their own blanks for spacing; the style's padding would push the third off.
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 0px; }"));
    BuildCapturePage();
    BuildConnectionPage();
    BuildDatabasePage();

    Button1 = Button(this, "Button1", QStringLiteral("OK"), {188, 435, 75, 23});
    Button2 = Button(this, "Button2", QStringLiteral("Cancel"), {266, 435, 75, 23});
    Button3 = Button(this, "Button3", QStringLiteral("Apply"), {345, 435, 75, 23});
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, Reported([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, Reported([this] { Button3Click(); }));

    FormCreate();
}

// ---- building

QGroupBox* TOptionDialog::Group(QWidget* page, const QString& title, QRect bounds, const QString& icon, QPoint imageAt)
{
    auto* group = new QGroupBox(title, page);
    group->setObjectName(QStringLiteral("GroupBox%1").arg(FNextGroup++));
    group->setGeometry(bounds);
    auto* image = new QLabel(group);
    image->setObjectName(QStringLiteral("Image%1").arg(FNextImage++));
    image->setGeometry(imageAt.x(), imageAt.y(), 32, 32);
    QIcon pic = QIcon::fromTheme(icon);
    if (pic.isNull())
        pic = style()->standardIcon(QStyle::SP_DirIcon);
    image->setPixmap(pic.pixmap(32, 32));
    image->setAccessibleName(title.trimmed() + QStringLiteral(" picture"));
    return group;
}

QLabel* TOptionDialog::Text(QWidget* parent, const QString& text, QRect bounds, Qt::Alignment align)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(FNextLabel++));
    label->setGeometry(bounds);
    label->setAlignment(align);
    return label;
}

QLineEdit* TOptionDialog::EditBox(QWidget* parent, const char* name, QRect bounds, const QString& accessibleName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(bounds);
    edit->setAccessibleName(accessibleName);
    return edit;
}

QPushButton* TOptionDialog::Button(QWidget* parent, const char* name, const QString& text, QRect bounds)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(bounds);
    return button;
}

void TOptionDialog::BuildCapturePage()
{
    Database = new QWidget;
    Database->setObjectName(QStringLiteral("Database"));
    Database->setAccessibleName(QStringLiteral("Flash Capture"));
    PageControl1->addTab(Database, QStringLiteral("  Flash  Capture       "));

    QGroupBox* folder = Group(Database, QStringLiteral(" Default Capture Folder "), {15, 10, 378, 95}, QStringLiteral("folder-pictures"));
    Text(folder, QStringLiteral("Please choose specified folder for catpuring images from flash"), {44, 18, 334, 16});
    Text(folder, QStringLiteral("movie."), {44, 34, 334, 16});
    QLabel* folderLabel = Text(folder, QStringLiteral("Folder:"), {20, 63, 46, 16});
    Edit8 = EditBox(folder, "Edit8", {68, 61, 269, 21}, QStringLiteral("Capture folder"));
    folderLabel->setBuddy(Edit8);
    Button5 = Button(folder, "Button5", QStringLiteral("..."), {342, 60, 23, 23});
    Button5->setAccessibleName(QStringLiteral("Choose capture folder"));

    QGroupBox* format = Group(Database, QStringLiteral(" Image Format "), {15, 119, 378, 80}, QStringLiteral("image-x-generic"));
    Text(format, QStringLiteral("Please choose captured image format."), {44, 20, 334, 16});
    RadioButton1 = new QRadioButton(QStringLiteral("Bitmap"), format);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->move(68, 48);
    RadioButton2 = new QRadioButton(QStringLiteral("JPEG"), format);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->move(180, 48);

    FNextGroup = 8;   // the compression group keeps its design name
    GroupBox8 = Group(Database, QStringLiteral(" Image Compression Ratio "), {15, 214, 378, 110}, QStringLiteral("preferences-system"));
    Text(GroupBox8, QStringLiteral("Please choose captured image compression ratio."), {44, 20, 334, 16});
    TrackBar1 = new QSlider(Qt::Horizontal, GroupBox8);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setAccessibleName(QStringLiteral("Image compression ratio"));
    TrackBar1->setGeometry(60, 50, 278, 32);
    TrackBar1->setRange(50, 100);
    TrackBar1->setTickInterval(3);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setPageStep(3);
    LabelSmallest = Text(GroupBox8, QStringLiteral("Smallest"), {65, 84, 49, 16}, Qt::AlignLeft | Qt::AlignVCenter);
    LabelMiddle = Text(GroupBox8, QStringLiteral("Middle"), {175, 84, 49, 16}, Qt::AlignHCenter | Qt::AlignVCenter);
    LabelBest = Text(GroupBox8, QStringLiteral("Best"), {289, 84, 49, 16}, Qt::AlignRight | Qt::AlignVCenter);
    FNextGroup = 3;

    connect(Button5, &QPushButton::clicked, this, Reported([this] { Button5Click(); }));
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton1Click();
        EnableApply();
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton2Click();
        EnableApply();
    });
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { EnableApply(); });   // TrackBar1Change
    connect(Edit8, &QLineEdit::textChanged, this, [this] { EnableApply(); });
}

void TOptionDialog::BuildConnectionPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet1->setAccessibleName(QStringLiteral("Connection Settings"));
    PageControl1->addTab(TabSheet1, QStringLiteral("   Connection Settings       "));

    QGroupBox* folder = Group(TabSheet1, QStringLiteral(" Default download folder "), {15, 10, 378, 101}, QStringLiteral("folder-download"));
    Text(folder, QStringLiteral("Please choose specified path to store flash movies that you"), {44, 18, 334, 16});
    Text(folder, QStringLiteral("have downloaded from Internet."), {44, 34, 334, 16});
    QLabel* folderLabel = Text(folder, QStringLiteral("Folder:"), {20, 63, 46, 16});
    Edit1 = EditBox(folder, "Edit1", {68, 61, 269, 21}, QStringLiteral("Download folder"));
    folderLabel->setBuddy(Edit1);
    Button4 = Button(folder, "Button4", QStringLiteral("..."), {342, 60, 23, 23});
    Button4->setAccessibleName(QStringLiteral("Choose download folder"));

    QGroupBox* login = Group(TabSheet1, QStringLiteral(" Username and password "), {15, 128, 378, 121}, QStringLiteral("dialog-password"));
    Text(login, QStringLiteral("Some web server require username and password."), {44, 20, 334, 16});
    QLabel* userLabel = Text(login, QStringLiteral("Username:"), {60, 52, 66, 16});
    Edit2 = EditBox(login, "Edit2", {128, 50, 201, 21}, QStringLiteral("Username"));
    userLabel->setBuddy(Edit2);
    QLabel* passwordLabel = Text(login, QStringLiteral("Password:"), {60, 82, 66, 16});
    Edit3 = EditBox(login, "Edit3", {128, 80, 201, 21}, QStringLiteral("Password"));
    passwordLabel->setBuddy(Edit3);
    // The password is the secret: it is the box that shows "*" for every character.
    Edit3->setEchoMode(QLineEdit::Password);

    // The check boxes take the left edge of this group, so its picture sits at the right.
    QGroupBox* proxy = Group(TabSheet1, QStringLiteral(" Proxy Server "), {15, 257, 378, 124}, QStringLiteral("network-server"), {340, 40});
    Text(proxy, QStringLiteral("Some connection establishment require through a proxy server"), {20, 16, 354, 16});
    CheckBox1 = new QCheckBox(QStringLiteral("Use the proxy server for the connectin"), proxy);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->move(20, 36);
    CheckBox2 = new QCheckBox(QStringLiteral("Bypass the proxy server for local address"), proxy);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->move(20, 56);
    LabelProxy = Text(proxy, QStringLiteral("Proxy server"), {20, 85, 74, 16});
    Edit4 = EditBox(proxy, "Edit4", {96, 83, 163, 21}, QStringLiteral("Proxy server"));
    LabelProxy->setBuddy(Edit4);
    LabelPort = Text(proxy, QStringLiteral("Port:"), {268, 85, 32, 16});
    Edit5 = EditBox(proxy, "Edit5", {302, 83, 33, 21}, QStringLiteral("Proxy port"));
    LabelPort->setBuddy(Edit5);

    connect(Button4, &QPushButton::clicked, this, Reported([this] { Button4Click(); }));
    connect(CheckBox1, &QCheckBox::toggled, this, [this] {
        CheckBox1Click();
        EnableApply();
    });
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { EnableApply(); });   // CheckBox2Click
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5})
        connect(edit, &QLineEdit::textChanged, this, [this] { EnableApply(); });
}

void TOptionDialog::BuildDatabasePage()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet2->setAccessibleName(QStringLiteral("Database Maintenance"));
    PageControl1->addTab(TabSheet2, QStringLiteral("   Database Mantainment   "));

    QGroupBox* history = Group(TabSheet2, QStringLiteral(" History "), {15, 10, 377, 135}, QStringLiteral("document-open-recent"));
    Text(history, QStringLiteral("The history database contains links to flash movies you have"), {44, 18, 334, 16});
    Text(history, QStringLiteral("downloaded, you can quickly access all recently visited flashs."), {44, 34, 334, 16});
    QLabel* dbLabel = Text(history, QStringLiteral("Database"), {20, 66, 60, 16});
    Edit10 = EditBox(history, "Edit10", {83, 64, 270, 21}, QStringLiteral("History database file"));
    Edit10->setReadOnly(true);
    dbLabel->setBuddy(Edit10);
    QLabel* daysLabel = Text(history, QStringLiteral("Days to keep record in the history database"), {20, 96, 280, 16});
    // The up-down control and its edit box are one spin box here; its line edit is Edit11.
    UpDown1 = new QSpinBox(history);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setAccessibleName(QStringLiteral("Days to keep"));
    UpDown1->setGeometry(304, 94, 50, 21);
    UpDown1->setRange(1, 100);
    UpDown1->setSingleStep(1);
    Edit11 = UpDown1->findChild<QLineEdit*>();
    Edit11->setObjectName(QStringLiteral("Edit11"));
    Edit11->setAccessibleName(QStringLiteral("Days to keep"));
    daysLabel->setBuddy(UpDown1);

    Button8 = Button(TabSheet2, "Button8", QStringLiteral("Compact and Repair"), {160, 154, 129, 24});
    Button9 = Button(TabSheet2, "Button9", QStringLiteral("Delete History"), {296, 154, 97, 24});

    QGroupBox* thumbs = Group(TabSheet2, QStringLiteral(" Thumbnail "), {15, 200, 378, 113}, QStringLiteral("image-x-generic"));
    Text(thumbs, QStringLiteral("For purpose of fast browsing, this program has stored thumbnail"), {44, 18, 334, 16});
    Text(thumbs, QStringLiteral("images in the database, Please click 'Delete Thumbnail' button"), {44, 34, 334, 16});
    Text(thumbs, QStringLiteral("if you wish to refresh all thumbnail images."), {44, 50, 334, 16});
    QLabel* thumbLabel = Text(thumbs, QStringLiteral("Database"), {20, 77, 60, 16});
    Edit9 = EditBox(thumbs, "Edit9", {83, 75, 278, 21}, QStringLiteral("Thumbnail database file"));
    Edit9->setReadOnly(true);
    thumbLabel->setBuddy(Edit9);

    Button6 = Button(TabSheet2, "Button6", QStringLiteral("Compact and Repair "), {160, 320, 129, 24});
    Button7 = Button(TabSheet2, "Button7", QStringLiteral("Delete Thumbnail"), {296, 320, 97, 24});
    Button8->setAccessibleName(QStringLiteral("Compact and Repair history database"));
    Button6->setAccessibleName(QStringLiteral("Compact and Repair thumbnail database"));

    connect(Button6, &QPushButton::clicked, this, Reported([this] { Button6Click(); }));
    connect(Button7, &QPushButton::clicked, this, Reported([this] { Button7Click(); }));
    connect(Button8, &QPushButton::clicked, this, Reported([this] { Button8Click(); }));
    connect(Button9, &QPushButton::clicked, this, Reported([this] { Button9Click(); }));
    for (QLineEdit* edit : {Edit9, Edit10, Edit11})
        connect(edit, &QLineEdit::textChanged, this, [this] { EnableApply(); });
    // The spin box rewrites its line edit with signals blocked after a step.
    connect(UpDown1, &QSpinBox::valueChanged, this, [this] { EnableApply(); });
}

// ---- behaviour

void TOptionDialog::FormCreate()
{
    Edit1->setText(Settings.DownloadPath);
    Edit2->setText(Settings.UserName);
    Edit3->setText(Settings.Password);
    Edit4->setText(Settings.ProxyServer);
    Edit5->setText(Settings.ProxyPort);
    Edit8->setText(Settings.CapturePath);

    CheckBox1->setChecked(Settings.EnableProxy);
    CheckBox2->setChecked(Settings.BypassLocal);
    CheckBox1Click();   // toggled does not fire when the box already stood so

    if (Settings.ImageFormat == 0) {
        RadioButton1->setChecked(true);
        RadioButton1Click();
    } else if (Settings.ImageFormat == 1) {
        RadioButton2->setChecked(true);
        RadioButton2Click();
    }

    TrackBar1->setValue(Settings.CompressRatio);
    Edit9->setText(FDatabases.ADOConnection1.DatabasePath());
    Edit10->setText(FDatabases.ADOConnection2.DatabasePath());
    UpDown1->setValue(Settings.KeepDays);

    PageControl1->setCurrentIndex(0);
    Button3->setEnabled(false);   // loading the boxes enabled it
}

void TOptionDialog::EnableApply()
{
    Button3->setEnabled(true);
}

void TOptionDialog::ApplyOptions()
{
    Settings.DownloadPath = Edit1->text();
    Settings.UserName = Edit2->text();
    Settings.Password = Edit3->text();
    Settings.ProxyServer = Edit4->text();
    Settings.ProxyPort = Edit5->text();
    Settings.CapturePath = Edit8->text();
    Settings.EnableProxy = CheckBox1->isChecked();
    Settings.BypassLocal = CheckBox2->isChecked();
    if (RadioButton1->isChecked())
        Settings.ImageFormat = 0;
    else if (RadioButton2->isChecked())
        Settings.ImageFormat = 1;
    Settings.CompressRatio = TrackBar1->value();
    // A number typed but not yet taken counts; text or a number out of range leaves the last
    // valid position, which the box then shows again.
    UpDown1->interpretText();
    const int days = UpDown1->value();
    Settings.KeepDays = days;
    if (Edit11->text() != QString::number(days))
        Edit11->setText(QString::number(days));
}

void TOptionDialog::Button1Click()
{
    ApplyOptions();
    accept();
}

void TOptionDialog::Button3Click()
{
    ApplyOptions();
    Button3->setEnabled(false);
}

void TOptionDialog::PickFolder(QLineEdit* edit)
{
    QWidget* owner = parentWidget() ? parentWidget() : this;
    const QString folder = FolderPrompt(owner, QStringLiteral("Browse for folder"), QStringLiteral("Choose directory to browse"),
                                        true, QStringLiteral("OK"));
    if (folder.isEmpty())
        return;
    // cleanPath drops any trailing "/" but the root's, so exactly one ends the text.
    edit->setText(WithTrailingSlash(QDir::cleanPath(folder)));
}

void TOptionDialog::Button4Click() { PickFolder(Edit1); }
void TOptionDialog::Button5Click() { PickFolder(Edit8); }

void TOptionDialog::Button6Click()
{
    CompactAndRepair(FDatabases.ADOConnection1, FDatabases.ADOConnection1.DatabasePath());
}

void TOptionDialog::Button7Click() { DeleteThumbnails(ADOQuery1); }

void TOptionDialog::Button8Click()
{
    CompactAndRepair(FDatabases.ADOConnection2, FDatabases.ADOConnection2.DatabasePath());
}

void TOptionDialog::Button9Click() { DeleteHistory(ADOQuery2); }

void TOptionDialog::CheckBox1Click()
{
    const bool on = CheckBox1->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox2, Edit4, Edit5, LabelPort, LabelProxy})
        w->setEnabled(on);
}

void TOptionDialog::RadioButton1Click()
{
    for (QWidget* w : std::initializer_list<QWidget*>{GroupBox8, TrackBar1, LabelSmallest, LabelMiddle, LabelBest})
        w->setEnabled(false);
}

void TOptionDialog::RadioButton2Click()
{
    for (QWidget* w : std::initializer_list<QWidget*>{GroupBox8, TrackBar1, LabelSmallest, LabelMiddle, LabelBest})
        w->setEnabled(true);
}
