// The Options dialog offscreen: loading, the Apply button, enabling rules, the days box, the
// folder pickers and the maintenance buttons, over real database files.
#include "browser/Databases.h"
#include "browser/OptionDlg.h"
#include "browser/Settings.h"
#include "platform/vcl/ErrorReport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

TSettings Sample()
{
    TSettings s{};
    s.DownloadPath = "/home/ann/Download/";
    s.UserName = "ann";
    s.Password = "se\"cret";
    s.ProxyServer = "proxy.example.net";
    s.ProxyPort = "3128";
    s.EnableProxy = false;
    s.BypassLocal = true;
    s.CapturePath = "/home/ann/Capture/";
    s.ImageFormat = 1;
    s.CompressRatio = 80;
    s.KeepDays = 30;
    return s;
}

class OptionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Settings = Sample();
        ASSERT_TRUE(db.OpenDatabases(dir.filePath("Database/Thumb.mdb"), dir.filePath("Database/mv160.mdb")).isEmpty());
        previousSink = SetErrorSink([this](const QString& text) { reported << text; });
        Open();
    }
    void TearDown() override { SetErrorSink(previousSink); }

    void Open()
    {
        dlg = std::make_unique<TOptionDialog>(nullptr, db);
        dlg->FolderPrompt = [this](QWidget*, const QString& caption, const QString& instruction, bool editBox, const QString& okText) {
            prompts << QStringList{caption, instruction, editBox ? "edit" : "no edit", okText};
            return pickedFolder;
        };
    }

    template <typename T>
    T* Find(const char* name)
    {
        T* w = dlg->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    int Count(const QString& table)
    {
        TADOQuery q(table == "WEB_TABLE" ? db.ADOConnection2 : db.ADOConnection1);
        q.SQL.Add("SELECT count(*) AS N FROM " + table);
        q.Open();
        return q.FieldByName("N").AsInteger();
    }

    QTemporaryDir dir;
    TLibraryDatabases db;
    std::unique_ptr<TOptionDialog> dlg;
    QString pickedFolder;
    QList<QStringList> prompts;
    QStringList reported;
    TErrorSink previousSink;
};

TEST_F(OptionsTest, OpensWithTheSettingsAndApplyDisabled)
{
    EXPECT_EQ(dlg->windowTitle(), "Options");
    EXPECT_EQ(dlg->size(), QSize(429, 463));
    EXPECT_FALSE(Find<QPushButton>("Button3")->isEnabled());
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentWidget(), Find<QWidget>("Database"));
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->tabText(2), "   Database Mantainment   ");
    EXPECT_EQ(Find<QPushButton>("Button3")->geometry(), QRect(345, 435, 75, 23));
    EXPECT_EQ(Find<QLineEdit>("Edit1")->geometry(), QRect(68, 61, 269, 21));

    const struct {
        const char* edit;
        QString expected;
    } texts[] = {
        {"Edit1", "/home/ann/Download/"}, {"Edit2", "ann"}, {"Edit3", "se\"cret"}, {"Edit4", "proxy.example.net"},
        {"Edit5", "3128"}, {"Edit8", "/home/ann/Capture/"}, {"Edit9", dir.filePath("Database/Thumb.mdb")},
        {"Edit10", dir.filePath("Database/mv160.mdb")}, {"Edit11", "30"},
    };
    for (const auto& t : texts)
        EXPECT_EQ(Find<QLineEdit>(t.edit)->text(), t.expected) << t.edit;
    EXPECT_TRUE(Find<QLineEdit>("Edit9")->isReadOnly());
    EXPECT_EQ(Find<QLineEdit>("Edit3")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Find<QLineEdit>("Edit2")->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(Find<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_EQ(Find<QSlider>("TrackBar1")->value(), 80);
    EXPECT_EQ(Find<QSpinBox>("UpDown1")->value(), 30);

    // Controls without text of their own carry an accessible name.
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit8", "Edit9", "Edit10", "Edit11", "TrackBar1",
                             "UpDown1", "Button4", "Button5", "PageControl1", "Database", "TabSheet1", "TabSheet2"})
        EXPECT_FALSE(Find<QWidget>(name)->accessibleName().isEmpty()) << name;
}

TEST_F(OptionsTest, EveryChangeEnablesApply)
{
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"Edit1", [&] { dlg->Edit1->setText("x"); }},
        {"Edit5", [&] { dlg->Edit5->setText("8080"); }},
        {"Edit8", [&] { dlg->Edit8->setText("y"); }},
        {"Edit11", [&] { dlg->Edit11->setText("12"); }},
        {"UpDown1 step", [&] { dlg->UpDown1->stepUp(); }},
        {"TrackBar1", [&] { dlg->TrackBar1->setValue(60); }},
        {"CheckBox1", [&] { dlg->CheckBox1->click(); }},
        {"CheckBox2", [&] { dlg->CheckBox2->click(); }},
        {"RadioButton1", [&] { dlg->RadioButton1->click(); }},
    };
    for (const auto& [what, change] : changes) {
        Open();
        ASSERT_FALSE(dlg->Button3->isEnabled()) << what;
        change();
        EXPECT_TRUE(dlg->Button3->isEnabled()) << what;
        dlg->Button3->click();
        EXPECT_FALSE(dlg->Button3->isEnabled()) << what << ": Apply disables itself";
    }
}

TEST_F(OptionsTest, ApplyThenCancelKeepsTheAppliedValues)
{
    dlg->Edit1->setText("/srv/movies/");
    dlg->TrackBar1->setValue(95);
    dlg->Button3->click();
    dlg->Edit1->setText("/not/applied/");
    dlg->Edit2->setText("bob");
    dlg->Button2->click();
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(Settings.DownloadPath, "/srv/movies/");
    EXPECT_EQ(Settings.CompressRatio, 95);
    EXPECT_EQ(Settings.UserName, "ann");

    Open();   // a new opening starts from what is in effect
    EXPECT_EQ(dlg->Edit1->text(), "/srv/movies/");
    dlg->Edit2->setText("carol");
    dlg->Button1->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(Settings.UserName, "carol");
}

TEST_F(OptionsTest, ProxyFieldsAreDisabledButKeptWhenTheProxyIsOff)
{
    for (const char* name : {"CheckBox2", "Edit4", "Edit5"})
        EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
    EXPECT_FALSE(dlg->LabelPort->isEnabled());
    EXPECT_FALSE(dlg->LabelProxy->isEnabled());
    EXPECT_EQ(dlg->LabelPort->text(), "Port:");
    EXPECT_EQ(dlg->LabelProxy->text(), "Proxy server");
    dlg->Button1->click();
    EXPECT_EQ(Settings.ProxyServer, "proxy.example.net");
    EXPECT_EQ(Settings.ProxyPort, "3128");
    EXPECT_TRUE(Settings.BypassLocal);
    EXPECT_FALSE(Settings.EnableProxy);

    Open();
    dlg->CheckBox1->click();
    for (QWidget* w : std::initializer_list<QWidget*>{dlg->CheckBox2, dlg->Edit4, dlg->Edit5, dlg->LabelPort, dlg->LabelProxy})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    dlg->CheckBox1->click();
    EXPECT_FALSE(dlg->Edit4->isEnabled());
}

TEST_F(OptionsTest, ImageFormatDrivesTheCompressionGroup)
{
    const struct {
        int format;
        bool bitmap, jpeg, compressionEnabled;
    } cases[] = {{0, true, false, false}, {1, false, true, true}, {7, false, false, true}};
    for (const auto& c : cases) {
        Settings.ImageFormat = c.format;
        Open();
        EXPECT_EQ(dlg->RadioButton1->isChecked(), c.bitmap) << c.format;
        EXPECT_EQ(dlg->RadioButton2->isChecked(), c.jpeg) << c.format;
        for (QWidget* w : std::initializer_list<QWidget*>{dlg->GroupBox8, dlg->TrackBar1, dlg->LabelSmallest, dlg->LabelMiddle, dlg->LabelBest})
            EXPECT_EQ(w->isEnabled(), c.compressionEnabled) << c.format << " " << w->objectName().toStdString();
        EXPECT_FALSE(dlg->Button3->isEnabled());
        dlg->Button1->click();
        EXPECT_EQ(Settings.ImageFormat, c.format) << "an unknown format stays as it was";
    }
    Settings.ImageFormat = 1;
    Open();
    dlg->RadioButton1->click();
    EXPECT_FALSE(dlg->TrackBar1->isEnabled());
    dlg->Button1->click();
    EXPECT_EQ(Settings.ImageFormat, 0);
}

TEST_F(OptionsTest, DaysBoxKeepsItsLastValidNumber)
{
    const struct {
        const char* typed;
        int stored;
    } cases[] = {{"45", 45}, {"abc", 30}, {"150", 30}, {"0", 30}, {"", 30}, {"100", 100}, {"1", 1}};
    for (const auto& c : cases) {
        Settings.KeepDays = 30;
        Open();
        dlg->Edit11->setText(QString::fromLatin1(c.typed));
        dlg->Button3->click();
        EXPECT_EQ(Settings.KeepDays, c.stored) << c.typed;
        EXPECT_EQ(dlg->Edit11->text(), QString::number(c.stored)) << "the box shows what was stored";
    }
    // Letters typed at the keyboard never reach the box.
    Open();
    dlg->Edit11->selectAll();
    for (const char* key : {"x", "7"}) {
        QKeyEvent press(QEvent::KeyPress, key[0] == 'x' ? Qt::Key_X : Qt::Key_7, Qt::NoModifier, QString::fromLatin1(key));
        QApplication::sendEvent(dlg->Edit11, &press);
    }
    dlg->Button1->click();
    EXPECT_EQ(Settings.KeepDays, 7);
}

TEST_F(OptionsTest, PickedFoldersEndInOneSlash)
{
    const struct {
        QString picked;
        QString shown;
    } cases[] = {
        {"/home/ann/Movies", "/home/ann/Movies/"}, {"/home/ann/Movies/", "/home/ann/Movies/"},
        {"/srv//flash//", "/srv/flash/"},          {"/", "/"},
        {"", "/home/ann/Download/"},   // cancelled: the box keeps its text
    };
    for (const auto& c : cases) {
        Open();
        pickedFolder = c.picked;
        dlg->Button4->click();
        EXPECT_EQ(dlg->Edit1->text(), c.shown) << c.picked.toStdString();
    }
    Open();
    pickedFolder = "/media/usb";
    dlg->Button5->click();
    EXPECT_EQ(dlg->Edit8->text(), "/media/usb/");
    EXPECT_TRUE(dlg->Button3->isEnabled());
    ASSERT_FALSE(prompts.isEmpty());
    EXPECT_EQ(prompts.last(), QStringList({"Browse for folder", "Choose directory to browse", "edit", "OK"}));
}

TEST_F(OptionsTest, MaintenanceButtonsActAtOnce)
{
    {
        TADOQuery q(db.ADOConnection2);
        q.SQL.Add("INSERT INTO WEB_TABLE (URL, TITLE, DATE, FLASH_PATH) VALUES ('http://a/', 't', '2026-12-11', '/dl/')");
        q.ExecSQL();
        TADOQuery t(db.ADOConnection1);
        t.SQL.Add("INSERT INTO IMAGE_TABLE (IMAGE) VALUES (x'FFD8')");
        t.ExecSQL();
        t.SQL.Clear();
        t.SQL.Add("INSERT INTO FILE_TABLE (PATH, NAME, MODI_TIME, IMAGE_ID) VALUES ('/m/', '/m/a.swf', 1, 1)");
        t.ExecSQL();
    }
    dlg->Button8->click();   // compact the library database: rows stay, connection open
    dlg->Button6->click();
    EXPECT_TRUE(db.ADOConnection1.Connected());
    EXPECT_TRUE(db.ADOConnection2.Connected());
    EXPECT_EQ(Count("WEB_TABLE"), 1);
    EXPECT_EQ(Count("FILE_TABLE"), 1);

    dlg->Button9->click();
    EXPECT_EQ(Count("WEB_TABLE"), 0);
    EXPECT_EQ(Count("FILE_TABLE"), 1);
    dlg->Button7->click();
    EXPECT_EQ(Count("FILE_TABLE"), 0);
    EXPECT_EQ(Count("IMAGE_TABLE"), 0);
    dlg->Button2->click();
    EXPECT_TRUE(reported.isEmpty()) << reported.join("; ").toStdString();
}

TEST_F(OptionsTest, AnEngineErrorIsReportedAndTheDialogGoesOn)
{
    db.ADOConnection2.Close();
    dlg->Button9->click();
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains("mv160.mdb")) << reported[0].toStdString();
    dlg->Edit2->setText("dave");
    dlg->Button1->click();
    EXPECT_EQ(Settings.UserName, "dave");
}

} // namespace
