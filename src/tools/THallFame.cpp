#include "tools/THallFame.h"

#include "gamedb/FixedFile.h"
#include "gamedb/HallOfFame.h"
#include "widgets/AppConfig.h"
#include "widgets/Guard.h"
#include "widgets/KeyFilter.h"
#include "widgets/Prompts.h"

#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>

namespace {

const QString kFileName = QStringLiteral("Hiscores.bin");

static_assert(THallFame::kRows == gamedb::kHallOfFameRows);

enum Column { ManagerCol, TeamCol, PointsCol };

// Points are a signed 32-bit decimal number; anything else stops the save before a byte is written.
std::int32_t parsePoints(const QString& text)
{
    // Anchored at both ends of the text: '$' alone would let a final line feed through.
    static const QRegularExpression decimal(QRegularExpression::anchoredPattern(QStringLiteral("[+-]?[0-9]+")));
    bool ok = false;
    const qlonglong v = decimal.match(text).hasMatch() ? text.toLongLong(&ok, 10) : 0;
    if (!ok || v < INT32_MIN || v > INT32_MAX)
        throw gamedb::GameError("'" + text.toStdString() + "' is not a valid integer value");
    return static_cast<std::int32_t>(v);
}

QLineEdit* nameBox(QWidget* parent, const char* name, const QString& accessible)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessible);
    return box;
}

} // namespace

THallFame::THallFame(ToolContext ctx, QWidget* parent) : ToolWindow(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("HallFame"));
    setWindowTitle(QStringLiteral("KRVX Hall of Fame Editor"));
    setFixedSize(383, 260);

    Manag = new QTableWidget(kRows, 3, this);
    Manag->setObjectName(QStringLiteral("Manag"));
    Manag->setAccessibleName(QStringLiteral("Hall of Fame"));
    Manag->setGeometry(8, 8, 367, 186);
    Manag->setHorizontalHeaderLabels({QStringLiteral("Manager"), QStringLiteral("Team"), QStringLiteral("Points")});
    Manag->verticalHeader()->hide();
    Manag->verticalHeader()->setMinimumSectionSize(15);
    Manag->verticalHeader()->setDefaultSectionSize(15);
    Manag->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Manag->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Manag->horizontalHeader()->setHighlightSections(false);
    Manag->setColumnWidth(ManagerCol, 133);
    Manag->setColumnWidth(TeamCol, 144);
    Manag->setColumnWidth(PointsCol, 70);
    Manag->setSelectionBehavior(QAbstractItemView::SelectRows);
    Manag->setSelectionMode(QAbstractItemView::SingleSelection);
    Manag->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Manag->setWordWrap(false);
    Manag->setTabKeyNavigation(false);
    QFont cellFont = Manag->font();
    cellFont.setPixelSize(11); // fits the 15-pixel rows
    Manag->setFont(cellFont);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            Manag->setItem(r, c, item);
        }
    }

    Manager = nameBox(this, "Manager", QStringLiteral("Manager"));
    Manager->setGeometry(8, 200, 134, 21);
    Team = nameBox(this, "Team", QStringLiteral("Team"));
    Team->setGeometry(143, 200, 145, 21);
    Points = nameBox(this, "Points", QStringLiteral("Points"));
    Points->setGeometry(289, 200, 71, 21);
    // A field holds 80 bytes; the box never takes more, typed or pasted.
    for (QLineEdit* box : {Manager, Team}) {
        box->setMaxLength(static_cast<int>(gamedb::kNameWidth));
        restrictToGameText(box);
    }
    installKeyRule(Points, KeyRule{-1, kDigits}); // PointsKeyPress

    Button1 = new QPushButton(QStringLiteral("Save Changes"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(100, 229, 90, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(196, 229, 90, 25);
    Button2->setAutoDefault(true);

    connect(Manag, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0)
            ManagSelectCell(row);
    });
    for (QLineEdit* box : {Manager, Team, Points}) {
        box->installEventFilter(this);
        // Edits without a key (a paste from the context menu) reach the grid as well.
        connect(box, &QLineEdit::textEdited, this, [this, box] {
            copyToCell(box, box == Manager ? ManagerCol : box == Team ? TeamCol : PointsCol);
        });
    }
    connect(Button1, &QPushButton::clicked, this, &THallFame::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &THallFame::Button2Click);

    setFocusProxy(Manag);
    FormShow();
}

void THallFame::FormShow()
{
    modified_ = false;
    loaded_ = LoadedFile(ctx_.config.gameFile(kFileName));
    Manag->setHorizontalHeaderLabels({QStringLiteral("Manager"), QStringLiteral("Team"), QStringLiteral("Points")});
    if (!ctx_.config.gameFileExists(kFileName)) {
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < 3; ++c)
                Manag->item(r, c)->setText(QString());
        }
    } else {
        const gamedb::HallOfFame entries =
            gamedb::decodeHallOfFame(gamedb::readFixedFile(ctx_.config.gameFile(kFileName), gamedb::kHallOfFameSize));
        for (int r = 0; r < kRows; ++r) {
            const gamedb::HallOfFameEntry& entry = entries[static_cast<std::size_t>(r)];
            Manag->item(r, ManagerCol)->setText(entry.manager);
            Manag->item(r, TeamCol)->setText(entry.team);
            Manag->item(r, PointsCol)->setText(QString::number(entry.points));
        }
    }
    Manag->setCurrentCell(0, 0);
    ManagSelectCell(0);
}

void THallFame::ManagSelectCell(int row)
{
    Manager->setText(Manag->item(row, ManagerCol)->text());
    Team->setText(Manag->item(row, TeamCol)->text());
    Points->setText(Manag->item(row, PointsCol)->text());
    // A long name shows its beginning.
    for (QLineEdit* box : {Manager, Team, Points})
        box->setCursorPosition(0);
}

void THallFame::copyToCell(QLineEdit* box, int column)
{
    const int row = Manag->currentRow();
    if (row >= 0)
        Manag->item(row, column)->setText(box->text());
    modified_ = true;
}

void THallFame::ManagerKeyUp()
{
    copyToCell(Manager, ManagerCol);
}

void THallFame::TeamKeyUp()
{
    copyToCell(Team, TeamCol);
}

void THallFame::PointsKeyUp()
{
    copyToCell(Points, PointsCol);
}

bool THallFame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        if (watched == Manager)
            ManagerKeyUp();
        else if (watched == Team)
            TeamKeyUp();
        else if (watched == Points)
            PointsKeyUp();
    }
    return QWidget::eventFilter(watched, event);
}

bool THallFame::save()
{
    bool written = false;
    const bool ok = guarded(ctx_.prompts, this, [&] {
        gamedb::HallOfFame entries;
        for (int r = 0; r < kRows; ++r) {
            entries[static_cast<std::size_t>(r)] = {Manag->item(r, ManagerCol)->text(), Manag->item(r, TeamCol)->text(),
                                                    parsePoints(Manag->item(r, PointsCol)->text())};
        }
        const gamedb::Bytes data = gamedb::encodeHallOfFame(entries);
        const gamedb::FolderLock lock(ctx_.config.gameFolder());
        const QString path = ctx_.config.gameFile(kFileName);
        if (!loaded_.readyToReplace(ctx_, this, path))
            return;
        gamedb::writeGameFile(path, data);
        loaded_.wrote(data);
        saved_ = written = true;
    });
    return ok && written;
}

void THallFame::Button1Click()
{
    if (save())
        closeWindow();
}

void THallFame::Button2Click()
{
    closeWindow();
}

bool THallFame::FormClose()
{
    if (saved_ || !modified_)
        return true;
    // Only No discards; a question dismissed by Escape or its close box saves.
    if (ctx_.prompts.confirm(this, QStringLiteral("Save Changes?")) == Prompts::Answer::No)
        return true;
    return save();
}
