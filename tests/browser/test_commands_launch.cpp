#include "TestEnv.h"
#include "browser/LaunchNewInstance.h"

class LaunchTest : public LanternaTest {};

TEST_F(LaunchTest, AddressIsExactlyOneArgumentAndFailureIsShown)
{
    const QString nasty = QStringLiteral("http://x.it/a b;touch /tmp/pwn $(id) `id` \"q\" 'z' & | >f");
    LaunchNewInstance(nasty);
    LaunchNewInstance(QStringLiteral(" http://a.it/ ")); // the blanks are the address's own
    LaunchNewInstance(QString()); // no argument: the new copy opens its home page
    ASSERT_EQ(processes.starts.size(), 3u);
    EXPECT_EQ(processes.starts[0].program, QStringLiteral("C:\\PROG\\lanterna"));
    EXPECT_EQ(processes.starts[0].arguments, QStringList{nasty});
    EXPECT_EQ(processes.starts[1].arguments, QStringList{QStringLiteral(" http://a.it/ ")});
    EXPECT_TRUE(processes.starts[2].arguments.isEmpty());
    EXPECT_EQ(ui.beeps, 0);
    EXPECT_TRUE(ui.messages.empty());

    processes.startFails = platform::StartError{2, QStringLiteral("No such file or directory")};
    LaunchNewInstance(QStringLiteral("http://a.it/"));
    EXPECT_EQ(ui.beeps, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text,
              QStringLiteral("Non trovo il programmma lanterna !!! \r\r2 - No such file or directory"));
    EXPECT_EQ(ui.last().flags, platform::vbOKOnly);
    EXPECT_EQ(ui.last().title, QStringLiteral("Lanterna"));
}
