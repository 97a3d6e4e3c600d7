#include "app/Main.h"

#include "browser/AddressRules.h"

// Apart from Main so that it builds without any window (the fuzz targets use it alone).
std::optional<ArgumentSplit> SplitArgument(const QString &argumentText)
{
    if (address::trimBlanks(argumentText).isEmpty())
        return std::nullopt;
    ArgumentSplit a;
    a.commandLinePath = argumentText;
    a.commandLinePath.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const qsizetype k = a.commandLinePath.lastIndexOf(QLatin1Char('\\'));
    if (k >= 0) {
        a.homePageDir = a.commandLinePath.left(k + 1);
        a.homePageFile = a.commandLinePath.mid(k + 1);
    } else {
        a.homePageFile = a.commandLinePath;
    }
    const bool noFile = address::trimBlanks(a.homePageFile).isEmpty();
    a.startUrl = a.homePageDir + (noFile ? QStringLiteral("INIZIO.HTM") : a.homePageFile);
    return a;
}
