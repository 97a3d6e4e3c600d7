#include "editor/BackgroundRule.h"
#include "editor/PageRewrite.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

// Found by fuzzing: a line break in the image's name (a POSIX file name may hold one)
// cut the rewritten line in two and left the attribute open.
TEST(BackgroundValue, LineBreaksAndQuotesCannotBreakTheLine)
{
    const QString image = QStringLiteral("C:\\FOTO\\a\nb\r\"c.jpg");
    EXPECT_EQ(rewrite::backgroundValue(image, rewrite::PageEncoding::Ansi), "C:\\FOTO\\a%0Ab%0D%22c.jpg");

    const QByteArray page = "<html>\r\n<body background=\"old.jpg\">\r\n</body>\r\n";
    const QByteArray out = rewrite::replaceBackgroundTransform(page, image);
    EXPECT_EQ(out, "<html>\r\n<body background=\"file:///C:\\FOTO\\a%0Ab%0D%22c.jpg\">\r\n</body>\r\n");
    EXPECT_EQ(platform::splitLines(out).size(), 3);
}
