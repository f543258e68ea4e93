#pragma once
// The hall-of-fame editor: the 30 entries of Hiscores.bin in a grid, edited through three boxes.

#include "app/ToolContext.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableWidget;

class THallFame : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = 30;

    // Reads Hiscores.bin when it exists; throws GameError when it cannot be read, before the
    // window is ever shown.
    explicit THallFame(ToolContext ctx, QWidget* parent = nullptr);

    void FormShow();
    void ManagSelectCell(int row);
    void ManagerKeyUp();
    void TeamKeyUp();
    void PointsKeyUp();
    void Button1Click();
    void Button2Click();
    // The close path of Cancel, Escape, the close box and the main window's exit: false keeps
    // the window open.
    bool FormClose();

    bool isModified() const { return modified_; }

    QTableWidget* Manag;
    QLineEdit* Manager;
    QLineEdit* Team;
    QLineEdit* Points;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copyToCell(QLineEdit* box, int column);
    bool save();
    void closeWindow();

    ToolContext ctx_;
    bool modified_ = false;  // the grid's modified mark
    bool saved_ = false;     // a successful save closes without asking again
};
