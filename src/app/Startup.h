#pragma once
#include "platform/RealFiles.h"
#include "platform/RealProcesses.h"
#include "platform/RealShell.h"
#include "platform/RealUi.h"
#include "platform/Services.h"

// What every start of the program needs around its first window.
#include <optional>
#include <string>

namespace startup {

// The program's version, as the build was told it.
const char *version();
// What `--version` or `--help` prints: those two, given alone and exactly so, are the
// only options; any other argument text is the start address.
std::optional<std::string> optionText(int argc, const char *const *argv);
// `--privato`, alone and exactly so: a start that uses no stored site data.
bool privateStart(int argc, const char *const *argv);

// Before the application object: the engine's flags (its sandbox refuses to run as
// root) and shared GL contexts.
void prepareEngine();
// After it: the 8-point sans serif the windows are laid out for.
void useDesignFont();
// After it, before any window: the desktop's style, with the pictures a start needs
// drawn rather than looked up, and the program's icon.
void useOwnLook();
// After it: the toolkit's own texts (file dialog, edit menus) in Italian, like the program's.
void speakItalian();
// Without LANTERNA_DRIVE_C, C: is the user's own folder: on the first day it gets the
// sample home page, backgrounds and Favorites; a file already there is never replaced.
void prepareUserDrive();
// The whole text after the program name: on Windows as the system passed it, elsewhere
// the arguments joined by single blanks (how this program starts its own copies).
QString argumentText(int argc, const char *const *argv);

// The real services, installed for the life of this object.
class RealServices {
public:
    RealServices();
    RealServices(const RealServices &) = delete;
    RealServices &operator=(const RealServices &) = delete;

private:
    platform::RealUi ui_;
    platform::RealFiles files_;
    platform::RealProcesses processes_;
    platform::RealShell shell_;
    platform::Services services_;
};

} // namespace startup
