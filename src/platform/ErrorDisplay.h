#pragma once
#include <functional>

class IDialogService;

// The general error display: an error that leaves a handler is shown in an
// error box with its message, and the program goes on.
class ErrorDisplay {
public:
    // Runs the handler; returns false when it raised an error (already shown).
    static bool Run(IDialogService& dialogs, const std::function<void()>& handler);
};
