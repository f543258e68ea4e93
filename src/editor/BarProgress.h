#pragma once
// Progress of a load or save on a page's bar and label, with the busy cursor while it runs.

#include "editor/BusyCursor.h"
#include "gamedb/PageHooks.h"

#include <QLabel>
#include <QProgressBar>

#include <optional>

namespace editor {

class BarProgress : public gamedb::Progress {
public:
    BarProgress(QProgressBar* bar, QLabel* label) : bar_(bar), label_(label) {}

    void begin(std::string_view text) override
    {
        busy_.emplace();
        bar_->setValue(0);
        label_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        label_->repaint();
    }
    void step(int percent) override { bar_->setValue(percent); }
    void end() override { busy_.reset(); }

private:
    QProgressBar* bar_;
    QLabel* label_;
    std::optional<BusyCursor> busy_;
};

} // namespace editor
