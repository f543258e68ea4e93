#pragma once
// A table's column headers with a filter box under each, as database browsers show them. Each box
// is named by its column's caption, so a screen reader reads it as that column's filter; the boxes
// belong to the window, not to the header, since a table shows assistive technology only its
// headers and cells.

#include <QHeaderView>

#include <vector>

class QLineEdit;

namespace editor {

class FilterHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit FilterHeader(QWidget* parent = nullptr);

    // One box per column of the model, named after its header, owned by owner and kept over the
    // strip below the sections; call after setModel.
    void makeBoxes(QWidget* owner);
    QLineEdit* box(int column) const { return boxes_[static_cast<std::size_t>(column)]; }
    int boxCount() const { return static_cast<int>(boxes_.size()); }
    // A box that could not be read turns red, with the reason as its tooltip.
    void markUnreadable(int column, const QString& reason);
    void markReadable(int column);

    QSize sizeHint() const override;
    // Puts the boxes under their sections again, after the table scrolled sideways.
    void placeBoxes();

signals:
    void filterEdited(int column, const QString& text);
    // Return or the down arrow in a box: back to the table's cells.
    void leftBox(int column);

protected:
    void updateGeometries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* owner_ = nullptr;
    std::vector<QLineEdit*> boxes_;
};

} // namespace editor
