#include "browser/AddressListModel.h"

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
    endInsertRows();
    return true;
}

bool AddressListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row + count > entries_.size())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    entries_.remove(row, count);
    endRemoveRows();
    return true;
}

void AddressListModel::append(QStringList &&entries)
{
    if (entries.isEmpty())
        return;
    const int first = int(entries_.size());
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    if (entries_.isEmpty())
        entries_ = std::move(entries);
    else
        entries_.append(std::move(entries));
    endInsertRows();
}
