#include "TestEnv.h"
#include "platform/PathSpace.h"
#include "platform/WebEngineUrls.h"

#include <QDir>

using platform::toNativePath;

namespace {

bool inside(const QString &native, const QString &root)
{
    const QString r = QDir::cleanPath(root);
    return native == r || native.startsWith(r + QLatin1Char('/'));
}

} // namespace

class PathSpaceBounds : public LanternaTest {};

// Found by fuzzing: "C:\..\..\x" used to climb out of the folder drive C: stands for.
TEST_F(PathSpaceBounds, DotDotStopsAtTheDriveRoot)
{
    const QString c = QDir::cleanPath(driveC);
    EXPECT_EQ(toNativePath(QStringLiteral("C:\\..\\..\\etc\\passwd")), c + "/etc/passwd");
    EXPECT_EQ(toNativePath(QStringLiteral("\\..")), c);
    EXPECT_EQ(toNativePath(QStringLiteral("C:/a/../../b/")), c + "/b/");
    EXPECT_EQ(toNativePath(QStringLiteral("D:\\x\\.\\..\\..\\y")), QDir::cleanPath(driveD) + "/y");
    // Going up and down inside the drive still works.
    EXPECT_EQ(toNativePath(QStringLiteral("C:\\HOME-PAG\\..\\SITI\\A.HTM")), c + "/SITI/A.HTM");

    // Every way a page or a user names a file on the drive stays on it.
    for (const QString &text : {QStringLiteral("file:///C:/../../../etc/passwd"),
                                QStringLiteral("file://C:\\..\\..\\etc\\passwd"),
                                QStringLiteral("C:\\..\\..\\etc\\passwd")}) {
        const QUrl url = platform::urlFromTyped(text);
        ASSERT_TRUE(url.isLocalFile()) << text.toStdString();
        EXPECT_TRUE(inside(url.toLocalFile(), driveC)) << url.toLocalFile().toStdString();
    }
    const QUrl fromPage = platform::nativeFileUrl(QUrl(QStringLiteral("file:///C:/../../etc/passwd")));
    EXPECT_TRUE(inside(fromPage.toLocalFile(), driveC)) << fromPage.toString().toStdString();
}
