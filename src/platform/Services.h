#pragma once
#include <functional>

class QWidget;

namespace platform {

class Ui;
class Files;
class Processes;
class Shell;
class WebBrowser;

// Every service the program reaches the outside world through. Owned by main
// (or by a test), installed once; the references must outlive the program's windows.
struct Services {
    Ui &ui;
    Files &files;
    Processes &processes;
    Shell &shell;
    std::function<WebBrowser *(QWidget *parent)> makeBrowser;
};

void install(const Services &services);
const Services &services();

inline Ui &ui();
inline Files &files();
inline Processes &processes();
inline Shell &shell();

inline Ui &ui() { return services().ui; }
inline Files &files() { return services().files; }
inline Processes &processes() { return services().processes; }
inline Shell &shell() { return services().shell; }

} // namespace platform
