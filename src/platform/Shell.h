#pragma once
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    // The Favorites folder in Windows form; nullopt when it cannot be formed.
    virtual std::optional<QString> favoritesFolder() = 0;
    // Like FindExecutable's result: > 32 when a program handles the document's type.
    virtual int findExecutable(const QString &documentPath) = 0;
    // Lets the user organize the Favorites folder.
    virtual void organizeFavorites(QWidget *owner, const QString &folder) = 0;
    // Opens a text file in the desktop's text editor; false when none could be started.
    // An opener that starts and then reports that it found nothing calls `failed` later.
    virtual bool openInTextEditor(const QString &path, std::function<void()> failed) = 0;
    virtual QString localIP() = 0;
    virtual QString localHostName() = 0;
};

} // namespace platform
