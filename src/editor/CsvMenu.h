#pragma once
// "Export to CSV…" and "Import from CSV…" in the context menu of a record page's list. Export
// writes the table as it stands in memory, unsaved edits included; import changes the in-memory
// table, all or nothing, and leaves saving to the user.

#include <QObject>

#include "widgets/ToolContext.h"

class QAction;

namespace editor {

class RecordPage;

class CsvMenu : public QObject {
    Q_OBJECT
public:
    // Owned by the page.
    CsvMenu(RecordPage* page, ToolContext ctx);

    void exportClick();
    void importClick();

    QAction* ExportCsv;
    QAction* ImportCsv;

private:
    RecordPage* page_;
    ToolContext ctx_;
};

// The menu for page's list.
CsvMenu* attachCsvMenu(RecordPage* page, ToolContext ctx);

// What the file dialogs of every CSV export and import offer.
QString csvFileFilter();

} // namespace editor
