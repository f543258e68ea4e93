#include "tools/TSaveGame.h"

#include "gamedb/FixedFile.h"
#include "gamedb/SavedGames.h"
#include "widgets/AppConfig.h"
#include "widgets/Guard.h"
#include "widgets/KeyFilter.h"
#include "widgets/Prompts.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <tuple>

namespace {

static_assert(TSaveGame::kSlots == gamedb::kSavedGameSlots);
constexpr int kHalf = 187;

} // namespace

TSaveGame::TSaveGame(ToolContext ctx, QWidget* parent)
    : ToolWindow(parent),
      ctx_(ctx), side16_{"Gamess16.idx", {}, {}, {}, false, {}}, side8_{"Gamess8.idx", {}, {}, {}, false, {}}
{
    setObjectName(QStringLiteral("SaveGame"));
    setWindowTitle(QStringLiteral("KRVX Saved Game Renamer"));
    setFixedSize(374, 247);

    buildSide(side16_, 0, QStringLiteral("16 Mb Games:"), "Mb16");
    buildSide(side8_, kHalf, QStringLiteral("8 Mb Games:"), "Mb8");
    Mb16G = side16_.group;
    Mb8G = side8_.group;
    C16 = side16_.create;
    C16->setObjectName(QStringLiteral("C16"));
    C16->setText(QStringLiteral("Create 16 Mb"));
    C8 = side8_.create;
    C8->setObjectName(QStringLiteral("C8"));
    C8->setText(QStringLiteral("Create 8 Mb"));
    Mb16G->setObjectName(QStringLiteral("Mb16G"));
    Mb8G->setObjectName(QStringLiteral("Mb8G"));
    std::tie(Mb161, Mb162, Mb163, Mb164, Mb165, Mb166, Mb167) = std::tuple_cat(side16_.boxes);
    std::tie(Mb81, Mb82, Mb83, Mb84, Mb85, Mb86, Mb87) = std::tuple_cat(side8_.boxes);

    Button1 = new QPushButton(QStringLiteral("Save Changes"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry((kHalf - 90) / 2, 216, 90, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(kHalf + (kHalf - 90) / 2, 216, 90, 25);
    Button2->setAutoDefault(true);

    connect(C16, &QPushButton::clicked, this, &TSaveGame::C16Click);
    connect(C8, &QPushButton::clicked, this, &TSaveGame::C8Click);
    connect(Button1, &QPushButton::clicked, this, &TSaveGame::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSaveGame::Button2Click);

    FormShow();
}

void TSaveGame::buildSide(Side& side, int left, const QString& title, const char* prefix)
{
    side.group = new QGroupBox(title, this);
    side.group->setGeometry(left + 8, 8, kHalf - 12, 200);
    for (int i = 0; i < kSlots; ++i) {
        auto* box = new QLineEdit(side.group);
        box->setObjectName(QString::fromLatin1(prefix) + QString::number(i + 1));
        box->setAccessibleName(title.chopped(1) + QLatin1Char(' ') + QString::number(i + 1));
        box->setGeometry(10, 22 + i * 25, kHalf - 32, 21);
        // A slot holds 80 bytes; the box never takes more, typed or pasted.
        box->setMaxLength(static_cast<int>(gamedb::kNameWidth));
        restrictToGameText(box);
        // Sticky: an Undo back to the loaded text clears the box's own modified state, yet the
        // user did edit it (and may have undone a different text than they think).
        connect(box, &QLineEdit::textEdited, this, [this] { edited_ = true; });
        side.boxes[static_cast<std::size_t>(i)] = box;
    }
    side.create = new QPushButton(this);
    side.create->setGeometry(left + (kHalf - 100) / 2, 96, 100, 25);
    side.create->setAutoDefault(true);
}

void TSaveGame::openSide(Side& side)
{
    const QString name = QString::fromLatin1(side.fileName);
    side.loaded = LoadedFile(ctx_.config.gameFile(name));
    if (!ctx_.config.gameFileExists(name)) {
        side.shown = false;
        side.group->hide();
        side.create->show();
        return;
    }
    const gamedb::SavedGameNames names =
        gamedb::decodeSavedGames(gamedb::readFixedFile(ctx_.config.gameFile(name), gamedb::kSavedGameIndexSize));
    for (std::size_t i = 0; i < side.boxes.size(); ++i) {
        side.boxes[i]->setText(names[i]);
        side.boxes[i]->setCursorPosition(0); // a long name shows its beginning
    }
    showGroup(side);
}

void TSaveGame::showGroup(Side& side)
{
    side.shown = true;
    side.create->hide();
    side.group->show();
}

void TSaveGame::FormShow()
{
    openSide(side16_);
    openSide(side8_);
    // The keyboard starts in the first thing the user can work with.
    if (side16_.shown)
        setFocusProxy(Mb161);
    else if (side8_.shown)
        setFocusProxy(Mb81);
    else
        setFocusProxy(C16);
}

void TSaveGame::C16Click()
{
    showGroup(side16_);
    Mb161->setFocus();
}

void TSaveGame::C8Click()
{
    showGroup(side8_);
    Mb81->setFocus();
}

bool TSaveGame::save()
{
    bool all = true;
    const bool ok = guarded(ctx_.prompts, this, [&] {
        const gamedb::FolderLock lock(ctx_.config.gameFolder());
        for (Side* side : {&side16_, &side8_}) {
            if (!side->shown)
                continue;
            const QString path = ctx_.config.gameFile(QString::fromLatin1(side->fileName));
            if (!side->loaded.readyToReplace(ctx_, this, path)) {
                all = false;
                continue;
            }
            gamedb::SavedGameNames names;
            for (std::size_t i = 0; i < side->boxes.size(); ++i)
                names[i] = side->boxes[i]->text();
            const gamedb::Bytes data = gamedb::encodeSavedGames(names);
            gamedb::writeGameFile(path, data);
            side->loaded.wrote(data);
        }
        saved_ = all;
    });
    return ok && all;
}

void TSaveGame::Button1Click()
{
    if (save())
        closeWindow();
}

void TSaveGame::Button2Click()
{
    closeWindow();
}

bool TSaveGame::FormClose()
{
    if (saved_)
        return true;
    // Only Yes saves; No, Escape and the close box discard.
    if (!edited_ || ctx_.prompts.confirm(this, QStringLiteral("Save Changes?")) != Prompts::Answer::Yes)
        return true;
    return save();
}
