// The user's settings: one record for the whole run, read from and written to the INI file
// "Moviscope.Ini" beside the program.
#pragma once

#include <QString>

struct TSettings {
    int WindowLeft, WindowTop, WindowWidth, WindowHeight, NavPanelHeight, SidePanelWidth;
    QString DownloadPath, UserName, Password, ProxyServer, ProxyPort;
    bool EnableProxy, BypassLocal;
    QString CapturePath;
    int ImageFormat, CompressRatio, KeepDays;
};

extern TSettings Settings;

// Fills every field from the file; missing keys, a missing file or values that do not read
// give the defaults.
void ReadSettings(const QString& path);
// Writes every field, keeping the file's other sections and keys; the file is replaced
// atomically. Throws std::runtime_error("Unable to write to <path>").
void WriteSettings(const QString& path);
