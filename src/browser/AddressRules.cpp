#include "browser/AddressRules.h"

namespace address {

QStringView blanksTrimmed(QStringView s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && s.at(last - 1) == QLatin1Char(' '))
        --last;
    return s.sliced(first, last - first);
}

QString trimBlanks(const QString &s)
{
    const QStringView trimmed = blanksTrimmed(s);
    return trimmed.size() == s.size() ? s : trimmed.toString();
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
