#pragma once
// Progress of a load or save on a page's bar and label, with the busy cursor while it runs. The
// bar repaints at the start, at most once a frame, and at the end: a repaint of the bar costs
// more than a thousand records' work.

#include "editor/BusyCursor.h"
#include "gamedb/PageHooks.h"

#include <QElapsedTimer>
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
        percent_ = 0;
        bar_->setValue(0);
        label_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        label_->repaint();
        bar_->repaint();
        sinceRepaint_.start();
    }
    void step(int percent) override
    {
        percent_ = percent;
        if (sinceRepaint_.elapsed() < kFrameMs)
            return;
        bar_->setValue(percent);
        sinceRepaint_.start();
    }
    void end() override
    {
        bar_->setValue(percent_);
        busy_.reset();
    }

    static constexpr qint64 kFrameMs = 16;

private:
    QProgressBar* bar_;
    QLabel* label_;
    std::optional<BusyCursor> busy_;
    QElapsedTimer sinceRepaint_;
    int percent_ = 0;
};

} // namespace editor
