#pragma once
// Progress and page hooks that remember every call, for tests of the database routines.

#include "gamedb/PageHooks.h"
#include "gamedb/RecordTable.h"

#include <stdexcept>
#include <string>
#include <vector>

struct RecordingProgress : gamedb::Progress {
    std::vector<std::string> begun;
    std::vector<int> steps;
    int ended = 0;
    void begin(std::string_view text) override { begun.emplace_back(text); }
    void step(int percent) override { steps.push_back(percent); }
    void end() override { ++ended; }
};

struct RecordingPage : gamedb::PageHooks {
    std::vector<std::string> calls; // hook names in call order ("addLine" once per line)
    std::vector<std::string> lines;
    void clearList() override
    {
        calls.push_back("clearList");
        lines.clear();
    }
    void addLine(const gamedb::RecordTable& table, int number) override
    {
        if (calls.empty() || calls.back() != "addLine")
            calls.push_back("addLine");
        lines.push_back(table.listLine(number));
    }
    void storeAndShow() override
    {
        calls.push_back("storeAndShow");
        if (storeThrows)
            throw std::runtime_error("'12x' is not a valid integer value");
    }
    void showPages() override { calls.push_back("showPages"); }
    void setLoaded() override { calls.push_back("setLoaded"); }
    void clearModified() override { calls.push_back("clearModified"); }
    bool storeThrows = false;
};
