#include "browser/AddressRules.h"

namespace address {

QString trimBlanks(const QString &s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && s.at(last - 1) == QLatin1Char(' '))
        --last;
    return s.mid(first, last - first);
}

bool isLocalPage(const QString &address) { return trimBlanks(address).startsWith(QLatin1String("file://")); }

QString newListEntry(const QString &boxText, const std::function<bool(const QString &)> &listed)
{
    const QString text = trimBlanks(boxText);
    if (text.isEmpty() || listed(text))
        return {};
    return text;
}

QStringList launchArguments(const QString &address)
{
    if (address.isEmpty())
        return {};
    return {address};
}

} // namespace address
