#pragma once
// What a data editor's save would write, line by line: one line per changed field (database,
// record, field, the old and the new value as the page shows them), one per added or deleted
// record. Lines sort by any column and filter by database and record; the selected ones, or all,
// can be taken back.

#include <QWidget>

#include <vector>

class Prompts;
class QAbstractItemModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace editor {

class LoadedTables;
class ChangesModel;
class ChangesFilter;

class ChangesWindow : public QWidget {
    Q_OBJECT
public:
    enum Column { Database, Record, Id, Field, Old, New, Columns };

    ChangesWindow(LoadedTables& tables, Prompts& prompts, QWidget* parent = nullptr);
    ~ChangesWindow() override;

    // The lines as the tables now are; run whenever a table changes.
    void refresh();
    void RevertClick();
    void RevertAllClick();
    // Room for the six columns of a line.
    QSize sizeHint() const override { return {700, 360}; }

    // The shown lines, after the filters and in the shown order.
    QAbstractItemModel* lines() const;

    QComboBox* ChDb;     // all databases, or one
    QLineEdit* ChRecord; // a part of the record's name, or its ID
    QTreeView* ChList;
    QLabel* ChCount;
    QPushButton* ChRevert;
    QPushButton* ChRevertAll;
    QPushButton* ChClose;

signals:
    // A line was double-clicked: the page of table should show record number.
    void showRecord(int table, int number);

private:
    void filterChanged();
    void updateButtons();
    // The loaded tables the database filter chooses.
    std::vector<int> chosenTables() const;

    LoadedTables& tables_;
    Prompts& prompts_;
    ChangesModel* model_;
    ChangesFilter* filter_;
};

} // namespace editor
