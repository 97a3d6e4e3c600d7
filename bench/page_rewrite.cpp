// Measures the page rewrite of a 10 MB page against its floor, three plain copies of
// the same file (the rewrite writes the working copy, the backup and the page).
// Run by hand: build with -DLANTERNA_BENCH=ON, then ./bench/bench_page_rewrite [runs].
#include "FakeProcesses.h"
#include "Median.h"
#include "FakeShell.h"
#include "editor/PageRewrite.h"
#include "platform/RealFiles.h"
#include "QuietUi.h"
#include "platform/Services.h"
#include "platform/Ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// About 10 MB of ordinary markup with accented 8-bit text, LF line ends, the closing
// body tag near the end.
QByteArray makePage()
{
    QByteArray page = "<html>\n<head><title>Prova</title></head>\n<body background=\"SFONDO.JPG\">\n";
    const QByteArray line = "<p align=\"left\"><font color=\"#000080\">Citt\xE0 di prova, riga numero ";
    for (int i = 0; page.size() < 10 * 1024 * 1024; ++i)
        page += line + QByteArray::number(i) + " \xE8 perch\xE9</font></p>\n";
    page += "</body>\n</html>\n";
    return page;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;

    QTemporaryDir root;
    QDir().mkpath(root.filePath(QStringLiteral("C/HOME-PAG")));
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(root.filePath(QStringLiteral("C"))));

    QuietUi ui;
    platform::RealFiles files(QStringLiteral("C:\\PROG"), QStringLiteral("lanterna"));
    FakeProcesses processes;
    FakeShell shell;
    const platform::Services services{ui, files, processes, shell, [](QWidget *) { return nullptr; }};
    platform::install(services);

    const QString page = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
    const QByteArray original = makePage();
    const auto restore = [&] { files.writeAll(page, original); };
    const QString block = QStringLiteral("<H2><p align=\"left\"><font color=\"#FFFF80\">Avanti</font></p></H2>");

    // The rewrite's file work and transform, without the window it would close.
    bool ok = true;
    const double rewriteMs = medianMs(runs, restore, [&] {
        const auto outcome = rewrite::rewritePage(
            page, [&](QByteArrayView bytes) { return rewrite::insertBlockTransform(bytes, block); });
        ok = ok && outcome.failure == rewrite::Failure::None;
    });
    const double copyMs = medianMs(runs, restore, [&] {
        ok = files.copyFile(page, QStringLiteral("C:\\HOME-PAG\\COPIA1.HTM")) && ok;
        ok = files.copyFile(page, QStringLiteral("C:\\HOME-PAG\\COPIA2.HTM")) && ok;
        ok = files.copyFile(page, QStringLiteral("C:\\HOME-PAG\\COPIA3.HTM")) && ok;
    });
    if (!ok) {
        std::fputs("a rewrite or a copy failed\n", stderr);
        return 1;
    }

    std::printf("page size:            %.1f MB, median of %d runs\n", original.size() / 1048576.0, runs);
    std::printf("InsertBlock rewrite:  %8.2f ms\n", rewriteMs);
    std::printf("three plain copies:   %8.2f ms\n", copyMs);
    std::printf("ratio:                %8.2f (goal at most 2)\n", rewriteMs / copyMs);
    std::printf("RESULT page rewrite, 10 MB page|%.3f|%.3f|s|2|three plain copies\n", rewriteMs / 1000, copyMs / 1000);
    return 0;
}
