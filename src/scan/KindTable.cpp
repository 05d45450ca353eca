#include "scan/KindTable.h"

#include <QHash>

#include <atomic>
#include <memory>
#include <mutex>

namespace {

constexpr std::size_t kCapacity = 65536;

struct Table {
    std::mutex mutex;
    QHash<QString, KindTable::Id> ids;
    std::unique_ptr<std::atomic<const QString*>[]> texts{new std::atomic<const QString*>[kCapacity]};
    std::size_t count = 0;

    Table()
    {
        for (std::size_t i = 0; i < kCapacity; ++i)
            texts[i].store(nullptr, std::memory_order_relaxed);
        add(QString());
        add(QStringLiteral("File Folder"));
        add(QStringLiteral("Unknown File Type"));
    }

    KindTable::Id add(const QString& text)
    {
        const auto id = KindTable::Id(count++);
        texts[id].store(new QString(text), std::memory_order_release);
        ids.insert(text, id);
        return id;
    }
};

Table& table()
{
    static Table* instance = new Table; // lives for the whole process, by design
    return *instance;
}

const QString kEmpty;

} // namespace

namespace KindTable {

Id intern(const QString& text)
{
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (auto it = t.ids.constFind(text); it != t.ids.constEnd())
        return it.value();
    if (t.count >= kCapacity)
        return KindTable::kUnknownFileType;
    return t.add(text);
}

const QString& text(Id id)
{
    const QString* s = table().texts[id].load(std::memory_order_acquire);
    return s ? *s : kEmpty;
}

} // namespace KindTable
