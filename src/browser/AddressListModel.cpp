#include "browser/AddressListModel.h"

#include "browser/AddressRules.h"

namespace {

size_t trimmedHash(const QString &entry) { return qHash(address::trimBlanks(entry)); }

} // namespace

int AddressListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant AddressListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= entries_.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return entries_.at(index.row());
}

bool AddressListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= entries_.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    entries_[index.row()] = value.toString();
    hashes_[index.row()] = trimmedHash(entries_.at(index.row()));
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags AddressListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

bool AddressListModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row > entries_.size())
        return false;
    beginInsertRows({}, row, row + count - 1);
    entries_.insert(row, count, QString());
    hashes_.insert(row, count, trimmedHash(QString()));
    endInsertRows();
    return true;
}

bool AddressListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row + count > entries_.size())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    entries_.remove(row, count);
    hashes_.remove(row, count);
    endRemoveRows();
    return true;
}

void AddressListModel::append(QStringList &&entries, QList<size_t> &&trimmedHashes)
{
    if (entries.isEmpty())
        return;
    if (trimmedHashes.size() != entries.size()) {
        trimmedHashes.clear();
        trimmedHashes.reserve(entries.size());
        for (const QString &e : entries)
            trimmedHashes.append(trimmedHash(e));
    }
    const int first = int(entries_.size());
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    if (entries_.isEmpty()) {
        entries_ = std::move(entries);
        hashes_ = std::move(trimmedHashes);
    } else {
        entries_.append(std::move(entries));
        hashes_.append(std::move(trimmedHashes));
    }
    endInsertRows();
}

bool AddressListModel::containsTrimmed(const QString &trimmed) const
{
    const size_t h = qHash(trimmed);
    for (qsizetype i = 0; i < hashes_.size(); ++i)
        if (hashes_.at(i) == h && address::trimBlanks(entries_.at(i)) == trimmed)
            return true;
    return false;
}
