// Measures the build of the Favorites tree, shown in the window's own tree, against its
// floor: a plain walk that opens and reads every file once; for 2,000, 20,000 and
// 200,000 shortcuts (20 to a folder), so that the growth shows. Goals: 20,000 in under
// 2 s, and the cost per shortcut no higher with more of them.
// Run by hand: build with -DLANTERNA_BENCH=ON, then
//   ./bench/bench_favorites_walk [runs] [shortcuts,shortcuts,...]
#include "Median.h"
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

constexpr int kPerFolder = 20;
constexpr int kSubFolders = 24; // each top folder holds 24 more: 20,000 shortcuts are 40 + 40 * 24 folders

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

int generate(const QString &root, int shortcuts)
{
    const int topFolders = std::max(1, shortcuts / kPerFolder / (kSubFolders + 1));
    int folders = 0;
    for (int t = 0; t < topFolders; ++t) {
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

struct Figures {
    int folders = 0, nodes = 0;
    double buildMs = 0, plainMs = 0, floorMs = 0;
};

Figures measure(int shortcuts, int runs)
{
    Figures f;
    QTemporaryDir dir;
    if (!dir.isValid())
        return f;
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(dir.path()));
    const QString nativeFav = dir.filePath(QStringLiteral("Utenti/bench/Favorites"));
    f.folders = generate(nativeFav, shortcuts);

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

    // The first rounds warm the file cache for both measurements.
    const std::string nativeRoot = QFile::encodeName(nativeFav).toStdString();
    plainWalk(nativeRoot);
    f.floorMs = medianMs(runs, [] {}, [&] { plainWalk(nativeRoot); });
    f.buildMs = medianMs(runs, [] {}, [&] {
        window.BuildFavoritesTree(QStringLiteral("fail"), QStringLiteral("fail"));
        QCoreApplication::processEvents(); // the tree shows itself
        f.nodes = window.nodes().count();
    });
    PlainTree plain;
    f.plainMs = medianMs(runs, [] {}, [&] {
        Favorites::Walk(plain).BuildFavoritesTree(QStringLiteral("fail"), QStringLiteral("fail"));
    });
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QList<int> sizes = {2000, 20000, 200000};
    if (argc > 2) {
        sizes.clear();
        for (const QByteArray &n : QByteArray(argv[2]).split(','))
            sizes << std::max(kPerFolder, n.toInt());
    }

    std::printf("Favorites walk (median of %d runs; the largest tree with fewer runs)\n", runs);
    std::printf("%10s %8s %8s %12s %12s %12s %14s\n", "shortcuts", "folders", "nodes", "build ms", "no view ms",
                "floor ms", "build us/each");
    for (int n : sizes) {
        const Figures f = measure(n, n >= 100000 ? std::max(1, runs / 2) : runs);
        const int made = f.folders * kPerFolder;
        std::printf("%10d %8d %8d %12.1f %12.1f %12.1f %14.1f\n", made, f.folders, f.nodes, f.buildMs, f.plainMs,
                    f.floorMs, f.buildMs * 1000 / made);
        std::printf("RESULT Favorites walk, %d shortcuts|%.3f|%.3f|s|3|open and read every file\n", made,
                    f.buildMs / 1000, f.floorMs / 1000);
        std::fflush(stdout);
    }
    return 0;
}
