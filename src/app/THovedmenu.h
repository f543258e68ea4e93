#pragma once
// The main frame: banner, menu, and the area the tool windows open in.

#include "widgets/ToolContext.h"

#include <QMainWindow>

class QAction;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

class THovedmenu : public QMainWindow {
    Q_OBJECT
public:
    THovedmenu(AppConfig& config, Prompts& prompts, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return area_; }
    // Opens tool as a fixed-size child window centred in the frame; returns its frame.
    QMdiSubWindow* openTool(QWidget* tool);

    void GXFolder1Click();
    void RestoreBackup1Click();
    void RenameSavedGames1Click();
    void EditHiscores1Click();
    void DataEditor1Click();
    void Exit1Click();

protected:
    // Each tool window closes through its own close path first; one that refuses keeps the
    // program running.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildBanner();
    void buildMenu();
    ToolContext context() { return {config_, prompts_}; }

    AppConfig& config_;
    Prompts& prompts_;
    QMdiArea* area_;

public:
    QFrame* Panel1;
    QLabel* Label1;
    QLabel* Image1;
    QLabel* Image2;
    QMenu* File1;
    QAction* GXFolder1;
    QAction* RestoreBackup1;
    QAction* N1;
    QAction* Exit1;
    QMenu* Edit1;
    QAction* RenameSavedGames1;
    QAction* EditHiscores1;
    QAction* DataEditor1;
};
