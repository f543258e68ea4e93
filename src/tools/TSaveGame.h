#pragma once
// The saved-game renamer: the seven names of Gamess16.idx and of Gamess8.idx.

#include "widgets/LoadedFile.h"
#include "widgets/ToolContext.h"
#include "widgets/ToolWindow.h"

#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;

class TSaveGame : public ToolWindow {
    Q_OBJECT
public:
    static constexpr int kSlots = 7;

    // Reads the index files that exist; throws GameError when one cannot be read, before the
    // window is ever shown.
    explicit TSaveGame(ToolContext ctx, QWidget* parent = nullptr);

    void FormShow();
    void C16Click();
    void C8Click();
    void Button1Click() override;
    void Button2Click() override;
    bool FormClose() override;

    QGroupBox* Mb16G;
    QLineEdit* Mb161;
    QLineEdit* Mb162;
    QLineEdit* Mb163;
    QLineEdit* Mb164;
    QLineEdit* Mb165;
    QLineEdit* Mb166;
    QLineEdit* Mb167;
    QGroupBox* Mb8G;
    QLineEdit* Mb81;
    QLineEdit* Mb82;
    QLineEdit* Mb83;
    QLineEdit* Mb84;
    QLineEdit* Mb85;
    QLineEdit* Mb86;
    QLineEdit* Mb87;
    QPushButton* C16;
    QPushButton* C8;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
private:
    // One half of the window: an index file, its group of boxes and its create button.
    struct Side {
        const char* fileName;
        QGroupBox* group;
        std::array<QLineEdit*, kSlots> boxes;
        QPushButton* create;
        bool shown;
        LoadedFile loaded; // what the boxes were filled from (nothing, for a file created here)
    };

    void buildSide(Side& side, int left, const QString& title, const char* prefix);
    void openSide(Side& side);
    void showGroup(Side& side);
    // False when anything was not written (an error, or another program's change the user
    // chose to keep): the window then stays open with its edits.
    bool save();

    ToolContext ctx_;
    Side side16_;
    Side side8_;
    bool saved_ = false;  // a successful save closes without asking again
    bool edited_ = false; // a box was changed by the user (by key, paste, cut or undo)
};
