#pragma once
#include <QComboBox>
#include <QListWidget>
#include <QStringList>

// The texts of a box's list, in order.
inline QStringList boxEntries(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

// The lines of a list, in order.
inline QStringList boxEntries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}
