#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace address {

// Leading and trailing blanks removed (blanks only, as the address rules compare).
QString trimBlanks(const QString &s);
// The same without a copy, for comparing.
QStringView blanksTrimmed(QStringView s);

// A page shown from a local file: the trimmed address starts with "file://"
// (case-sensitive).
bool isLocalPage(const QString &address);

// The text a finished page adds to the address list: the trimmed address box
// text, unless it is empty or a listed entry, trimmed, equals it (`listed` answers
// that for a trimmed text). Empty when nothing is to be added.
QString newListEntry(const QString &boxText, const std::function<bool(const QString &)> &listed);

// Addresses of the six shortcut buttons, by index: four portals as bare host
// names, an antivirus maker's definitions download page, a fifth portal.
inline constexpr std::array<const char *, 6> kShortcuts = {
    "www.tin.it",
    "www.libero.it",
    "www.tiscali.it",
    "www.ciaoweb.it",
    "https://www.microsoft.com/it-it/wdsi/defenderupdates",
    "www.virgilio.it",
};

// The arguments a new copy of the program is started with: the address as one
// argument, whatever characters it holds; none for an empty address, so the new
// copy opens its home page.
QStringList launchArguments(const QString &address);

} // namespace address
