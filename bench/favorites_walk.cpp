// Measures the build of the Favorites tree over 20,000 shortcuts in 1,000 folders,
// shown in the window's own tree, against its floor: a plain walk that opens and
// reads every file once. Goal: the build under 2 s.
// Run by hand: build with -DLANTERNA_BENCH=ON, then ./bench/bench_favorites_walk [runs].
#include "FakeProcesses.h"
#include "FakeShell.h"
#include "favorites/FavoritesWalk.h"
#include "favorites/frmFav.h"
#include "platform/PathSpace.h"
#include "platform/RealFiles.h"
#include "QuietUi.h"
#include "platform/Services.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

// Keys and tags only, no view: shows how much of the build the view takes.
class PlainTree : public FavoritesTree {
public:
    void clear() override { nodes_.clear(); }
    FavNodeRef add(const QString &rel, const QString &key, const QString &text, int image, int selected) override
    {
        if (nodes_.contains(key) || (!rel.isEmpty() && !nodes_.contains(rel)))
            return nullptr;
        auto n = std::make_shared<FavNode>(FavNode{key, text, image, selected, QString()});
        nodes_.insert(key, n);
        return n;
    }
    void setTag(const FavNodeRef &node, const QString &tag) override { node->tag = tag; }
    FavNodeRef find(const QString &key) const override { return nodes_.value(key); }
    void expand(const FavNodeRef &) override {}
    int count() const { return int(nodes_.size()); }

private:
    QHash<QString, FavNodeRef> nodes_;
};

constexpr int kTopFolders = 40;
constexpr int kSubFolders = 24; // 40 + 40 * 24 = 1,000 folders
constexpr int kPerFolder = 20;  // 20,000 shortcuts

void writeShortcuts(const QString &folder, const QString &tag)
{
    QDir().mkpath(folder);
    for (int i = 0; i < kPerFolder; ++i) {
        QFile f(folder + QStringLiteral("/Sito %1-%2.url").arg(tag).arg(i, 2, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly);
        f.write("[DEFAULT]\r\nBASEURL=http://www.example.it/\r\n[InternetShortcut]\r\nURL=http://www.example.it/"
                + tag.toLatin1() + "/" + QByteArray::number(i)
                + "/index.html\r\nIDList=\r\nIconFile=http://www.example.it/favicon.ico\r\nIconIndex=1\r\n");
    }
}

int generate(const QString &root)
{
    int folders = 0;
    for (int t = 0; t < kTopFolders; ++t) {
        const QString top = root + QStringLiteral("/Cartella %1").arg(t, 2, 10, QLatin1Char('0'));
        writeShortcuts(top, QString::number(t));
        ++folders;
        for (int s = 0; s < kSubFolders; ++s) {
            writeShortcuts(top + QStringLiteral("/Sotto %1-%2").arg(t).arg(s), QStringLiteral("%1-%2").arg(t).arg(s));
            ++folders;
        }
    }
    return folders;
}

// Every file opened and read once, nothing else.
long long plainWalk(const std::filesystem::path &root)
{
    long long bytes = 0;
    std::vector<char> buf(64 * 1024);
    for (const auto &e : std::filesystem::recursive_directory_iterator(root)) {
        if (!e.is_regular_file())
            continue;
        if (FILE *f = std::fopen(e.path().c_str(), "rb")) {
            size_t n;
            while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0)
                bytes += static_cast<long long>(n);
            std::fclose(f);
        }
    }
    return bytes;
}

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(dir.path()));
    const QString nativeFav = dir.filePath(QStringLiteral("Utenti/bench/Favorites"));
    const int folders = generate(nativeFav);

    QuietUi ui;
    platform::RealFiles files(QStringLiteral("C:\\PROG"), QStringLiteral("lanterna"));
    FakeProcesses processes;
    FakeShell shell;
    shell.favorites = platform::toWindowsPath(nativeFav);
    const platform::Services services{ui, files, processes, shell, [](QWidget *) { return nullptr; }};
    platform::install(services);

    frmFav window;
    window.show();
    QCoreApplication::processEvents();

    int nodes = 0;
    // The first rounds warm the file cache for both measurements.
    plainWalk(QFile::encodeName(nativeFav).toStdString());
    const double floorMs = medianMs(runs, [&] { plainWalk(QFile::encodeName(nativeFav).toStdString()); });
    const double buildMs = medianMs(runs, [&] {
        window.BuildFavoritesTree(QStringLiteral("fail"), QStringLiteral("fail"));
        QCoreApplication::processEvents(); // the tree shows itself
        nodes = window.nodes().count();
    });

    PlainTree plain;
    const double plainMs = medianMs(runs, [&] {
        Favorites::Walk(plain).BuildFavoritesTree(QStringLiteral("fail"), QStringLiteral("fail"));
    });

    std::printf("Favorites: %d folders, %d shortcuts, %d nodes in the tree, median of %d runs\n", folders,
                folders * kPerFolder, nodes, runs);
    std::printf("build tree:  %8.1f ms (goal < 2000 ms)\n", buildMs);
    std::printf("  no view:   %8.1f ms (the same walk into a tree with no widget)\n", plainMs);
    std::printf("plain walk:  %8.1f ms (open and read every file once)\n", floorMs);
    std::printf("ratio:       %8.1f x\n", buildMs / floorMs);
    std::printf("RESULT Favorites walk, 20,000 shortcuts|%.3f|%.3f|s|3|open and read every file\n", buildMs / 1000,
                floorMs / 1000);
    return 0;
}
