// What changed since the load: records matched by ID (by position among repeated IDs), a Delete
// read as one deletion, tidied bytes as no change; reverts put back exactly the loaded bytes.
#include "gamedb/Changes.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"

#include <QtTest>

#include <functional>

using namespace gamedb;
using Kind = RecordChange::Kind;

namespace {

std::vector<std::uint8_t> managerRecord(long long id, std::string_view first, std::string_view last)
{
    std::vector<std::uint8_t> r(kManagerFormat.recordSize, 0);
    writeNumber(r.data(), fieldNamed(kManagerFormat.schema, "MaID"), id);
    writeText(r.data(), fieldNamed(kManagerFormat.schema, "MaForN"), first);
    writeText(r.data(), fieldNamed(kManagerFormat.schema, "MaEft"), last);
    return r;
}

RecordTable tableOf(const DbFormat& f, const std::vector<std::vector<std::uint8_t>>& records)
{
    std::vector<std::uint8_t> bytes;
    for (const auto& r : records)
        bytes.insert(bytes.end(), r.begin(), r.end());
    RecordTable t(f);
    t.assign(bytes.data(), static_cast<int>(records.size()));
    return t;
}

// IDs 0, 1, 3, 5.
RecordTable fourManagers()
{
    return tableOf(kManagerFormat, {managerRecord(0, "Erik", "Borsk"), managerRecord(1, "Anna", "Dorm"),
                                    managerRecord(3, "Ola", "Ahlberg"), managerRecord(5, "Kari", "Cantu")});
}

// "changed 2>4 MaForN MaEft", "added 5", "deleted 2"
QStringList describe(const std::vector<RecordChange>& changes)
{
    QStringList out;
    for (const RecordChange& c : changes) {
        switch (c.kind) {
        case Kind::Changed: {
            QString line = QStringLiteral("changed %1>%2").arg(c.loaded).arg(c.now);
            for (const Field* f : c.fields)
                line += QLatin1Char(' ') + QString::fromLatin1(f->control.data(), qsizetype(f->control.size()));
            out << line;
            break;
        }
        case Kind::Added:
            out << QStringLiteral("added %1").arg(c.now);
            break;
        case Kind::Deleted:
            out << QStringLiteral("deleted %1").arg(c.loaded);
            break;
        }
    }
    return out;
}

std::uint8_t* at(RecordTable& t, int n, const char* field)
{
    return t.record(n) + fieldNamed(t.format().schema, field).offset;
}

// New as the page does it: the smallest free ID on an all-zero record at the end.
int newRecord(RecordTable& t)
{
    const Field& id = idFieldOf(t.format());
    const long long free = t.smallestFreeValue(id);
    const int n = t.append();
    writeNumber(t.record(n), id, free);
    return n;
}

using Edit = std::function<void(RecordTable&)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestChanges : public QObject {
    Q_OBJECT
private slots:
    void matching_data();
    void matching();
    void tidiedBytesAreNoChange_data();
    void tidiedBytesAreNoChange();
    void revertFieldsAddedAndDeleted();
    void revertFollowsTheShownRecord();
    void deletedRecordRefusedWhenFull();
    void countOfChanges();
};

void TestChanges::matching_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("untouched") << Edit([](RecordTable&) {}) << QStringList();
    QTest::newRow("one field") << Edit([](RecordTable& t) {
        writeText(t.record(2), fieldNamed(kManagerFormat.schema, "MaForN"), "Anne");
    }) << QStringList{"changed 2>2 MaForN"};
    // Record 4 moves into the freed place: one deletion, not two changed records.
    QTest::newRow("Delete in the middle") << Edit([](RecordTable& t) { t.remove(2); }) << QStringList{"deleted 2"};
    QTest::newRow("Delete of the last") << Edit([](RecordTable& t) { t.remove(4); }) << QStringList{"deleted 4"};
    QTest::newRow("New") << Edit([](RecordTable& t) { newRecord(t); }) << QStringList{"added 5"};
    // ID 1 freed by Delete and given again by New: the same record, changed.
    QTest::newRow("ID freed and given again") << Edit([](RecordTable& t) {
        t.remove(2);
        QCOMPARE(readNumber(t.record(newRecord(t)), idFieldOf(kManagerFormat)), 1LL);
    }) << QStringList{"changed 2>4 MaForN MaEft"};
    QTest::newRow("Delete, then an edit of the moved record") << Edit([](RecordTable& t) {
        t.remove(1);
        writeNumber(t.record(1), fieldNamed(kManagerFormat.schema, "MaRep"), 150);
    }) << QStringList{"changed 4>1 MaRep", "deleted 1"};
    // An import that changes an ID: another record.
    QTest::newRow("ID changed") << Edit([](RecordTable& t) { writeNumber(t.record(3), idFieldOf(kManagerFormat), 9); })
                                << QStringList{"added 3", "deleted 3"};
}

void TestChanges::matching()
{
    QFETCH(Edit, edit);
    QFETCH(QStringList, expected);
    const RecordTable loaded = fourManagers();
    RecordTable now = loaded;
    edit(now);
    QCOMPARE(describe(changesBetween(loaded, now)), expected);
}

void TestChanges::tidiedBytesAreNoChange_data()
{
    QTest::addColumn<const DbFormat*>("format");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("loaded");
    QTest::addColumn<QByteArray>("tidied");
    QTest::newRow("zero fill after a text")
        << &kManagerFormat << QByteArray("MaForN") << QByteArray("Ann\0xyz", 7) << QByteArray("Ann\0\0\0\0", 7);
    QTest::newRow("position 7 written as 2")
        << &kPlayerFormat << QByteArray("PlGK") << QByteArray("\x07", 1) << QByteArray("\x02", 1);
    QTest::newRow("a septet's other spelling")
        << &kTeamFormat << QByteArray("TeCap") << QByteArray("\x00\x00\x00\x85", 4)
        << QByteArray("\x00\x00\x01\x05", 4);
    QTest::newRow("bytes after a known code")
        << &kTeamFormat << QByteArray("TeStyle") << QByteArray("LONG\0\x01", 6) << QByteArray("LONG\0\0", 6);
}

// Repeated IDs too: the records match among themselves, and a record that shows the same is none.
void TestChanges::tidiedBytesAreNoChange()
{
    QFETCH(const DbFormat*, format);
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, loaded);
    QFETCH(QByteArray, tidied);
    std::vector<std::uint8_t> r(format->recordSize, 0);
    const Field& f = fieldNamed(format->schema, field.toStdString());
    std::memcpy(r.data() + f.offset, loaded.constData(), std::size_t(loaded.size()));
    const RecordTable before = tableOf(*format, {r, r, r});
    RecordTable after = before;
    std::memcpy(after.record(2) + f.offset, tidied.constData(), std::size_t(tidied.size()));
    QVERIFY(before.bytes() != after.bytes());
    QCOMPARE(describe(changesBetween(before, after)), QStringList());
    // A shown difference in the same field is one, matched by position among the equal IDs.
    after.record(2)[f.offset] = loaded.at(0) == 0 ? 1 : 0;
    QCOMPARE(describe(changesBetween(before, after)), QStringList{"changed 2>2 " + QString::fromLatin1(field)});
}

void TestChanges::revertFieldsAddedAndDeleted()
{
    RecordTable loaded = fourManagers();
    std::memcpy(at(loaded, 1, "MaForN"), "Erik\0junk", 9); // a field whose loaded bytes are untidy
    RecordTable now = loaded;
    writeText(now.record(1), fieldNamed(kManagerFormat.schema, "MaForN"), "Eric");
    writeText(now.record(1), fieldNamed(kManagerFormat.schema, "MaEft"), "Borg");
    now.remove(2);                // ID 1 goes, ID 5 moves to 2
    const int a = newRecord(now); // ID 1 again: a changed record
    const int b = newRecord(now); // ID 2: added
    (void)a;
    auto changes = changesBetween(loaded, now);
    QCOMPARE(describe(changes), (QStringList{"changed 1>1 MaForN MaEft", "changed 2>4 MaForN MaEft", "added 5"}));

    // The first name of record 1 and the added record.
    const RevertItem items[] = {{Kind::Changed, 1, 1, &fieldNamed(kManagerFormat.schema, "MaForN")},
                                {Kind::Added, 0, b, nullptr}};
    revertChanges(now, loaded, items);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(at(now, 1, "MaForN")), 9), QByteArray("Erik\0junk", 9));
    QCOMPARE(now.count(), 4);
    QCOMPARE(describe(changesBetween(loaded, now)), (QStringList{"changed 1>1 MaEft", "changed 2>4 MaForN MaEft"}));

    // A deleted record comes back at the end with its loaded bytes.
    RecordTable deleted = loaded;
    deleted.remove(3);
    const RevertItem back[] = {{Kind::Deleted, 3, 0, nullptr}};
    revertChanges(deleted, loaded, back);
    QCOMPARE(deleted.count(), 4);
    QCOMPARE(std::memcmp(deleted.record(4), loaded.record(3), kManagerFormat.recordSize), 0);
    QCOMPARE(describe(changesBetween(loaded, deleted)), QStringList());
}

// Several added records go highest first, each as Delete removes it; the shown record is followed.
void TestChanges::revertFollowsTheShownRecord()
{
    const RecordTable loaded = fourManagers();
    RecordTable now = loaded;
    const int a = newRecord(now); // 5
    const int b = newRecord(now); // 6
    writeText(now.record(b), fieldNamed(kManagerFormat.schema, "MaEft"), "Keeper");
    const int c = newRecord(now); // 7
    writeText(now.record(c), fieldNamed(kManagerFormat.schema, "MaEft"), "Kept");
    now.remove(1); // record 7 moves to 1
    QCOMPARE(describe(changesBetween(loaded, now)), (QStringList{"added 1", "added 5", "added 6", "deleted 1"}));
    const RevertItem items[] = {{Kind::Added, 0, a, nullptr}, {Kind::Added, 0, 1, nullptr}};
    const RevertResult r = revertChanges(now, loaded, items, b);
    QCOMPARE(now.count(), 4);
    QCOMPARE(r.follow, 1); // record 6 ("Keeper") was the last and moved into 1
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(at(now, r.follow, "MaEft"))), QByteArray("Keeper"));
    QCOMPARE(revertChanges(now, loaded, std::span<const RevertItem>(), 0).follow, 0);
}

void TestChanges::deletedRecordRefusedWhenFull()
{
    std::vector<std::vector<std::uint8_t>> records;
    for (int i = 0; i < kManagerFormat.capacity; ++i)
        records.push_back(managerRecord(i, "A", "B"));
    const RecordTable loaded = tableOf(kManagerFormat, records);
    RecordTable now = loaded;
    now.remove(10);
    newRecord(now); // ID 9 again, now full
    QVERIFY(now.full());
    now.remove(20); // ID 19 deleted
    newRecord(now); // ID 19 again
    QVERIFY(now.full());
    now.remove(30);
    const int added = newRecord(now);
    writeNumber(now.record(added), idFieldOf(kManagerFormat), 5000); // an added record, ID 5000
    const auto changes = changesBetween(loaded, now);
    QCOMPARE(countOf(changes).deleted, 1);
    QCOMPARE(countOf(changes).added, 1);
    const RevertItem back[] = {{Kind::Deleted, 30, 0, nullptr}};
    QCOMPARE(revertChanges(now, loaded, back).refused, 1);
    QVERIFY(now.full());
    // Removing the added record first makes the room.
    const RevertItem both[] = {{Kind::Deleted, 30, 0, nullptr}, {Kind::Added, 0, added, nullptr}};
    QCOMPARE(revertChanges(now, loaded, both).refused, 0);
    QCOMPARE(countOf(changesBetween(loaded, now)).deleted, 0);
    QCOMPARE(countOf(changesBetween(loaded, now)).added, 0);
}

void TestChanges::countOfChanges()
{
    const RecordTable loaded = fourManagers();
    RecordTable now = loaded;
    writeText(now.record(1), fieldNamed(kManagerFormat.schema, "MaForN"), "X");
    writeText(now.record(1), fieldNamed(kManagerFormat.schema, "MaEft"), "Y");
    writeText(now.record(3), fieldNamed(kManagerFormat.schema, "MaEft"), "Z");
    now.remove(2);
    newRecord(now); // ID 1 again: changed
    newRecord(now); // ID 2: added
    const ChangeCount n = countOf(changesBetween(loaded, now));
    QCOMPARE(n.changed, 3);
    QCOMPARE(n.added, 1);
    QCOMPARE(n.deleted, 0);
    QVERIFY(!n.none());
    QVERIFY(countOf(changesBetween(loaded, loaded)).none());
}

QTEST_GUILESS_MAIN(TestChanges)
#include "tst_changes.moc"
