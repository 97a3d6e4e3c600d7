#include "browser/LaunchNewInstance.h"

#include "browser/AddressRules.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/Services.h"
#include "platform/Ui.h"

void LaunchNewInstance(const QString &address)
{
    auto &files = platform::files();
    const QString exe = files.exeName();
    const QString program = files.programFolder() + QLatin1Char('\\') + exe;
    // Started directly, never through a shell: no character of the address is
    // interpreted, and it reaches the new copy as exactly one argument.
    const auto failure = platform::processes().start(program, address::launchArguments(address));
    if (!failure)
        return;
    platform::ui().beep();
    platform::ui().MsgBox(QStringLiteral("Non trovo il programmma ") + exe + QStringLiteral(" !!! ")
                              + QLatin1Char('\r') + QLatin1Char('\r') + QString::number(failure->number)
                              + QStringLiteral(" - ") + failure->description,
                          platform::vbOKOnly);
}
