#pragma once

#include "SourceStamp.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// What was made of files, kept until they change: a file is read and parsed again
// only when its stamp differs from the one it had when it was last read.
template<typename Value>
class FileCache
{
public:
    using Read = std::function<std::optional<QString>(const QString &path)>;
    using Parse = std::function<Value(QString text)>;

    // The value for the file as stamped, or null when it cannot be read.
    std::shared_ptr<const Value> get(const SourceStamp &stamp, const Read &read, const Parse &parse)
    {
        const auto known = m_entries.constFind(stamp.path);
        if (known != m_entries.cend() && known->stamp == stamp)
            return known->value;
        m_entries.remove(stamp.path);
        if (!stamp.exists())
            return nullptr;
        std::optional<QString> text = read(stamp.path);
        if (!text)
            return nullptr;
        auto value = std::make_shared<const Value>(parse(std::move(*text)));
        m_entries.insert(stamp.path, Entry{stamp, value});
        return value;
    }

private:
    struct Entry
    {
        SourceStamp stamp;
        std::shared_ptr<const Value> value;
    };
    QHash<QString, Entry> m_entries;
};
