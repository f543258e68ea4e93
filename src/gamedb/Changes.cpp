#include "gamedb/Changes.h"

#include "gamedb/CodeTables.h"
#include "gamedb/TextField.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace gamedb {
namespace {

using Kind = RecordChange::Kind;

std::string_view fieldText(const std::uint8_t* record, const Field& f)
{
    return displayText(record + f.offset, f.width);
}

bool sameRecordShown(const std::uint8_t* a, const std::uint8_t* b, Schema schema)
{
    return std::all_of(schema.begin(), schema.end(), [&](const Field& f) { return sameShown(a, b, f); });
}

// Equal for records that show alike.
std::size_t shownHash(const std::uint8_t* record, Schema schema)
{
    std::size_t h = 1469598103934665603ull;
    auto mix = [&h](std::string_view bytes) {
        for (const char c : bytes) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ull;
        }
        h ^= 0xFF; // a separator, so "ab","c" and "a","bc" differ
        h *= 1099511628211ull;
    };
    for (const Field& f : schema) {
        if (f.encoding != Encoding::Text) {
            const long long v = readNumber(record, f);
            mix(std::string_view(reinterpret_cast<const char*>(&v), sizeof v));
            continue;
        }
        const int entry = f.codes ? matchCode(*f.codes, record, f) : -1;
        if (entry >= 0)
            mix(std::string_view(reinterpret_cast<const char*>(&entry), sizeof entry));
        else
            mix(fieldText(record, f));
    }
    return h;
}

struct Keyed {
    long long id;
    int number;
    bool operator<(const Keyed& o) const { return id != o.id ? id < o.id : number < o.number; }
};

std::vector<Keyed> keyed(const RecordTable& t, const Field& idField)
{
    std::vector<Keyed> out(static_cast<std::size_t>(t.count()));
    for (int i = 1; i <= t.count(); ++i)
        out[static_cast<std::size_t>(i - 1)] = {readNumber(t.record(i), idField), i};
    std::sort(out.begin(), out.end());
    return out;
}

class Matcher {
public:
    Matcher(const RecordTable& loaded, const RecordTable& now) : loaded_(loaded), now_(now) {}

    std::vector<RecordChange> run()
    {
        const Field& idField = idFieldOf(loaded_.format());
        if (!pairByPosition(idField))
            pairById(idField);
        std::sort(out_.begin(), out_.end(), [](const RecordChange& a, const RecordChange& b) {
            const bool aDeleted = a.kind == Kind::Deleted;
            const bool bDeleted = b.kind == Kind::Deleted;
            if (aDeleted != bDeleted)
                return bDeleted;
            return aDeleted ? a.loaded < b.loaded : a.now < b.now;
        });
        return std::move(out_);
    }

private:
    // The usual case, edits without New or Delete: the same IDs in the same places.
    bool pairByPosition(const Field& idField)
    {
        if (loaded_.count() != now_.count())
            return false;
        for (int i = 1; i <= now_.count(); ++i) {
            if (readNumber(loaded_.record(i), idField) != readNumber(now_.record(i), idField))
                return false;
        }
        for (int i = 1; i <= now_.count(); ++i)
            pair(i, i);
        return true;
    }

    void pairById(const Field& idField)
    {
        const std::vector<Keyed> a = keyed(loaded_, idField);
        const std::vector<Keyed> b = keyed(now_, idField);
        std::size_t i = 0, j = 0;
        while (i < a.size() || j < b.size()) {
            const long long id = j == b.size() || (i < a.size() && a[i].id < b[j].id) ? a[i].id : b[j].id;
            const std::size_t i0 = i, j0 = j;
            while (i < a.size() && a[i].id == id)
                ++i;
            while (j < b.size() && b[j].id == id)
                ++j;
            if (i - i0 == 1 && j - j0 == 1)
                pair(a[i0].number, b[j0].number);
            else
                pairGroup({a.data() + i0, i - i0}, {b.data() + j0, j - j0});
        }
    }

    // Records sharing one ID (or an ID on one side only): those that show alike pair first, so a
    // record that Delete moved is no change; the rest pair in record order.
    void pairGroup(std::span<const Keyed> a, std::span<const Keyed> b)
    {
        const Schema schema = loaded_.format().schema;
        std::vector<bool> aUsed(a.size()), bUsed(b.size());
        if (!a.empty() && !b.empty()) {
            std::unordered_multimap<std::size_t, std::size_t> byHash;
            for (std::size_t k = 0; k < a.size(); ++k)
                byHash.emplace(shownHash(loaded_.record(a[k].number), schema), k);
            for (std::size_t k = 0; k < b.size(); ++k) {
                const std::uint8_t* r = now_.record(b[k].number);
                auto [from, to] = byHash.equal_range(shownHash(r, schema));
                for (auto it = from; it != to; ++it) {
                    if (!aUsed[it->second] && sameRecordShown(loaded_.record(a[it->second].number), r, schema)) {
                        aUsed[it->second] = bUsed[k] = true;
                        byHash.erase(it);
                        break;
                    }
                }
            }
        }
        std::size_t k = 0, m = 0;
        for (;;) {
            while (k < a.size() && aUsed[k])
                ++k;
            while (m < b.size() && bUsed[m])
                ++m;
            if (k == a.size() || m == b.size())
                break;
            pair(a[k++].number, b[m++].number);
        }
        for (; k < a.size(); ++k) {
            if (!aUsed[k])
                out_.push_back({Kind::Deleted, a[k].number, 0, {}});
        }
        for (; m < b.size(); ++m) {
            if (!bUsed[m])
                out_.push_back({Kind::Added, 0, b[m].number, {}});
        }
    }

    void pair(int loaded, int now)
    {
        const std::uint8_t* a = loaded_.record(loaded);
        const std::uint8_t* b = now_.record(now);
        if (std::memcmp(a, b, loaded_.format().recordSize) == 0)
            return;
        RecordChange c{Kind::Changed, loaded, now, {}};
        for (const Field& f : loaded_.format().schema) {
            if (!sameShown(a, b, f))
                c.fields.push_back(&f);
        }
        if (!c.fields.empty())
            out_.push_back(std::move(c));
    }

    const RecordTable& loaded_;
    const RecordTable& now_;
    std::vector<RecordChange> out_;
};

} // namespace

const Field& idFieldOf(const DbFormat& format)
{
    return format.schema.front();
}

bool sameShown(const std::uint8_t* a, const std::uint8_t* b, const Field& field)
{
    if (field.encoding != Encoding::Text)
        return readNumber(a, field) == readNumber(b, field);
    if (field.codes) {
        const int entry = matchCode(*field.codes, a, field);
        if (entry != matchCode(*field.codes, b, field))
            return false;
        if (entry >= 0)
            return true;
    }
    return fieldText(a, field) == fieldText(b, field);
}

std::vector<RecordChange> changesBetween(const RecordTable& loaded, const RecordTable& now)
{
    return Matcher(loaded, now).run();
}

ChangeCount countOf(std::span<const RecordChange> changes)
{
    ChangeCount n;
    for (const RecordChange& c : changes) {
        switch (c.kind) {
        case Kind::Changed:
            ++n.changed;
            break;
        case Kind::Added:
            ++n.added;
            break;
        case Kind::Deleted:
            ++n.deleted;
            break;
        }
    }
    return n;
}

RevertResult revertChanges(RecordTable& table, const RecordTable& loaded, std::span<const RevertItem> items, int follow)
{
    RevertResult result;
    result.follow = follow;
    std::vector<int> added;
    std::vector<int> deleted;
    // Fields first, while every record still has the number the items name.
    for (const RevertItem& item : items) {
        switch (item.kind) {
        case Kind::Changed:
            if (item.field) {
                std::memcpy(table.record(item.now) + item.field->offset,
                            loaded.record(item.loaded) + item.field->offset, item.field->width);
            }
            break;
        case Kind::Added:
            added.push_back(item.now);
            break;
        case Kind::Deleted:
            deleted.push_back(item.loaded);
            break;
        }
    }
    // Highest first: removing a record moves the last one into its place, and the last one is
    // then never a record still to be removed.
    std::sort(added.begin(), added.end(), std::greater<>());
    added.erase(std::unique(added.begin(), added.end()), added.end());
    for (const int n : added) {
        if (result.follow == n)
            result.follow = 0;
        else if (result.follow == table.count())
            result.follow = n;
        table.remove(n);
    }
    std::sort(deleted.begin(), deleted.end());
    deleted.erase(std::unique(deleted.begin(), deleted.end()), deleted.end());
    const std::size_t size = table.format().recordSize;
    for (const int n : deleted) {
        if (table.full()) {
            ++result.refused;
            continue;
        }
        std::memcpy(table.record(table.append()), loaded.record(n), size);
    }
    return result;
}

} // namespace gamedb
