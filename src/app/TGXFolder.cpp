#include "app/TGXFolder.h"

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"
#include "widgets/AppConfig.h"
#include "widgets/Guard.h"
#include "widgets/Prompts.h"
#include "widgets/WheelFocus.h"

#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIndent = 12;

// Each entry is indented by its depth below the root, so the way down reads as a column.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex& index) { return index.data(kLevelRole).toInt() * kIndent; }
};

// "/" or "C:/" and the folder names below it, for a clean absolute path.
std::pair<QString, QStringList> splitPath(const QString& path)
{
    QString root = QStringLiteral("/");
    if (path.size() >= 2 && path[1] == QLatin1Char(':'))
        root = path.left(2) + QLatin1Char('/');
    return {root, path.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)};
}

QStringList sortedSubfolders(const QString& path)
{
    // Hidden folders too: a game installed under a compatibility layer's prefix sits below one.
    QStringList names = QDir(path).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
    QCollator collator{QLocale(QLocale::English)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

bool pathWithin(const QString& path, const QString& root)
{
    if (root.endsWith(QLatin1Char('/')))
        return path.startsWith(root);
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

} // namespace

TGXFolder::TGXFolder(ToolContext ctx, QWidget* parent) : ToolWindow(parent), ctx_(ctx), directory_(QDir::currentPath())
{
    setObjectName(QStringLiteral("GXFolder"));
    setWindowTitle(QStringLiteral("GX Folder"));

    Dir = new QListWidget(this);
    Dir->setObjectName(QStringLiteral("Dir"));
    Dir->setAccessibleName(QStringLiteral("Folders"));
    Dir->setItemDelegate(new IndentDelegate(Dir));
    Dir->setUniformItemSizes(true);
    Dir->installEventFilter(this);

    Drive = new QComboBox(this);
    Drive->setObjectName(QStringLiteral("Drive"));
    Drive->setAccessibleName(QStringLiteral("Drive"));
    wheelOnlyWithFocus(Drive);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Dir, 1);
    layout->addWidget(Drive);
    layout->addLayout(buttons);
    setFocusProxy(Dir);
    setFixedSize(300, 340);

    connect(Dir, &QListWidget::itemDoubleClicked, this, &TGXFolder::openEntry);
    connect(Button1, &QPushButton::clicked, this, &TGXFolder::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TGXFolder::Button2Click);

    fillDrives();
    connect(Drive, &QComboBox::currentIndexChanged, this, &TGXFolder::DriveChange);

    // Every list starts on the process's current directory.
    guarded(ctx_.prompts, boxParent(), [&] { setDirectory(directory_); });
    FormCreate();
}

QWidget* TGXFolder::boxParent()
{
    return parentWidget() ? parentWidget()->window() : this;
}

void TGXFolder::fillDrives()
{
    QStringList roots = gamedb::volumeRoots();
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        const bool aTop = splitPath(a).second.isEmpty();
        const bool bTop = splitPath(b).second.isEmpty();
        return aTop != bTop ? aTop : a < b;
    });
    for (const QString& root : roots)
        Drive->addItem(QDir::toNativeSeparators(root), root);
    driveIndex_ = driveIndexFor(QDir::currentPath());
    Drive->setCurrentIndex(driveIndex_);
}

int TGXFolder::driveIndexFor(const QString& path) const
{
    int best = -1;
    for (int i = 0; i < Drive->count(); ++i) {
        const QString root = Drive->itemData(i).toString();
        if (pathWithin(path, root) && (best < 0 || root.size() > Drive->itemData(best).toString().size()))
            best = i;
    }
    return best;
}

void TGXFolder::setDirectory(const QString& path)
{
    const QString target = QDir::cleanPath(QDir(path).absolutePath());
    gamedb::checkListable(target);
    const QStringList subfolders = sortedSubfolders(target);

    const auto [root, parts] = splitPath(target);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto add = [&](const QString& text, const QString& full, int level, const QIcon& icon) {
        auto* item = new QListWidgetItem(icon, text, Dir);
        item->setData(kPathRole, full);
        item->setData(kLevelRole, level);
        return item;
    };

    Dir->clear();
    QString walked = root;
    QListWidgetItem* current = add(QDir::toNativeSeparators(root), root, 0, open);
    for (int i = 0; i < parts.size(); ++i) {
        walked = i == 0 ? root + parts[i] : walked + QLatin1Char('/') + parts[i];
        current = add(parts[i], walked, i + 1, open);
    }
    for (const QString& name : subfolders)
        add(name, QDir(target).filePath(name), int(parts.size()) + 1, closed);
    Dir->setCurrentItem(current);
    directory_ = target;
}

void TGXFolder::openEntry(QListWidgetItem* item)
{
    if (!item)
        return;
    guarded(ctx_.prompts, boxParent(), [&] { setDirectory(item->data(kPathRole).toString()); });
}

void TGXFolder::FormCreate()
{
    guarded(ctx_.prompts, boxParent(), [&] {
        // A root is held as the empty string or letter and colon (paths then come out as
        // "/Mgdata.db1", "C:\Mgdata.db1"): show that root, where its files are, rather than
        // wherever the process or the drive happens to be.
        setDirectory(QDir::fromNativeSeparators(gamedb::folderPath(ctx_.config.gameFolder())));
    });
}

void TGXFolder::DriveChange()
{
    guarded(ctx_.prompts, boxParent(), [&] {
        // Listing the volume's root is the test of readiness: the mount table may not know it.
        const QString root = Drive->currentData().toString();
        try {
            setDirectory(root);
            driveIndex_ = Drive->currentIndex();
            return;
        } catch (const gamedb::GameError&) {
            // reported as the drive's, below
        }
        ctx_.prompts.ownError(boxParent(), QStringLiteral("Drive Not Ready"));
        const int shown = driveIndexFor(directory_);
        const QSignalBlocker quiet(Drive);
        Drive->setCurrentIndex(shown >= 0 ? shown : driveIndex_);
        driveIndex_ = Drive->currentIndex();
    });
}

void TGXFolder::Button1Click()
{
    guarded(ctx_.prompts, boxParent(), [&] {
        const QString folder = withoutRootSeparator(QDir::toNativeSeparators(directory_));
        // Such a folder would be stored as two broken lines; it is refused before anything changes.
        if (!IniFile::holdsOnOneLine(folder))
            throw gamedb::GameError(
                "A folder whose name holds a line break cannot be stored in KRVX.ini; rename it or choose another");
        ctx_.config.setGameFolder(folder);
        const IniFile& ini = ctx_.config.ini();
        if (!ini.write(QStringLiteral("Path"), QStringLiteral("GXPath"), folder))
            throw gamedb::GameError(QStringLiteral("Unable to write to %1").arg(ini.path()).toStdString());
        closeWindow();
    });
}

void TGXFolder::Button2Click()
{
    closeWindow();
}

bool TGXFolder::FormClose()
{
    // Nothing to keep: the dialog changes nothing until OK.
    return true;
}

bool TGXFolder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Dir && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openEntry(Dir->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
