// The desktop's text editor through the opener, as the desktop really answers.
#include "TestEnv.h"
#include "platform/RealShell.h"

#include <QFile>
#include <QTest>

class RealShellEditor : public LanternaTest {
protected:
    // A PATH holding nothing but an xdg-open that ends with `code` after leaving a mark.
    void opener(int code)
    {
        const QString script = QStringLiteral("#!/bin/sh\necho \"$1\" > \"%1\"\nexit %2\n")
                                   .arg(native(QStringLiteral("C:\\opened.txt")))
                                   .arg(code);
        writeFile(QStringLiteral("C:\\BIN\\xdg-open"), script.toUtf8());
        QFile::setPermissions(native(QStringLiteral("C:\\BIN\\xdg-open")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::remove(native(QStringLiteral("C:\\opened.txt")));
        qputenv("PATH", QFile::encodeName(native(QStringLiteral("C:\\BIN"))));
    }
    void TearDown() override
    {
        qputenv("PATH", path_);
        LanternaTest::TearDown();
    }
    QByteArray path_ = qgetenv("PATH");
};

TEST_F(RealShellEditor, AnOpenerThatFindsNothingIsReportedAndOneThatWorksIsNot)
{
    platform::RealShell shell;
    writeFile(QStringLiteral("C:\\PROG\\LANTERNA.DAT"), "http://a/\r\n");
    const QString log = native(QStringLiteral("C:\\PROG\\LANTERNA.DAT"));

    // Only xdg-open, and it finds no program for the file (its exit code 3 or 4).
    opener(4);
    int failures = 0;
    ASSERT_TRUE(shell.openInTextEditor(QStringLiteral("C:\\PROG\\LANTERNA.DAT"), [&] { ++failures; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return failures == 1; }, 20000));
    EXPECT_EQ(readFile(QStringLiteral("C:\\opened.txt")), log.toUtf8() + "\n");

    // It opens the file: nothing to report. A failing opener started after it has its
    // end reported, and by then the first one's end has been seen too.
    opener(0);
    failures = 0;
    int laterFailures = 0;
    ASSERT_TRUE(shell.openInTextEditor(QStringLiteral("C:\\PROG\\LANTERNA.DAT"), [&] { ++failures; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return exists(QStringLiteral("C:\\opened.txt")); }, 20000));
    opener(3);
    ASSERT_TRUE(shell.openInTextEditor(QStringLiteral("C:\\PROG\\LANTERNA.DAT"), [&] { ++laterFailures; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return laterFailures == 1; }, 20000));
    EXPECT_EQ(failures, 0);

    // No opener at all: nothing starts, said at once.
    QFile::remove(native(QStringLiteral("C:\\BIN\\xdg-open")));
    EXPECT_FALSE(shell.openInTextEditor(QStringLiteral("C:\\PROG\\LANTERNA.DAT"), [&] { ++failures; }));
    EXPECT_EQ(failures, 0);
}
