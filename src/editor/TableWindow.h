#pragma once
// Every record of a data editor's table at a glance: "Players — Table". A row per record, the
// record number and then a column per field, headed by the page's captions, with a filter box
// under each header; a click on a header sorts, again the other way. Cells are edited in place
// with the page's own rules. The window works on the page's table itself and closes with its
// data editor.

#include "widgets/ToolContext.h"

#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QTableView;

namespace editor {

class FilterHeader;
class RecordPage;
class RecordTableModel;

class TableWindow : public QWidget {
    Q_OBJECT
public:
    // title: the page's name, "Players".
    TableWindow(RecordPage& page, ToolContext ctx, const QString& title, QWidget* parent = nullptr);

    // F5: the filters and the sort applied again.
    void refresh();
    // Ctrl+Enter, a double-click on the record number, "Show on the Page".
    void showOnPageClick();
    void exportRowsClick();

    QSize sizeHint() const override { return {760, 440}; }
    RecordTableModel* model() const { return model_; }
    QLineEdit* filterBox(int column) const;

    QTableView* TableView;
    FilterHeader* TableHeader;
    QLabel* TableCount;
    QAction* ShowOnPage;
    QAction* ExportRows;

signals:
    // The data editor's page should show record number.
    void showRecord(int number);

private:
    void filterEdited(int column, const QString& text);
    void showCounts();
    void sizeColumns();

    RecordPage& page_;
    ToolContext ctx_;
    RecordTableModel* model_;
};

// "Browse in a Table…" in the context menu of page's list, and Ctrl+B anywhere on the page.
QAction* attachBrowseAction(RecordPage* page);

} // namespace editor
