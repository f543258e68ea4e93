#pragma once
// File > Restore a Backup…: the copies kept of the current game folder's files (file, time,
// size, and for a database its record count), newest first; the chosen one replaces its game
// file after a question, and what it replaces is kept as a copy too, so a restore can be undone.

#include "gamedb/Backups.h"
#include "widgets/ToolContext.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

class RestoreWindow : public QWidget {
    Q_OBJECT
public:
    enum Column { File, Time, Size, Records, Columns };

    explicit RestoreWindow(ToolContext ctx, QWidget* parent = nullptr);

    // Lists the copies as they are now.
    void refresh();
    void RestoreBClick();
    QSize sizeHint() const override { return {560, 320}; }

    QLabel* FolderL; // where the copies are kept
    QTreeWidget* BackupList;
    QLabel* StatusL;
    QPushButton* RestoreB;
    QPushButton* CloseB;

private:
    ToolContext ctx_;
    std::vector<gamedb::Backups::Copy> copies_; // by row
};
