#include "TestEnv.h"
#include "platform/DownloadRules.h"
#include "platform/WebEngineProfile.h"
#include "platform/Text.h"
#include "platform/WebEngineUrls.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using platform::nativeFileUrl;
using platform::urlFromTyped;
using platform::urlText;
using platform::windowsPathOfFileUrl;

class WebEngineUrls : public LanternaTest {
protected:
    QUrl onC(const QString &rest) const { return QUrl::fromLocalFile(driveC + rest); }
    QUrl onD(const QString &rest) const { return QUrl::fromLocalFile(driveD + rest); }
};

TEST_F(WebEngineUrls, TypedWindowsPathsBecomeNativeFileUrls)
{
    EXPECT_EQ(urlFromTyped(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM")), onC("/HOME-PAG/INIZIO.HTM"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("  d:\\Pagine\\a b.htm  ")), onD("/Pagine/a b.htm"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("C:/HOME-PAG/INIZIO.HTM")), onC("/HOME-PAG/INIZIO.HTM"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("\\HOME-PAG\\INIZIO.HTM")), onC("/HOME-PAG/INIZIO.HTM"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("/HOME-PAG/INIZIO.HTM")), onC("/HOME-PAG/INIZIO.HTM"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("C:")), QUrl::fromLocalFile(driveC));
    EXPECT_EQ(urlFromTyped(QStringLiteral("pagine\\a.htm")),
              QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("pagine/a.htm"))));

    // file: URLs written the Windows way, every spelling the editor and users write.
    for (const char *typed : {"file:///C:/HOME-PAG/INIZIO.HTM", "file:///C:\\HOME-PAG\\INIZIO.HTM",
                              "file://C:\\HOME-PAG\\INIZIO.HTM", "file:C:\\HOME-PAG\\INIZIO.HTM",
                              "FILE://localhost/c:/HOME-PAG/INIZIO.HTM", "file:///C|/HOME-PAG/INIZIO.HTM"})
        EXPECT_EQ(urlFromTyped(QString::fromLatin1(typed)), onC("/HOME-PAG/INIZIO.HTM")) << typed;
    EXPECT_EQ(urlFromTyped(QStringLiteral("file:///D:/Le%20mie%20pagine/a.htm")), onD("/Le mie pagine/a.htm"));

    // A drive that is not there still names a file, which then fails like a missing one.
    const QUrl absent = urlFromTyped(QStringLiteral("E:\\x\\a.htm"));
    EXPECT_EQ(absent.scheme(), "file");
    EXPECT_EQ(urlText(absent), "file:///E:/x/a.htm");
    EXPECT_FALSE(QFile::exists(absent.toLocalFile()));

    // A plain name is a file when it exists in the current folder, a host otherwise.
    writeFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"), "<html></html>");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(driveC + "/HOME-PAG"));
    const QUrl existing = urlFromTyped(QStringLiteral("INIZIO.HTM"));
    const QUrl missing = urlFromTyped(QStringLiteral("ALTRA.HTM"));
    QDir::setCurrent(before);
    EXPECT_EQ(existing, onC("/HOME-PAG/INIZIO.HTM"));
    EXPECT_EQ(missing.scheme(), "http");
}

TEST_F(WebEngineUrls, TypedWebAddressesAreCompleted)
{
    EXPECT_EQ(urlFromTyped(QStringLiteral("http:\\\\host\\a.htm")), QUrl("http://host/a.htm"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("https://www.example.it\\pagine\\a.htm")),
              QUrl("https://www.example.it/pagine/a.htm"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("HTTP:www.example.it")), QUrl("http://www.example.it"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("www.example.it")), QUrl("http://www.example.it"));
    EXPECT_EQ(urlFromTyped(QStringLiteral(" www.example.it\\pagine\\a.htm ")), QUrl("http://www.example.it/pagine/a.htm"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("localhost:8080/a")), QUrl("http://localhost:8080/a"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("about:blank")), QUrl("about:blank"));
    EXPECT_EQ(urlFromTyped(QStringLiteral("mailto:mario@example.it")), QUrl("mailto:mario@example.it"));
    // Scripts are not addresses: their backslashes stay.
    EXPECT_EQ(urlFromTyped(QStringLiteral("javascript:alert('a\\\\b')")).path(), "alert('a\\\\b')");
    EXPECT_FALSE(urlFromTyped(QString()).isValid());
    EXPECT_FALSE(urlFromTyped(QStringLiteral("   ")).isValid());
}

TEST_F(WebEngineUrls, WindowsFormFileUrlsMapToNativeFiles)
{
    EXPECT_EQ(nativeFileUrl(QUrl("file:///C:/HOME-PAG/SF01.JPG")), onC("/HOME-PAG/SF01.JPG"));
    // The engine hands file://C:\x over as host "c:"; QUrl keeps host "c".
    EXPECT_EQ(nativeFileUrl(QUrl("file://c:/HOME-PAG/SF01.JPG")), onC("/HOME-PAG/SF01.JPG"));
    EXPECT_EQ(nativeFileUrl(QUrl("file:///C:%5CHOME-PAG%5CSF01.JPG")), onC("/HOME-PAG/SF01.JPG"));
    EXPECT_EQ(nativeFileUrl(QUrl("file:///d:/Foto/Mare%20blu.JPG")), onD("/Foto/Mare blu.JPG"));
    const QUrl withQuery = nativeFileUrl(QUrl("file:///D:/a.htm?x=1#sez"));
    EXPECT_EQ(withQuery.toLocalFile(), driveD + "/a.htm");
    EXPECT_EQ(withQuery.query(), "x=1");
    EXPECT_EQ(withQuery.fragment(), "sez");

    // Native addresses, other schemes, absent drives and shares are left alone, so a
    // redirect can never loop.
    EXPECT_FALSE(nativeFileUrl(onC("/HOME-PAG/SF01.JPG")).isValid());
    EXPECT_FALSE(nativeFileUrl(QUrl("http://www.example.it/C:/a.jpg")).isValid());
    EXPECT_FALSE(nativeFileUrl(QUrl("file:///E:/a.jpg")).isValid());
    EXPECT_FALSE(nativeFileUrl(QUrl("file://server/share/a.jpg")).isValid());

    EXPECT_EQ(windowsPathOfFileUrl(QStringLiteral("file://C:\\HOME-PAG\\SF01.JPG")), "C:\\HOME-PAG\\SF01.JPG");
    EXPECT_EQ(windowsPathOfFileUrl(QStringLiteral("file:///c:/HOME-PAG/SF01.JPG")), "C:\\HOME-PAG\\SF01.JPG");
    EXPECT_EQ(windowsPathOfFileUrl(QStringLiteral("file:///C:/A%20B/x.htm#top")), "C:\\A B\\x.htm");
    EXPECT_EQ(windowsPathOfFileUrl(QStringLiteral("file:///D:")), "D:\\");
    EXPECT_EQ(windowsPathOfFileUrl(QStringLiteral("file:///tmp/x.htm")), "");
    EXPECT_EQ(windowsPathOfFileUrl(QStringLiteral("http://C:/x.htm")), "");
    EXPECT_EQ(windowsPathOfFileUrl(QStringLiteral("file:///CD:/x.htm")), "");
}

TEST_F(WebEngineUrls, ReportedAddressesUseWindowsForm)
{
    EXPECT_EQ(urlText(onC("/HOME-PAG/INIZIO.HTM")), "file:///C:/HOME-PAG/INIZIO.HTM");
    EXPECT_EQ(urlText(onD("/HOME-PAG/INIZIO.HTM")), "file:///D:/HOME-PAG/INIZIO.HTM");
    EXPECT_EQ(urlText(onC("/Le mie pagine/a.htm")), "file:///C:/Le mie pagine/a.htm");
    EXPECT_EQ(urlText(QUrl::fromLocalFile(driveC)), "file:///C:/");
    QUrl withFragment = onC("/HOME-PAG/INIZIO.HTM");
    withFragment.setFragment(QStringLiteral("sez"));
    EXPECT_EQ(urlText(withFragment), "file:///C:/HOME-PAG/INIZIO.HTM#sez");
    // Outside every mapped drive: Z: is the native root.
    EXPECT_EQ(urlText(QUrl::fromLocalFile("/usr/share/doc/a.htm")), "file:///Z:/usr/share/doc/a.htm");
    // Already in Windows form: one spelling.
    EXPECT_EQ(urlText(QUrl("file:///C:%5CHOME-PAG%5CB.HTM")), "file:///C:/HOME-PAG/B.HTM");
    EXPECT_EQ(urlText(QUrl("file://c:/HOME-PAG/B.HTM")), "file:///C:/HOME-PAG/B.HTM");

    EXPECT_EQ(urlText(QUrl("http://www.example.it/a.htm?q=1")), "http://www.example.it/a.htm?q=1");
    EXPECT_EQ(urlText(QUrl("about:blank")), "about:blank");
    EXPECT_EQ(urlText(QUrl()), "");
    // Web addresses in other scripts stay encoded, so the 8-bit log keeps them whole
    // and they navigate again after a restart.
    const QUrl cyrillic(QStringLiteral("http://127.0.0.1:8080/пример/страница.htm?q=ελληνικά"));
    const QString kept = urlText(cyrillic);
    EXPECT_EQ(kept, QStringLiteral("http://127.0.0.1:8080/%D0%BF%D1%80%D0%B8%D0%BC%D0%B5%D1%80/"
                                   "%D1%81%D1%82%D1%80%D0%B0%D0%BD%D0%B8%D1%86%D0%B0.htm"
                                   "?q=%CE%B5%CE%BB%CE%BB%CE%B7%CE%BD%CE%B9%CE%BA%CE%AC"));
    EXPECT_EQ(platform::fromAnsi(platform::toAnsi(kept)), kept);
    EXPECT_EQ(urlFromTyped(kept), cyrillic);
    EXPECT_EQ(urlText(QUrl(QStringLiteral("http://bücher.example/"))), "http://xn--bcher-kva.example/");

    // What the control reports, typed back, leads to the same file.
    for (const QUrl &u : {onC("/HOME-PAG/INIZIO.HTM"), onD("/a b/c.htm"), QUrl::fromLocalFile("/usr/share/doc/a.htm")})
        EXPECT_EQ(urlFromTyped(urlText(u)), u) << u.toString().toStdString();
}

TEST(WebEngineDownloads, ReservedNamesNeverHideAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString d = dir.path();
    using platform::reserveDownloadFile;
    EXPECT_EQ(reserveDownloadFile(d, "a.zip"), "a.zip");
    EXPECT_EQ(reserveDownloadFile(d, "a.zip"), "a (1).zip");
    EXPECT_EQ(reserveDownloadFile(d, "a.zip"), "a (2).zip");
    EXPECT_EQ(reserveDownloadFile(d, "archivio.tar.gz"), "archivio.tar.gz");
    EXPECT_EQ(reserveDownloadFile(d, "archivio.tar.gz"), "archivio (1).tar.gz");
    EXPECT_EQ(reserveDownloadFile(d, "LEGGIMI"), "LEGGIMI");
    EXPECT_EQ(reserveDownloadFile(d, "LEGGIMI"), "LEGGIMI (1)");
    const QString full = QString(196, 'x') + ".zip";
    EXPECT_EQ(reserveDownloadFile(d, full), full);
    EXPECT_EQ(reserveDownloadFile(d, full), QString(192, 'x') + " (1).zip"); // still 200 bytes
    EXPECT_EQ(reserveDownloadFile(d + "/missing", "a.zip"), "");
}

TEST(WebEngineDownloads, SiteNamesAreMadeSafe)
{
    const struct {
        const char *site, *safe;
    } table[] = {
        {"dati.zip", "dati.zip"},
        {"../../a.zip", "a.zip"},
        {"C:\\Windows\\win.ini", "win.ini"},
        {".bashrc", "bashrc"},
        {"..profile", "profile"},
        {"a\x01" "b\tc\x7f.txt", "abc.txt"},
        {"CON", "_CON"},
        {"con.txt", "_con.txt"},
        {"LPT9.log", "_LPT9.log"},
        {"COM10.txt", "COM10.txt"},
        {"nome. . .", "nome"},
        {"", "download"},
        {"...", "download"},
        {"a/", "download"},
    };
    for (const auto &row : table)
        EXPECT_EQ(platform::safeDownloadName(QString::fromUtf8(row.site)), QString::fromUtf8(row.safe)) << row.site;
    // At most 200 bytes, cut between whole characters, the extension kept.
    const QString longName = QString(150, QChar(0x00E8)) + ".pdf";
    const QByteArray safe = platform::safeDownloadName(longName).toUtf8();
    EXPECT_EQ(safe, (QString(98, QChar(0x00E8)) + ".pdf").toUtf8());
}

TEST(WebEngineDownloads, APageGetsAFewDownloadsAtOnceAndAFewAMinute)
{
    using L = platform::DownloadLimit;
    L limit;
    EXPECT_FALSE(limit.mayStart(L::kMaxAtOnce, 0));
    for (int i = 0; i < L::kMaxPerMinute; ++i)
        EXPECT_TRUE(limit.mayStart(0, i * 1000)) << i;
    EXPECT_FALSE(limit.mayStart(0, 59999));
    EXPECT_TRUE(limit.mayStart(0, 60000)); // the first has left its minute
    EXPECT_FALSE(limit.mayStart(0, 60001));
}

TEST(PathFixupScan, OnlyMarkupThatCannotHoldAWindowsFormGoesWithoutTheScript)
{
    using platform::markupMayNeedPathFixup;
    // Plain pages, as the sample home page and the editor's pictures are written.
    for (const char *clean :
         {"", "<HTML><HEAD><TITLE>Inizio</TITLE>\r\n<META http-equiv=\"Content-Type\" content=\"text/html; "
              "charset=windows-1252\"></HEAD>\r\n<BODY background=\"SF01.JPG\" text=\"#202020\">",
          "<a href=\"http://www.esempio.it/\">Sito</a> <a href=\"mailto:a@b.it\">posta</a> Nota: ciao",
          "<body background=\"file:///C:\\HOME-PAG\\SF01.JPG\"><img src=\"FILE:///d:/foto/a.jpg\">",
          "<p>Questo \xe8 un testo con la parola onda e <b>bold=no</b></p>", "<img src=x.jpg alt=\"costo: 3\">"})
        EXPECT_FALSE(markupMayNeedPathFixup(QByteArrayView(clean))) << clean;

    // Every way a form the engine never requests can get in, or be made later.
    for (const char *needs :
         {"<img src=\"C:\\HOME-PAG\\SF01.JPG\">", "<img src=c:/a.jpg>", "<a href=\"file://C:\\HOME-PAG\\B.HTM\">",
          "<a href='file:C:\\B.HTM'>", "<a href=\"file:///C|/B.HTM\">", "<a href=\"file:////C:/B.HTM\">",
          "<a href=\"xfile:///C:/B.HTM\">", "C:", "<img src=\"C&#58;\\a.jpg\">", "<img src=\"C&colon;\\a.jpg\">",
          "<SCRIPT>document.write('x')</SCRIPT>", "<a href=\"JavaScript:void(0)\">", "<a href=\"java\tscript:f()\">",
          "<a href=\"j\r\nava\nSCRIPT:f()\">", "<a href=\"vb\tscript:f\">", "<body onload=\"f()\">",
          "<img src=x ONERROR = \"f()\">", "<div/onclick=f()>", "<FRAMESET><FRAME SRC=\"a.htm\">",
          "<iframe src=a.htm>", "<object data=a.htm>", "<embed src=a.svg>"})
        EXPECT_TRUE(markupMayNeedPathFixup(QByteArrayView(needs))) << needs;

    // Bytes that are not ASCII markup (a UTF-16 page, a picture) are not read at all.
    const char utf16[] = "<\0i\0m\0g\0>\0";
    EXPECT_TRUE(markupMayNeedPathFixup(QByteArrayView(utf16, sizeof utf16 - 1)));
    // A form cut at the end of the bytes still counts.
    EXPECT_TRUE(markupMayNeedPathFixup(QByteArrayView("<img src=D|")));
    EXPECT_FALSE(markupMayNeedPathFixup(QByteArrayView("<a href=x>file:///")));
}
