#include "tools/RestoreWindow.h"

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"
#include "widgets/AppConfig.h"
#include "widgets/Guard.h"
#include "widgets/Prompts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace {

QString timeOf(const gamedb::Backups::Copy& c)
{
    QString text = c.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (c.number > 1)
        text += QStringLiteral(" (%1)").arg(c.number);
    return text;
}

} // namespace

RestoreWindow::RestoreWindow(ToolContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("RestoreWindow"));
    setWindowTitle(QStringLiteral("Restore a Backup"));

    FolderL = new QLabel(this);
    FolderL->setObjectName(QStringLiteral("FolderL"));
    FolderL->setWordWrap(true);
    FolderL->setTextInteractionFlags(Qt::TextSelectableByMouse);
    BackupList = new QTreeWidget(this);
    BackupList->setObjectName(QStringLiteral("BackupList"));
    BackupList->setAccessibleName(QStringLiteral("Backups"));
    BackupList->setRootIsDecorated(false);
    BackupList->setUniformRowHeights(true);
    BackupList->setAllColumnsShowFocus(true);
    BackupList->setHeaderLabels(
        {QStringLiteral("File"), QStringLiteral("Time"), QStringLiteral("Size"), QStringLiteral("Records")});
    BackupList->setColumnWidth(File, 110);
    BackupList->setColumnWidth(Time, 170);
    BackupList->setColumnWidth(Size, 90);
    StatusL = new QLabel(this);
    StatusL->setObjectName(QStringLiteral("StatusL"));
    StatusL->setWordWrap(true);
    RestoreB = new QPushButton(QStringLiteral("&Restore"), this);
    RestoreB->setObjectName(QStringLiteral("RestoreB"));
    RestoreB->setDefault(true);
    CloseB = new QPushButton(QStringLiteral("&Close"), this);
    CloseB->setObjectName(QStringLiteral("CloseB"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(StatusL, 1);
    buttons->addWidget(RestoreB);
    buttons->addWidget(CloseB);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FolderL);
    layout->addWidget(BackupList, 1);
    layout->addLayout(buttons);

    setFocusProxy(BackupList); // the keys choose a copy, Enter restores it

    connect(RestoreB, &QPushButton::clicked, this, &RestoreWindow::RestoreBClick);
    connect(CloseB, &QPushButton::clicked, this, [this] {
        // Inside the main frame its child window closes.
        (parentWidget() && !isWindow() ? parentWidget() : this)->close();
    });
    connect(BackupList, &QTreeWidget::itemActivated, this, &RestoreWindow::RestoreBClick);
    connect(BackupList, &QTreeWidget::currentItemChanged, this,
            [this] { RestoreB->setEnabled(BackupList->currentItem() != nullptr); });
    refresh();
}

void RestoreWindow::refresh()
{
    gamedb::Backups& backups = ctx_.config.backups();
    const QString folder = ctx_.config.gameFolder();
    FolderL->setText(QStringLiteral("Copies of the files in %1, kept in %2:")
                         .arg(QDir::toNativeSeparators(folder.isEmpty() ? QStringLiteral("/") : folder),
                              QDir::toNativeSeparators(backups.folderFor(folder))));
    copies_ = backups.list(folder);
    // Newest first; copies of the same second by their number, then by file.
    std::sort(copies_.begin(), copies_.end(), [](const gamedb::Backups::Copy& a, const gamedb::Backups::Copy& b) {
        return std::tie(b.time, b.number, a.file) < std::tie(a.time, a.number, b.file);
    });
    BackupList->clear();
    const QLocale locale;
    for (const gamedb::Backups::Copy& c : copies_) {
        QString records;
        try {
            const int n = gamedb::Backups::checkCopy(c);
            if (n >= 0)
                records = locale.toString(n);
        } catch (const std::exception&) {
            records = QStringLiteral("does not load");
        }
        auto* item = new QTreeWidgetItem(
            BackupList,
            {c.file, timeOf(c), locale.formattedDataSize(c.size, 1, QLocale::DataSizeTraditionalFormat), records});
        item->setTextAlignment(Size, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(Records, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (!copies_.empty())
        BackupList->setCurrentItem(BackupList->topLevelItem(0));
    RestoreB->setEnabled(!copies_.empty());
    if (copies_.empty())
        StatusL->setText(QStringLiteral("No copies have been kept of this game folder's files yet."));
}

void RestoreWindow::RestoreBClick()
{
    guarded(ctx_.prompts, this, [this] {
        const int row = BackupList->indexOfTopLevelItem(BackupList->currentItem());
        if (row < 0 || row >= static_cast<int>(copies_.size()))
            return;
        const gamedb::Backups::Copy copy = copies_[static_cast<std::size_t>(row)];
        const QString question = QStringLiteral("Replace %1 with the copy from %2?").arg(copy.file, timeOf(copy));
        if (ctx_.prompts.confirm(this, question) != Prompts::Answer::Yes)
            return;
        const QString folder = ctx_.config.gameFolder();
        try {
            ctx_.config.backups().restore(folder, copy);
        } catch (...) {
            refresh();
            throw;
        }
        refresh();
        StatusL->setText(QStringLiteral("%1 is back as it was at %2. What it replaced is the newest copy.")
                             .arg(copy.file, timeOf(copy)));
    });
}
