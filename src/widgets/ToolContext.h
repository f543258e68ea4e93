#pragma once
// What every tool window receives from the main window that opens it.

class AppConfig;
class Prompts;

struct ToolContext {
    AppConfig& config;
    Prompts& prompts;
};
