#pragma once
// The two ways the database routines reach a window: progress reporting and the record page.

#include <algorithm>
#include <string>
#include <string_view>

namespace gamedb {

class RecordTable;

class Progress {
public:
    virtual ~Progress() = default;
    // Busy cursor, bar at 0, label set and repainted at once.
    virtual void begin(std::string_view text) = 0;
    // Called only when the whole percentage changes.
    virtual void step(int percent) = 0;
    // Normal cursor; also runs when the operation failed.
    virtual void end() = 0;
};

class PageHooks {
public:
    virtual ~PageHooks() = default;
    // Empty the page's list and clear its record-number label.
    virtual void clearList() = 0;
    // Record n of table belongs in the list. The page builds its line (table.listLine gives the
    // text, "name(s)\tn") and keeps the list sorted itself.
    virtual void addLine(const RecordTable& table, int number) = 0;
    // Store the page into its record (if any), then show the current line's record.
    virtual void storeAndShow() = 0;
    // Make the database's page and the Save page visible.
    virtual void showPages() = 0;
    virtual void setLoaded() = 0;
    virtual void clearModified() = 0;
};

// Hooks for callers without a page (tools, tests, benchmarks).
class NoPage : public PageHooks {
public:
    void clearList() override {}
    void addLine(const RecordTable&, int) override {}
    void storeAndShow() override {}
    void showPages() override {}
    void setLoaded() override {}
    void clearModified() override {}
};

class NoProgress : public Progress {
public:
    void begin(std::string_view) override {}
    void step(int) override {}
    void end() override {}
};

// begin() now, end() however the operation leaves; steps only when the whole percentage moves,
// so a file of any size repaints the bar at most 101 times.
class ProgressRun {
public:
    ProgressRun(Progress& p, std::string_view text) : p_(p) { p_.begin(text); }
    ~ProgressRun() { p_.end(); }
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

    // After record i (from 1) of n. Records between two whole percentages cost one comparison.
    void record(int i, int n)
    {
        if (i < next_)
            return;
        const int percent = static_cast<int>(static_cast<double>(i) / n * 100);
        if (percent != last_) {
            last_ = percent;
            p_.step(percent);
        }
        // The first record whose percentage can be higher than this one's.
        next_ = std::max(i + 1, static_cast<int>(static_cast<long long>(percent + 1) * n / 100));
    }

private:
    Progress& p_;
    int last_ = 0;
    int next_ = 0;
};

} // namespace gamedb
