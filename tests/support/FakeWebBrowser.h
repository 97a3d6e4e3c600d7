#pragma once
#include "platform/WebBrowser.h"

#include <QStringList>

// Records every command; tests set its state and raise its events (the signals).
class FakeWebBrowser : public platform::WebBrowser {
    Q_OBJECT
public:
    using platform::WebBrowser::WebBrowser;

    QStringList calls; // "Navigate:<url>", "GoBack", "Refresh", ...
    bool busy = false;
    QString locationURL;
    QString locationName;
    // When set, Navigate also makes the address the location (not busy).
    bool followNavigate = false;

    void Navigate(const QString &url) override
    {
        calls << QStringLiteral("Navigate:") + url;
        if (followNavigate)
            locationURL = url;
    }
    void GoBack() override { calls << QStringLiteral("GoBack"); }
    void GoForward() override { calls << QStringLiteral("GoForward"); }
    void GoHome() override { calls << QStringLiteral("GoHome"); }
    void GoSearch() override { calls << QStringLiteral("GoSearch"); }
    void Refresh() override { calls << QStringLiteral("Refresh"); }
    void Stop() override
    {
        calls << QStringLiteral("Stop");
        busy = false;
    }
    bool Busy() const override { return busy; }
    QString LocationURL() const override { return locationURL; }
    QString LocationName() const override { return locationName; }

    int count(const QString &prefix) const
    {
        int n = 0;
        for (const auto &c : calls)
            if (c.startsWith(prefix))
                ++n;
        return n;
    }
};
