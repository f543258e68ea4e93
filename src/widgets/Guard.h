#pragma once
// Every event handler runs inside guarded(): an error of the program ends the action and is
// shown in the general error box; the program goes on.

#include "widgets/Prompts.h"

#include <exception>
#include <utility>

// Returns false when the action stopped on an error.
template <class Action> bool guarded(Prompts& prompts, QWidget* parent, Action&& action)
{
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const std::exception& e) {
        prompts.generalError(parent, withFullStop(QString::fromUtf8(e.what())));
    }
    return false;
}
