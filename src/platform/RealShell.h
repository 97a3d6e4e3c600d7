#pragma once
#include "platform/Shell.h"

namespace platform {

// The desktop around the program: the Favorites folder, file associations, the
// file manager, a text editor and the local network names.
class RealShell : public Shell {
public:
    std::optional<QString> favoritesFolder() override;
    int findExecutable(const QString &documentPath) override;
    void organizeFavorites(QWidget *owner, const QString &folder) override;
    bool openInTextEditor(const QString &path, std::function<void()> failed) override;
    QString localIP() override;
    QString localHostName() override;
};

} // namespace platform
