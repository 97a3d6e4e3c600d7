#include "browser/AddressListModel.h"

#include "browser/AddressRules.h"
#include "browser/VisitedLog.h"

#include <algorithm>

namespace {

size_t trimmedHash(const QString &entry) { return qHash(address::trimBlanks(entry)); }

// `front` followed by `back`. When `back` has room for `front` (a log read at start is
// given some), the long list stays in its block: a copy would be paid in fresh pages,
// each one slow to get.
template <typename T>
QList<T> joined(QList<T> &&front, QList<T> &&back)
{
    const qsizetype n = front.size();
    const qsizetype m = back.size();
    if (n == 0)
        return std::move(back);
    if (back.capacity() - m < n || !back.isDetached()) {
        front.append(std::move(back));
        return std::move(front);
    }
    back.resize(m + n);
    std::move_backward(back.begin(), back.begin() + m, back.end());
    std::move(front.begin(), front.end(), back.begin());
    return std::move(back);
}

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
    // A full list takes no more entries, whoever adds them (a page navigating itself on).
    if (parent.isValid() || count < 1 || row < 0 || row > entries_.size()
        || count > visitedlog::kMaxListEntries - entries_.size())
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
    const qsizetype room = std::max<qsizetype>(visitedlog::kMaxListEntries - entries_.size(), 0);
    if (entries.size() > room)
        entries.resize(room);
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
    entries_ = joined(std::move(entries_), std::move(entries));
    hashes_ = joined(std::move(hashes_), std::move(trimmedHashes));
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
