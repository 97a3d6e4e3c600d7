#pragma once
#include "FakeProcesses.h"
#include "FakeShell.h"
#include "FakeUi.h"
#include "FakeWebBrowser.h"
#include "platform/RealFiles.h"
#include "platform/Services.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A fresh world per test: drives C: and D: are temporary folders, the program's
// folder is C:\PROG, and the fakes stand in for the user, the shell, the process
// table and the browser control.
class LanternaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Re-installs the services with another process table (the real one, say).
    void useProcesses(platform::Processes &p);
    // Makes the browser window get the real web engine instead of the fake.
    void useRealBrowser();

    QString native(const QString &windowsPath) const;
    void writeFile(const QString &windowsPath, const QByteArray &data) const;
    QByteArray readFile(const QString &windowsPath) const;
    bool exists(const QString &windowsPath) const;
    void makeDir(const QString &windowsPath) const;

    // The last browser control created through the services.
    FakeWebBrowser *browser() const { return browsers.empty() ? nullptr : browsers.back(); }

    // Unloads every window and lets pending deletions run.
    static void unloadAll();

    std::unique_ptr<QTemporaryDir> root;
    QString driveC, driveD; // native roots
    FakeUi ui;
    FakeShell shell;
    FakeProcesses processes;
    std::unique_ptr<platform::RealFiles> files;
    std::vector<FakeWebBrowser *> browsers;

private:
    void install(platform::Processes &p);
    std::unique_ptr<platform::Services> services_;
    bool realBrowser_ = false;
};
