#include "browser/AddressListModel.h"
#include "browser/AddressRules.h"
#include "browser/Progress.h"

#include <gtest/gtest.h>
#include <limits>

using progress::PercentBarCount;

TEST(PercentBar, CountRoundsHalvesToEvenNeighbour)
{
    EXPECT_EQ(PercentBarCount(1, 8), 8);  // 7.5
    EXPECT_EQ(PercentBarCount(3, 8), 22); // 22.5
    EXPECT_EQ(PercentBarCount(5, 8), 38); // 37.5
    EXPECT_EQ(PercentBarCount(1, 7), 9);  // 8.57
    EXPECT_EQ(PercentBarCount(100, 100), 60);
    EXPECT_EQ(PercentBarCount(200, 100), 120);
    EXPECT_EQ(progress::roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(progress::roundHalfEven(2.4999), 2.0);
}

TEST(PercentBar, FailuresEmptyOrKeepAndTheUpperBound)
{
    // No total: the ratio counts as 0 and the bar is emptied.
    EXPECT_EQ(PercentBarCount(5, 0), 0);
    EXPECT_EQ(PercentBarCount(0, 0), 0);
    EXPECT_EQ(progress::PercentBarText(5, 0), QString());

    // Negative counts keep the previous text; a small negative ratio rounds to 0.
    EXPECT_EQ(PercentBarCount(5, -8), std::nullopt);
    EXPECT_EQ(PercentBarCount(-1, 100), std::nullopt); // -0.6
    EXPECT_EQ(PercentBarCount(-1, 1000), 0);            // -0.06

    // A count beyond 32 bits keeps the previous text too.
    const qint32 big = std::numeric_limits<qint32>::max();
    EXPECT_EQ(PercentBarCount(big, 1), std::nullopt);
    EXPECT_EQ(PercentBarCount(big, 2), std::nullopt);
    EXPECT_EQ(PercentBarCount(std::numeric_limits<qint32>::min(), 1), std::nullopt);

    // Within 32 bits but far above the maximum: drawn at the bound.
    EXPECT_EQ(PercentBarCount(9, 1), 540);
    EXPECT_EQ(PercentBarCount(10, 1), progress::kMaxBarLength);
    EXPECT_EQ(progress::PercentBarText(1000000, 1)->size(), progress::kMaxBarLength);
}

TEST(AddressRules, BlanksListEntriesShortcutsAndLaunchArguments)
{
    // Only blanks are trimmed.
    EXPECT_EQ(address::trimBlanks(QStringLiteral("\tx  ")), QStringLiteral("\tx"));
    EXPECT_TRUE(address::isLocalPage(QStringLiteral(" file:///C:/HOME-PAG/INIZIO.HTM")));
    EXPECT_FALSE(address::isLocalPage(QStringLiteral("FILE:///C:/HOME-PAG/INIZIO.HTM")));

    AddressListModel list;
    list.append({QStringLiteral("http://a.it/"), QStringLiteral("  http://b.it/  ")});
    const auto listed = [&list](const QString &text) { return list.containsTrimmed(text); };
    EXPECT_EQ(address::newListEntry(QStringLiteral("http://b.it/"), listed), QString());
    EXPECT_EQ(address::newListEntry(QStringLiteral("   "), listed), QString());
    EXPECT_EQ(address::newListEntry(QStringLiteral(" http://A.it/ "), listed), QStringLiteral("http://A.it/"));

    for (size_t i = 0; i < address::kShortcuts.size(); ++i) {
        const QString a = QString::fromLatin1(address::kShortcuts[i]);
        if (i == 4) {
            EXPECT_TRUE(a.startsWith(QLatin1String("https://")));
            EXPECT_GT(a.indexOf(QLatin1Char('/'), 8), 8) << "a path after the host";
        } else {
            EXPECT_FALSE(a.contains(QLatin1Char(':')) || a.contains(QLatin1Char('/'))) << a.toStdString();
            EXPECT_TRUE(a.contains(QLatin1Char('.'))) << a.toStdString();
        }
    }

    EXPECT_TRUE(address::launchArguments(QString()).isEmpty());
    const QString nasty = QStringLiteral("http://x.it/a b;rm -rf $(id) \"q\" 'z'");
    EXPECT_EQ(address::launchArguments(nasty), QStringList{nasty});
}
