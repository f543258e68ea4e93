#pragma once
// Small database files and a data editor opened on a temporary game folder, for window tests.

#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include "editor/ManagerPage.h"
#include "editor/TDataEditor.h"
#include "gamedb/DbFormat.h"
#include "widgets/AppConfig.h"

#include <QByteArray>
#include <QList>
#include <QListView>
#include <QTemporaryDir>

#include <memory>

namespace fixture {

struct Mgr {
    int id = 0;
    QByteArray first;
    QByteArray last;
    QByteArray forma; // raw field bytes (cut to 10)
    QByteArray style;
    int rep = 0;
    int play = 0;
};

QByteArray managerRecord(const Mgr& m);
// Four managers; sorted by last name the list reads Ahlberg (3), Borsk (1), Cantu (4), Dorm (2).
QList<Mgr> fourManagers();
// A manager text field as the page shows it (up to the first zero byte).
QByteArray managerText(const std::uint8_t* record, const char* field);

// A field of any format's record: a text (zero bytes to the field's width) or a number in the
// field's own encoding.
void setFieldText(QByteArray& record, const gamedb::DbFormat& f, const char* field, const QByteArray& text);
void setFieldNumber(QByteArray& record, const gamedb::DbFormat& f, const char* field, long long value);
// A record of the format whose list name is name (UK long name, or first and second name).
QByteArray namedRecord(const gamedb::DbFormat& f, int id, const QByteArray& first, const QByteArray& second = {});
// Header block (a pattern), count, carried word 0x11 0x22, cleared word 0x33 0x44, records.
QByteArray databaseFile(const gamedb::DbFormat& f, const QList<QByteArray>& records);

class Editor {
public:
    Editor();
    void write(const gamedb::DbFormat& f, const QList<QByteArray>& records);
    void writeManagers(const QList<Mgr>& managers);
    QString path(const gamedb::DbFormat& f) const;
    // Opens (and shows) the window; the folder's files decide its Load boxes.
    TDataEditor& open();
    // Ticks the boxes of the files present and presses Load.
    void load(bool managers = true, bool teams = false, bool players = false);
    void save(bool managers = true, bool teams = false, bool players = false);

    TDataEditor& ed() { return *ed_; }
    editor::ManagerPage& page() { return *ed_->Manager; }
    const std::uint8_t* record(int n) { return ed_->Manager->table().record(n); }

    // Visible names of a list, top to bottom.
    static QStringList names(QListView* list);
    static int recordAt(QListView* list, int row);
    static int rowOfRecord(QListView* list, int record);
    static void clickRow(QListView* list, int row);

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<AppConfig> config;

private:
    std::unique_ptr<TDataEditor> ed_;
};

} // namespace fixture

// --- team page --------------------------------------------------------------------------

namespace editor {
class TeamPage;
}

namespace fixture {

// A team record: ID and UK long name, every other byte zero until set.
QByteArray teamRecord(int id, const QByteArray& ukLong);
// Puts raw bytes at the start of a team field (the rest of the field as it was).
void setTeamBytes(QByteArray& record, const char* field, const QByteArray& raw);
// A text or code field: its text, then zero bytes to the field's width.
void setTeamText(QByteArray& record, const char* field, const QByteArray& text);
void setTeamNumber(QByteArray& record, const char* field, long long value);
void writeTeams(Editor& e, const QList<QByteArray>& records);
editor::TeamPage& teamPage(Editor& e);
const std::uint8_t* teamAt(Editor& e, int number);

} // namespace fixture

// --- player page ------------------------------------------------------------------------

namespace editor {
class PlayerPage;
}

namespace fixture {

// A player record: ID, first and second name, every other byte zero until set.
QByteArray playerRecord(int id, const QByteArray& first, const QByteArray& second);
// A text field: its text, then zero bytes to the field's width.
void setPlayerText(QByteArray& record, const char* field, const QByteArray& text);
// A number, position flag or rating, in the field's own encoding.
void setPlayerNumber(QByteArray& record, const char* field, long long value);
void writePlayers(Editor& e, const QList<QByteArray>& records);
editor::PlayerPage& playerPage(Editor& e);
const std::uint8_t* playerAt(Editor& e, int number);

} // namespace fixture
