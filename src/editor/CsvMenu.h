#pragma once
// "Export to CSV…" and "Import from CSV…" in the context menu of a record page's list. Export
// writes the table as it stands in memory, unsaved edits included; import changes the in-memory
// table, all or nothing, and leaves saving to the user.

#include <QObject>

class Prompts;
class QAction;

namespace editor {

class RecordPage;

class CsvMenu : public QObject {
    Q_OBJECT
public:
    // Owned by the page.
    CsvMenu(RecordPage* page, Prompts& prompts);

    void exportClick();
    void importClick();

    QAction* ExportCsv;
    QAction* ImportCsv;

private:
    RecordPage* page_;
    Prompts& prompts_;
};

// The menu for page's list.
CsvMenu* attachCsvMenu(RecordPage* page, Prompts& prompts);

} // namespace editor
