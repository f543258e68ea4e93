#include "editor/CsvMenu.h"

#include "editor/BusyCursor.h"
#include "editor/RecordPage.h"
#include "gamedb/Csv.h"
#include "gamedb/CsvFile.h"
#include "widgets/AppConfig.h"
#include "widgets/Guard.h"
#include "widgets/Prompts.h"

#include <QAction>
#include <QListView>

namespace editor {
namespace {

const QString kFilter = QStringLiteral("CSV files (*.csv);;All files (*)");

} // namespace

CsvMenu::CsvMenu(RecordPage* page, ToolContext ctx) : QObject(page), page_(page), ctx_(ctx)
{
    QListView* list = page->listView();
    ExportCsv = new QAction(QStringLiteral("Export to CSV\u2026"), list);
    ExportCsv->setObjectName(QStringLiteral("ExportCsv"));
    ImportCsv = new QAction(QStringLiteral("Import from CSV\u2026"), list);
    ImportCsv->setObjectName(QStringLiteral("ImportCsv"));
    list->addAction(ExportCsv);
    list->addAction(ImportCsv);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(ExportCsv, &QAction::triggered, this, &CsvMenu::exportClick);
    connect(ImportCsv, &QAction::triggered, this, &CsvMenu::importClick);
}

void CsvMenu::exportClick()
{
    guarded(ctx_.prompts, page_, [this] {
        // What the page shows but has not stored yet belongs in the file.
        if (!page_->storeShown())
            return;
        const auto& noun = page_->table().format().recordNoun;
        const QString suggested = QString::fromUtf8(noun.data(), static_cast<qsizetype>(noun.size())) + ".csv";
        const auto path = ctx_.prompts.askSaveFile(page_, QStringLiteral("Export to CSV"), suggested, kFilter);
        if (!path)
            return;
        BusyCursor busy;
        gamedb::writeCsvFile(ctx_.config.gameFolder(), *path, gamedb::exportCsv(page_->table()));
    });
}

void CsvMenu::importClick()
{
    guarded(ctx_.prompts, page_, [this] {
        const auto path = ctx_.prompts.askOpenFile(page_, QStringLiteral("Import from CSV"), kFilter);
        if (!path)
            return;
        BusyCursor busy;
        const std::string csv = gamedb::readCsvFile(*path);
        // The shown record's edits go into the table first, so the import builds on them.
        if (!page_->storeShown())
            return;
        gamedb::importCsv(page_->table(), csv); // on a refusal the table is as it was
        page_->tableChanged();
    });
}

QString csvFileFilter()
{
    return kFilter;
}

CsvMenu* attachCsvMenu(RecordPage* page, ToolContext ctx)
{
    return new CsvMenu(page, ctx);
}

} // namespace editor
