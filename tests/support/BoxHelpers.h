#pragma once
#include <QComboBox>
#include <QStringList>

// The texts of a box's list, in order.
inline QStringList boxEntries(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
