#pragma once
#include "favorites/FavoritesTree.h"
#include "platform/Files.h"
#include "platform/Services.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

// The bytes of an Internet shortcut file to the address.
inline QByteArray shortcut(const QString &address)
{
    return QByteArray("[InternetShortcut]\r\nURL=") + address.toLatin1() + QByteArray("\r\n");
}

// A plain in-memory tree with the same rules as the window's: unique keys,
// children appended, a missing parent fails.
class MemoryFavTree : public FavoritesTree {
public:
    struct Entry {
        FavNodeRef node;
        QString parent;
        QStringList children;
        bool expanded = false;
    };
    QHash<QString, Entry> entries;
    QStringList top;
    int clears = 0;
    int adds = 0;

    void clear() override
    {
        ++clears;
        entries.clear();
        top.clear();
    }
    FavNodeRef add(const QString &rel, const QString &key, const QString &text, int image, int selected) override
    {
        ++adds;
        if (entries.contains(key) || (!rel.isEmpty() && !entries.contains(rel)))
            return nullptr;
        auto node = std::make_shared<FavNode>(FavNode{key, text, image, selected, QString()});
        entries.insert(key, Entry{node, rel, {}, false});
        if (rel.isEmpty())
            top << key;
        else
            entries[rel].children << key;
        return node;
    }
    void setTag(const FavNodeRef &node, const QString &tag) override
    {
        if (node)
            node->tag = tag;
    }
    FavNodeRef find(const QString &key) const override
    {
        auto it = entries.constFind(key);
        return it == entries.constEnd() ? nullptr : it->node;
    }
    void expand(const FavNodeRef &node) override
    {
        if (node && entries.contains(node->key))
            entries[node->key].expanded = true;
    }

    QStringList childrenOf(const QString &key) const { return entries.value(key).children; }
    QString parentOf(const QString &key) const { return entries.value(key).parent; }

    // One line per node, indented two blanks a level: "Text/" for a folder (closed and
    // open folder images), "Text -> tag" for a leaf with the URL image, "Text" for the root.
    QString dump() const
    {
        QStringList lines;
        for (const QString &k : top)
            dumpNode(k, 0, lines);
        return lines.join(QLatin1Char('\n'));
    }

private:
    void dumpNode(const QString &key, int depth, QStringList &lines) const
    {
        const Entry &e = entries[key];
        QString line = QString(depth * 2, QLatin1Char(' ')) + e.node->text;
        if (e.node->image == 1 && e.node->selectedImage == 2)
            line += QLatin1Char('/');
        else if (e.node->image == 3 && e.node->selectedImage == 0 && key != QLatin1String("R"))
            line += QStringLiteral(" -> ") + e.node->tag;
        else if (key != QLatin1String("R"))
            line += QStringLiteral(" ?image %1/%2").arg(e.node->image).arg(e.node->selectedImage);
        lines << line;
        for (const QString &c : e.children)
            dumpNode(c, depth + 1, lines);
    }
};

// The real files with a listing in name order (the file system's own order varies),
// and folders that can be marked as system folders, which this platform has none of.
class OrderedFiles : public platform::Files {
public:
    explicit OrderedFiles(platform::Files &inner) : inner_(inner) {}
    QSet<QString> systemFolders; // Windows paths, as the walk forms them
    int listCalls = 0;

    bool canOpenForRead(const QString &p) override { return inner_.canOpenForRead(p); }
    std::optional<QByteArray> readAll(const QString &p) override { return inner_.readAll(p); }
    bool writeAll(const QString &p, const QByteArray &d) override { return inner_.writeAll(p, d); }
    bool replaceFile(const QString &p, const QByteArray &d) override { return inner_.replaceFile(p, d); }
    bool copyFile(const QString &s, const QString &d) override { return inner_.copyFile(s, d); }
    bool removeFile(const QString &p) override { return inner_.removeFile(p); }
    std::optional<std::vector<platform::DirEntry>> list(const QString &pattern) override
    {
        ++listCalls;
        auto out = inner_.list(pattern);
        if (!out)
            return out;
        const QString folder = pattern.left(pattern.lastIndexOf(QLatin1Char('\\')) + 1);
        for (auto &e : *out)
            if (systemFolders.contains(folder + e.name))
                e.attributes |= platform::AttrSystem;
        std::sort(out->begin(), out->end(), [](const auto &a, const auto &b) { return a.name < b.name; });
        return out;
    }
    bool lookup(const QString &path, unsigned allowed) override
    {
        if (systemFolders.contains(path))
            return (allowed & platform::AttrSystem) && (allowed & platform::AttrDirectory);
        return inner_.lookup(path, allowed);
    }
    QString profileString(const QString &s, const QString &k, const QString &d, const QString &f, int size) override
    {
        return inner_.profileString(s, k, d, f, size);
    }
    QString programFolder() override { return inner_.programFolder(); }
    QString exeName() override { return inner_.exeName(); }
    QString dataFile(const QString &name) override { return inner_.dataFile(name); }

private:
    platform::Files &inner_;
};

// Installs OrderedFiles over the services installed now; puts them back at the end.
class OrderedFilesInstall {
public:
    OrderedFilesInstall()
        : previous_(&platform::services()), files(std::make_unique<OrderedFiles>(previous_->files)),
          services_(std::make_unique<platform::Services>(platform::Services{
              previous_->ui, *files, previous_->processes, previous_->shell, previous_->makeBrowser}))
    {
        platform::install(*services_);
    }
    ~OrderedFilesInstall() { platform::install(*previous_); }
    OrderedFilesInstall(const OrderedFilesInstall &) = delete;
    OrderedFilesInstall &operator=(const OrderedFilesInstall &) = delete;

private:
    const platform::Services *previous_;

public:
    std::unique_ptr<OrderedFiles> files;

private:
    std::unique_ptr<platform::Services> services_;
};
