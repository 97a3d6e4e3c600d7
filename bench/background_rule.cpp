// Measures the background rewrite of a 4 MB page written on one line, with the word
// "background=" in its running text every few hundred bytes, against its floor: the
// caption insertion over the same page (one pass over the same bytes).
// Run by hand: build with -DLANTERNA_BENCH=ON, then ./bench/bench_background_rule [runs].
#include "Median.h"
#include "editor/PageRewrite.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QByteArray makePage()
{
    // One long paragraph: no tag between the false matches.
    QByteArray page = "<html><head><title>Una riga</title></head><body><p>";
    const QByteArray text = "Nel testo la parola background=blu non \xE8 un attributo, e intorno c'\xE8 "
                            "altro testo di prova per fare una pagina lunga scritta tutta su una sola riga, "
                            "come la salvano certi programmi. ";
    while (page.size() < 4 * 1024 * 1024)
        page += text;
    page += "</p>";
    // The one attribute to replace comes last, after every false match.
    page += "<table background=\"VECCHIO.JPG\"><tr><td>fine</td></tr></table></body></html>\r\n";
    return page;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QByteArray page = makePage();

    QByteArray replaced, inserted;
    const double backgroundMs = medianMs(runs, [] {}, [&] {
        replaced = rewrite::replaceBackgroundTransform(page, QStringLiteral("C:\\HOME-PAG\\SF01.JPG"));
    });
    const double insertMs = medianMs(runs, [] {}, [&] {
        inserted = rewrite::insertBlockTransform(page, QStringLiteral("<H2>Avanti</H2>"));
    });
    if (!replaced.contains("<table background=\"file:///C:\\HOME-PAG\\SF01.JPG\">")
        || replaced.count("background=blu") != page.count("background=blu")) {
        std::fputs("the background was not replaced as expected\n", stderr);
        return 1;
    }

    std::printf("page size:            %.1f MB on one line, %lld false matches, median of %d runs\n",
                page.size() / 1048576.0, static_cast<long long>(page.count("background=blu")), runs);
    std::printf("background rewrite:   %10.2f ms\n", backgroundMs);
    std::printf("caption insertion:    %10.2f ms\n", insertMs);
    std::printf("ratio:                %10.2f (goal at most 3)\n", backgroundMs / insertMs);
    std::printf("RESULT background rewrite, 4 MB one line|%.3f|%.3f|s|3|caption insertion\n", backgroundMs / 1000,
                insertMs / 1000);
    return 0;
}
