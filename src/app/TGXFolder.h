#pragma once
// The game-folder dialog: browse volumes and folders, and on OK make the folder shown the game
// folder and store it in KRVX.ini. Browsing leaves the process's current directory alone.

#include "widgets/ToolContext.h"
#include "widgets/ToolWindow.h"

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class TGXFolder : public ToolWindow {
    Q_OBJECT
public:
    explicit TGXFolder(ToolContext ctx, QWidget* parent = nullptr);

    // The folder the list shows, absolute, with '/' separators.
    const QString& directory() const { return directory_; }

    void FormCreate();
    void DriveChange();
    void Button1Click() override;
    void Button2Click() override;
    bool FormClose() override;

    QListWidget* Dir;
    QComboBox* Drive;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows path in the list; throws GameError (and changes nothing) when it cannot be listed.
    void setDirectory(const QString& path);
    void openEntry(QListWidgetItem* item);
    void fillDrives();
    // The selector's entry for the volume that holds path, or -1.
    int driveIndexFor(const QString& path) const;
    QWidget* boxParent();

    ToolContext ctx_;
    QString directory_;
    int driveIndex_ = -1; // the selector's entry before the user's latest choice
};
