#pragma once
// The data editor: loads, shows, edits and saves the manager, team and player databases. Each
// window owns its own tables, held by its record pages.

#include "widgets/ToolContext.h"
#include "editor/BarProgress.h"
#include "widgets/LoadedFile.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace editor {
class ChangesWindow;
class TableWindow;
class LoadedTables;
class ManagerPage;
class PlayerPage;
class RecordPage;
class TeamPage;
} // namespace editor

class TDataEditor : public QWidget {
    Q_OBJECT
public:
    explicit TDataEditor(ToolContext ctx, QWidget* parent = nullptr);
    ~TDataEditor() override;

    void FormShow();
    void LoadBClick();
    void SaveTabEnter();
    void SaveBClick();
    // "Review Changes…" and Ctrl+R on a page: the changes window, the shown record stored first.
    void ReviewBClick();
    void FormClose(QCloseEvent* event);

    // Each table as it was loaded or last saved, and what changed since.
    editor::LoadedTables& loadedTables() const { return *tables_; }
    // The open changes window, if any.
    editor::ChangesWindow* changesWindow() const;
    // "Browse in a Table…" and Ctrl+B on a page: that page's table window, opened once.
    void openTable(editor::RecordPage* page);
    // The open table window of page (0 managers, 1 teams, 2 players), if any.
    editor::TableWindow* tableWindow(int page) const;

    bool anyModified() const;

    QTabWidget* Menu;
    QWidget* Load;
    editor::ManagerPage* Manager;
    editor::TeamPage* TeamTab;
    editor::PlayerPage* Player;
    QWidget* History;
    QWidget* SaveTab;

    QGroupBox* LoadBox;
    QCheckBox* ManC;
    QCheckBox* TeamC;
    QCheckBox* PlayC;
    QCheckBox* HistoC;
    QPushButton* LoadB;
    QLabel* ProgL;
    QProgressBar* Prog;

    QGroupBox* SaveBox;
    QCheckBox* ManSa;
    QCheckBox* TeamSa;
    QCheckBox* PlaySa;
    QCheckBox* HisSa;
    QPushButton* SaveB;
    QPushButton* ReviewB;
    // Beside each Save box, what its save would write.
    QLabel* ManSum;
    QLabel* TeamSum;
    QLabel* PlaySum;
    QLabel* ProgLS;
    QProgressBar* ProgS;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLoadPage();
    void buildSavePage();
    void showPageAndSave(editor::RecordPage* page);
    // The three databases in page order, and what each page's table was loaded from.
    std::array<editor::RecordPage*, 3> pages() const;
    void showSummary(int table);
    void showRecord(int table, int number);

    ToolContext ctx_;
    std::optional<editor::BarProgress> loadProgress_; // on Prog and ProgL
    std::optional<editor::BarProgress> saveProgress_; // on ProgS and ProgLS
    bool shown_ = false;
    std::array<LoadedFile, 3> loaded_;
    editor::LoadedTables* tables_ = nullptr;
    QPointer<editor::ChangesWindow> changes_;
    std::array<QPointer<editor::TableWindow>, 3> tableWindows_;
};
