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

    double zoom = 1.0;
    void FindText(const QString &text, FindDirection direction, FindCase matchCase) override
    {
        calls << QStringLiteral("Find:%1:%2%3")
                     .arg(text, direction == FindDirection::Backward ? QStringLiteral("back") : QStringLiteral("next"),
                          matchCase == FindCase::Match ? QStringLiteral(":case") : QString());
    }
    void SetZoomFactor(double factor) override { zoom = factor; }
    double ZoomFactor() const override { return zoom; }
    void Print(QWidget *) override { calls << QStringLiteral("Print"); }

    int count(const QString &prefix) const
    {
        int n = 0;
        for (const auto &c : calls)
            if (c.startsWith(prefix))
                ++n;
        return n;
    }
};
