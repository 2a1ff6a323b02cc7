// The settings file: the seventeen keys, their defaults and reading rules, and what the writer
// leaves alone.
#include "browser/Globals.h"
#include "browser/Settings.h"
#include "platform/vcl/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("Moviscope.Ini");

    void SetUp() override
    {
        AppDir = dir.path() + "/";
        Settings = TSettings{};
    }
    void Write(const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

void ExpectDefaults(const QString& appDir)
{
    const TSettings& s = Settings;
    EXPECT_EQ(s.WindowLeft, 20);
    EXPECT_EQ(s.WindowTop, 3);
    EXPECT_EQ(s.WindowWidth, 760);
    EXPECT_EQ(s.WindowHeight, 587);
    EXPECT_EQ(s.NavPanelHeight, 232);
    EXPECT_EQ(s.SidePanelWidth, 310);
    EXPECT_EQ(s.DownloadPath, appDir + "Download/");
    EXPECT_EQ(s.UserName, "");
    EXPECT_EQ(s.Password, "");
    EXPECT_EQ(s.ProxyServer, "");
    EXPECT_EQ(s.ProxyPort, "");
    EXPECT_FALSE(s.EnableProxy);
    EXPECT_TRUE(s.BypassLocal);
    EXPECT_EQ(s.CapturePath, appDir + "Capture/");
    EXPECT_EQ(s.ImageFormat, 0);
    EXPECT_EQ(s.CompressRatio, 75);
    EXPECT_EQ(s.KeepDays, 30);
}

TEST_F(SettingsTest, MissingEmptyOrGarbageFileGivesEveryDefault)
{
    ReadSettings(path);
    ExpectDefaults(AppDir);

    Write("");
    ReadSettings(path);
    ExpectDefaults(AppDir);

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 131 + 7) % 256);
    Write(garbage + "\n[General]\nWidth=abc\nLeft=\n[Connection]\nEnable Proxy=yes\nBypass Local=\n"
                    "Download Path=\n[Capture]\nCapture Path=\nCompress Ratio=0x\n");
    ReadSettings(path);
    ExpectDefaults(AppDir);
}

struct ReadCase {
    const char* file;
    std::function<void()> check;
};

TEST_F(SettingsTest, ReadingRules)
{
    const ReadCase cases[] = {
        {"[General]\nWidth=abc\n", [] { EXPECT_EQ(Settings.WindowWidth, 760); }},
        {"[general]\nwidth=0x320\n", [] { EXPECT_EQ(Settings.WindowWidth, 800); }},
        {"[General]\nPanel Height= 100 \n", [] { EXPECT_EQ(Settings.NavPanelHeight, 100); }},
        {"[General]\nLeft=-40\n", [] { EXPECT_EQ(Settings.WindowLeft, -40); }},
        {"[Connection]\nEnable Proxy=5\nBypass Local=0\n", [] {
             EXPECT_TRUE(Settings.EnableProxy);
             EXPECT_FALSE(Settings.BypassLocal);
         }},
        {"[Connection]\nEnable Proxy=0\nProxy=proxy.lan\nPort=3128\n", [] {
             EXPECT_FALSE(Settings.EnableProxy);
             EXPECT_EQ(Settings.ProxyServer, "proxy.lan");
             EXPECT_EQ(Settings.ProxyPort, "3128");
         }},
        {"[Connection]\nDownload Path=/data/movies\nUsername=ann\nPassword=p=w;d\n", [] {
             EXPECT_EQ(Settings.DownloadPath, "/data/movies");   // kept as typed
             EXPECT_EQ(Settings.UserName, "ann");
             EXPECT_EQ(Settings.Password, "p=w;d");
         }},
        {"[Capture]\nImage format=1\nCompress Ratio=90\n[Database]\nKeep Days=7\n", [] {
             EXPECT_EQ(Settings.ImageFormat, 1);
             EXPECT_EQ(Settings.CompressRatio, 90);
             EXPECT_EQ(Settings.KeepDays, 7);
         }},
        // Keys in the wrong section are not theirs.
        {"[Capture]\nKeep Days=7\n[General]\nProxy=x\n", [] {
             EXPECT_EQ(Settings.KeepDays, 30);
             EXPECT_EQ(Settings.ProxyServer, "");
         }},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.file);
        Write(c.file);
        Settings = TSettings{};
        ReadSettings(path);
        c.check();
    }
}

TEST_F(SettingsTest, LongTextIsReadUpTo2047Characters)
{
    Write("[Connection]\nUsername=" + QByteArray(3000, 'u') + "\n");
    ReadSettings(path);
    EXPECT_EQ(Settings.UserName, QString(2047, 'u'));
}

TEST_F(SettingsTest, FirstWriteCreatesSeventeenKeysInFourSections)
{
    ReadSettings(path);
    WriteSettings(path);
    const TIniFile ini(path);
    EXPECT_EQ(ini.Sections(), (QStringList{"General", "Connection", "Capture", "Database"}));
    EXPECT_EQ(ini.Keys("General"), (QStringList{"Left", "Top", "Width", "Height", "Panel Height", "Panel Width"}));
    EXPECT_EQ(ini.Keys("Connection"), (QStringList{"Download Path", "Username", "Password", "Proxy", "Port",
                                                   "Enable Proxy", "Bypass Local"}));
    EXPECT_EQ(ini.Keys("Capture"), (QStringList{"Capture Path", "Image format", "Compress Ratio"}));
    EXPECT_EQ(ini.Keys("Database"), QStringList{"Keep Days"});
    EXPECT_EQ(ini.ReadString("Connection", "Download Path", ""), AppDir + "Download/");
    EXPECT_EQ(ini.ReadString("Capture", "Capture Path", ""), AppDir + "Capture/");
    EXPECT_EQ(ini.ReadString("Connection", "Bypass Local", ""), "1");
    EXPECT_EQ(ini.ReadString("Connection", "Enable Proxy", ""), "0");
}

TEST_F(SettingsTest, WrittenValuesReadBackAndOtherContentSurvives)
{
    Write("[Mine]\nColour=blue\n[General]\nExtra=1\nWidth=abc\n");
    ReadSettings(path);
    Settings.WindowWidth = 1024;
    Settings.Password = "secret with spaces";
    Settings.EnableProxy = true;
    Settings.BypassLocal = false;
    Settings.KeepDays = 0;
    WriteSettings(path);

    Settings = TSettings{};
    ReadSettings(path);
    EXPECT_EQ(Settings.WindowWidth, 1024);
    EXPECT_EQ(Settings.Password, "secret with spaces");
    EXPECT_TRUE(Settings.EnableProxy);
    EXPECT_FALSE(Settings.BypassLocal);
    EXPECT_EQ(Settings.KeepDays, 0);
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Mine", "Colour", ""), "blue");
    EXPECT_EQ(ini.ReadString("General", "Extra", ""), "1");
}

TEST_F(SettingsTest, FailedWriteThrowsWithThePath)
{
    const QString bad = dir.filePath("missing/Moviscope.Ini");
    ReadSettings(bad);
    try {
        WriteSettings(bad);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "Unable to write to " + bad);
    }
}

TEST(Globals, TrailingSlash)
{
    EXPECT_EQ(WithTrailingSlash("/opt/moviscope"), "/opt/moviscope/");
    EXPECT_EQ(WithTrailingSlash("/opt/moviscope/"), "/opt/moviscope/");
    EXPECT_EQ(WithTrailingSlash("/"), "/");
}

} // namespace
