#pragma once
#include <QAbstractListModel>
#include <QStringList>

// The address box's list: plain texts, which a box of tens of thousands of entries
// keeps far smaller than one item object per entry, and which a whole log joins in
// one insertion rather than one per line.
class AddressListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // Adds these entries at the end in one step. `trimmedHashes`, when the caller has
    // them, are qHash of each entry with its blanks off.
    void append(QStringList &&entries, QList<size_t> &&trimmedHashes = {});
    const QStringList &entries() const { return entries_; }
    // Whether an entry, its blanks off, reads `trimmed`. Kept hashes are compared first:
    // a full list's texts lie scattered in memory, and each finished page asks.
    bool containsTrimmed(const QString &trimmed) const;

private:
    QStringList entries_;
    QList<size_t> hashes_; // of each entry, trimmed
};
