#pragma once

#include <QHash>
#include <QObject>

namespace objectrecord {

namespace detail {

template <typename Record> QHash<const QObject *, Record> &recordTable()
{
    static QHash<const QObject *, Record> table;
    return table;
}

} // namespace detail

// What one piece of code keeps about a plot, or about an item of it, as a record of that piece's
// own type: the compiler sees every field, where a dynamic property would be a name in a string
// and a QVariant. The record is made on first use and dropped with its object, so
// that an object made later at the same address starts afresh. GUI thread only.
template <typename Record> Record &recordOf(const QObject *owner)
{
    auto &table = detail::recordTable<Record>();
    auto it = table.find(owner);
    if (it == table.end()) {
        QObject::connect(owner, &QObject::destroyed,
                         [](QObject *gone) { detail::recordTable<Record>().remove(gone); });
        it = table.insert(owner, Record());
    }
    return *it;
}

// The record of an object that has one, else nullptr; asking makes none.
template <typename Record> const Record *findRecord(const QObject *owner)
{
    const auto &table = detail::recordTable<Record>();
    const auto it = table.constFind(owner);
    return it == table.constEnd() ? nullptr : &*it;
}

} // namespace objectrecord
