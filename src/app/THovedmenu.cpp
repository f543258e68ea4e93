#include "app/THovedmenu.h"

#include "app/BannerArt.h"
#include "app/TGXFolder.h"
#include "editor/TDataEditor.h"
#include "tools/RestoreWindow.h"
#include "tools/THallFame.h"
#include "tools/TSaveGame.h"
#include "widgets/AppConfig.h"
#include "widgets/Guard.h"
#include "widgets/Prompts.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

QLabel* bannerLine(QWidget* parent, const QString& text, int pixelSize, bool bold, const QColor& colour)
{
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    // Centred also vertically: where the 105-pixel banner squeezes a line below its full height
    // (fonts with tall ascents), only empty space above and below the letters is cut.
    label->setAlignment(Qt::AlignCenter);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

} // namespace

THovedmenu::THovedmenu(AppConfig& config, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), config_(config), prompts_(prompts), area_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("Hovedmenu"));
    setWindowTitle(QStringLiteral("Korvex"));
    setMinimumSize(520, 575);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildBanner();
    layout->addWidget(Panel1);
    area_->setObjectName(QStringLiteral("ClientArea"));
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(area_, 1);
    setCentralWidget(central);
    buildMenu();
}

void THovedmenu::buildBanner()
{
    const QColor teal(0, 128, 128);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setFixedHeight(105);
    Panel1->setFocusPolicy(Qt::NoFocus);
    Panel1->setAccessibleName(QStringLiteral("Korvex 1.01"));

    Label1 = bannerLine(Panel1, QStringLiteral("Korvex 1.01"), 27, true, teal);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto* credit1 = bannerLine(Panel1, QStringLiteral("An editor for the game's data files"), 11, false, Qt::black);
    credit1->setObjectName(QStringLiteral("Label2"));
    // In the title's own font; short enough to fit beside the pictures at the frame's smallest width.
    auto* credit2 = bannerLine(Panel1, QStringLiteral("Korvex project"), 27, true, teal);
    credit2->setObjectName(QStringLiteral("Label3"));
    auto* credit3 = bannerLine(Panel1, QStringLiteral("Free to use, share and improve"), 11, false, Qt::black);
    credit3->setObjectName(QStringLiteral("Label4"));

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(90, 75);
    Image1->setPixmap(drawBall(Image1->size()));
    Image1->setAccessibleName(QStringLiteral("Ball"));
    Image2 = new QLabel(Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setFixedSize(82, 75);
    Image2->setPixmap(drawTrophy(Image2->size()));
    Image2->setAccessibleName(QStringLiteral("Trophy"));

    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(2, 1, 2, 1);
    row->addWidget(Image1, 0, Qt::AlignBottom);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(0);
    lines->addWidget(Label1);
    lines->addWidget(credit1);
    lines->addWidget(credit2);
    lines->addStretch(1);
    lines->addWidget(credit3);
    row->addLayout(lines, 1);
    row->addWidget(Image2, 0, Qt::AlignBottom);
}

void THovedmenu::buildMenu()
{
    auto named = [](QAction* a, const char* name) {
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    GXFolder1 = named(File1->addAction(QStringLiteral("&GX Folder")), "GXFolder1");
    RestoreBackup1 = named(File1->addAction(QStringLiteral("&Restore a Backup\u2026")), "RestoreBackup1");
    N1 = named(File1->addSeparator(), "N1");
    Exit1 = named(File1->addAction(QStringLiteral("&Exit")), "Exit1");

    Edit1 = bar->addMenu(QStringLiteral("&Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    RenameSavedGames1 = named(Edit1->addAction(QStringLiteral("&Rename Saved Games")), "RenameSavedGames1");
    EditHiscores1 = named(Edit1->addAction(QStringLiteral("&Hall of Fame Editor")), "EditHiscores1");
    DataEditor1 = named(Edit1->addAction(QStringLiteral("&Data Editor")), "DataEditor1");

    connect(GXFolder1, &QAction::triggered, this, &THovedmenu::GXFolder1Click);
    connect(RestoreBackup1, &QAction::triggered, this, &THovedmenu::RestoreBackup1Click);
    connect(Exit1, &QAction::triggered, this, &THovedmenu::Exit1Click);
    connect(RenameSavedGames1, &QAction::triggered, this, &THovedmenu::RenameSavedGames1Click);
    connect(EditHiscores1, &QAction::triggered, this, &THovedmenu::EditHiscores1Click);
    connect(DataEditor1, &QAction::triggered, this, &THovedmenu::DataEditor1Click);
}

QMdiSubWindow* THovedmenu::openTool(QWidget* tool)
{
    tool->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = area_->addSubWindow(tool, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                                       Qt::WindowCloseButtonHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(tool->windowTitle());
    sub->adjustSize();
    // A fixed-size tool gets a frame that hugs it; the size hint would also make room for the
    // title bar's text and leave a blank strip beside the tool.
    const bool fixed = tool->minimumSize() == tool->maximumSize();
    sub->setFixedSize(fixed ? sub->minimumSizeHint() : sub->sizeHint());
    const QRect free = area_->viewport()->rect();
    sub->move(std::max(0, (free.width() - sub->width()) / 2), std::max(0, (free.height() - sub->height()) / 2));
    sub->show();
    if (!tool->focusWidget()) // a tool that chose where its keys start keeps that
        tool->setFocus();
    return sub;
}

void THovedmenu::GXFolder1Click()
{
    guarded(prompts_, this, [&] { openTool(new TGXFolder(context(), this)); });
}

void THovedmenu::RestoreBackup1Click()
{
    guarded(prompts_, this, [&] { openTool(new RestoreWindow(context())); });
}

void THovedmenu::RenameSavedGames1Click()
{
    guarded(prompts_, this, [&] { openTool(new TSaveGame(context())); });
}

void THovedmenu::EditHiscores1Click()
{
    guarded(prompts_, this, [&] {
        if (!config_.gameFileExists(QStringLiteral("Hiscores.bin")) &&
            prompts_.confirm(this, QStringLiteral("File doesn't exist. Create?")) != Prompts::Answer::Yes)
            return;
        openTool(new THallFame(context()));
    });
}

void THovedmenu::DataEditor1Click()
{
    guarded(prompts_, this, [&] {
        QMdiSubWindow* sub = openTool(new TDataEditor(context()));
        sub->move(sub->x(), sub->y() + 52);
    });
}

void THovedmenu::Exit1Click()
{
    close();
}

void THovedmenu::closeEvent(QCloseEvent* event)
{
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}
