#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>

#include <algorithm>
#include <initializer_list>
#include <vector>

// Reading the fields of a record type by name ("cSize", "self.lMTime", "Size" ...), the way
// sort descriptors kept in the settings and filters address them. Each record type has one
// small table from field name to a typed getter and comparator; code that sorts or filters
// resolves the name once and then calls plain function pointers per record.
template <class Record>
struct FieldDef {
    const char* name;
    QVariant (*value)(const Record&);
    // Three-way comparison of the field of two records (<0, 0, >0).
    int (*compare)(const Record&, const Record&);
};

template <class Record>
class FieldTable {
public:
    FieldTable(std::initializer_list<FieldDef<Record>> fields) : fields_(fields) {}

    // The field of that name, or null. A leading "self." is ignored.
    const FieldDef<Record>* find(QStringView name) const
    {
        if (name.startsWith(u"self."))
            name = name.mid(5);
        for (const auto& field : fields_)
            if (name == QLatin1String(field.name))
                return &field;
        return nullptr;
    }

    // The field's value, or an invalid QVariant when there is no such field.
    QVariant value(const Record& record, QStringView name) const
    {
        const FieldDef<Record>* field = find(name);
        return field ? field->value(record) : QVariant();
    }

    const std::vector<FieldDef<Record>>& fields() const { return fields_; }

private:
    std::vector<FieldDef<Record>> fields_;
};

// A sort order on one field: the key (a field name) and the direction.
struct SortDescriptor {
    QString key;
    bool ascending = true;
    bool operator==(const SortDescriptor&) const = default;
};

// Three-way comparison helper for the field tables.
template <class T>
constexpr int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Sorts pointers to records by the descriptor's field, keeping the order of equal records.
// An unknown key leaves the list as it is; returns false then.
template <class Record>
bool sortByDescriptor(std::vector<Record*>& list, const SortDescriptor& descriptor,
                      const FieldTable<Record>& table)
{
    const FieldDef<Record>* field = table.find(descriptor.key);
    if (!field)
        return false;
    const auto compare = field->compare;
    if (descriptor.ascending)
        std::stable_sort(list.begin(), list.end(),
                         [compare](const Record* a, const Record* b) { return compare(*a, *b) < 0; });
    else
        std::stable_sort(list.begin(), list.end(),
                         [compare](const Record* a, const Record* b) { return compare(*a, *b) > 0; });
    return true;
}
