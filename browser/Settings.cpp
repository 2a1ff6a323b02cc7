#include "browser/Settings.h"

#include "browser/Globals.h"
#include "platform/vcl/IniFile.h"

TSettings Settings;

namespace {

const QString General = QStringLiteral("General");
const QString Connection = QStringLiteral("Connection");
const QString Capture = QStringLiteral("Capture");
const QString Database = QStringLiteral("Database");

// An empty value in the file also gives the default folder.
QString ReadFolder(const TIniFile& ini, const QString& section, const QString& key, const QString& def)
{
    const QString value = ini.ReadString(section, key, QString());
    return value.isEmpty() ? def : value;
}

} // namespace

void ReadSettings(const QString& path)
{
    const TIniFile ini(path);
    TSettings& s = Settings;
    s.WindowLeft = ini.ReadInteger(General, QStringLiteral("Left"), 20);
    s.WindowTop = ini.ReadInteger(General, QStringLiteral("Top"), 3);
    s.WindowWidth = ini.ReadInteger(General, QStringLiteral("Width"), 760);
    s.WindowHeight = ini.ReadInteger(General, QStringLiteral("Height"), 587);
    s.NavPanelHeight = ini.ReadInteger(General, QStringLiteral("Panel Height"), 232);
    s.SidePanelWidth = ini.ReadInteger(General, QStringLiteral("Panel Width"), 310);
    s.DownloadPath = ReadFolder(ini, Connection, QStringLiteral("Download Path"), AppDir + QStringLiteral("Download/"));
    s.UserName = ini.ReadString(Connection, QStringLiteral("Username"), QString());
    s.Password = ini.ReadString(Connection, QStringLiteral("Password"), QString());
    s.ProxyServer = ini.ReadString(Connection, QStringLiteral("Proxy"), QString());
    s.ProxyPort = ini.ReadString(Connection, QStringLiteral("Port"), QString());
    s.EnableProxy = ini.ReadBool(Connection, QStringLiteral("Enable Proxy"), false);
    s.BypassLocal = ini.ReadBool(Connection, QStringLiteral("Bypass Local"), true);
    s.CapturePath = ReadFolder(ini, Capture, QStringLiteral("Capture Path"), AppDir + QStringLiteral("Capture/"));
    s.ImageFormat = ini.ReadInteger(Capture, QStringLiteral("Image format"), 0);
    s.CompressRatio = ini.ReadInteger(Capture, QStringLiteral("Compress Ratio"), 75);
    s.KeepDays = ini.ReadInteger(Database, QStringLiteral("Keep Days"), 30);
}

void WriteSettings(const QString& path)
{
    TIniFile ini(path);
    const TSettings& s = Settings;
    ini.WriteInteger(General, QStringLiteral("Left"), s.WindowLeft);
    ini.WriteInteger(General, QStringLiteral("Top"), s.WindowTop);
    ini.WriteInteger(General, QStringLiteral("Width"), s.WindowWidth);
    ini.WriteInteger(General, QStringLiteral("Height"), s.WindowHeight);
    ini.WriteInteger(General, QStringLiteral("Panel Height"), s.NavPanelHeight);
    ini.WriteInteger(General, QStringLiteral("Panel Width"), s.SidePanelWidth);
    ini.WriteString(Connection, QStringLiteral("Download Path"), s.DownloadPath);
    ini.WriteString(Connection, QStringLiteral("Username"), s.UserName);
    ini.WriteString(Connection, QStringLiteral("Password"), s.Password);
    ini.WriteString(Connection, QStringLiteral("Proxy"), s.ProxyServer);
    ini.WriteString(Connection, QStringLiteral("Port"), s.ProxyPort);
    ini.WriteBool(Connection, QStringLiteral("Enable Proxy"), s.EnableProxy);
    ini.WriteBool(Connection, QStringLiteral("Bypass Local"), s.BypassLocal);
    ini.WriteString(Capture, QStringLiteral("Capture Path"), s.CapturePath);
    ini.WriteInteger(Capture, QStringLiteral("Image format"), s.ImageFormat);
    ini.WriteInteger(Capture, QStringLiteral("Compress Ratio"), s.CompressRatio);
    ini.WriteInteger(Database, QStringLiteral("Keep Days"), s.KeepDays);
    ini.UpdateFile();
}
