#pragma once
#include "platform/Shell.h"

#include <QStringList>

class FakeShell : public platform::Shell {
public:
    std::optional<QString> favorites; // nullopt: the query fails
    int findExecutableResult = 42;
    QStringList findExecutableCalls;
    QStringList organizeCalls;
    bool editorStarts = true;
    QStringList editorCalls;
    std::function<void()> editorFailed; // what the opener calls when it fails later
    QString ip = QStringLiteral("192.0.2.7");
    QString host = QStringLiteral("postazione1");

    std::optional<QString> favoritesFolder() override { return favorites; }
    int findExecutable(const QString &doc) override
    {
        findExecutableCalls << doc;
        return findExecutableResult;
    }
    void organizeFavorites(QWidget *, const QString &folder) override { organizeCalls << folder; }
    bool openInTextEditor(const QString &path, std::function<void()> failed) override
    {
        editorCalls << path;
        editorFailed = std::move(failed);
        return editorStarts;
    }
    QString localIP() override { return ip; }
    QString localHostName() override { return host; }
};
