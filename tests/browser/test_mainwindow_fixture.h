// A main window created in a temporary program folder, with errors collected instead of shown.
#pragma once

#include "browser/Globals.h"
#include "browser/MainFrm.h"
#include "browser/Settings.h"
#include "platform/vcl/ErrorReport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QStringList errors;
    TErrorSink oldSink;
    std::unique_ptr<TMoviscope_Main> window;

    QString IniPath() const { return dir.path() + "/Moviscope.Ini"; }

    void SetUp() override
    {
        AppDir = dir.path() + "/";
        Settings = TSettings{};
        oldSink = SetErrorSink([this](const QString& t) { errors << t; });
    }
    void TearDown() override
    {
        window.reset();
        SetErrorSink(oldSink);
    }
    void Create(bool show = true)
    {
        window = std::make_unique<TMoviscope_Main>();
        if (show)
            Show();
    }
    void Show()
    {
        window->show();
        QApplication::processEvents();
    }
    void WriteIni(const QByteArray& bytes)
    {
        QFile f(IniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QAction* A(const char* name)
    {
        QAction* a = window->Action(QString::fromUtf8(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
};
