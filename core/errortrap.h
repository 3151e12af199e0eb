#pragma once
// The common error prompt and the error trap every handler uses.
//
// A handler is a list of steps. A step that fails shows "Error" with the failure's
// description and Abort / Retry / Ignore: Retry runs the same step again, Ignore
// goes on with the next step, Abort runs the handler's clean-up and leaves.
#include "core/prompter.h"

#include <QString>
#include <functional>
#include <optional>

// What a step reports: nothing on success, the error's description on failure.
using StepError = std::optional<QString>;

// The error prompt: description, title "Error", critical icon, Abort/Retry/Ignore.
PromptAnswer HandleError(Prompter& prompter, const QString& description);

class ErrorTrap {
public:
    explicit ErrorTrap(Prompter& prompter, std::function<void()> cleanup = {})
        : m_prompter(prompter), m_cleanup(std::move(cleanup)) {}

    // Runs one step until it succeeds, is ignored or aborted. Returns false when the
    // handler must stop (Abort, after the clean-up ran); true to go on.
    bool run(const std::function<StepError()>& step);

private:
    Prompter& m_prompter;
    std::function<void()> m_cleanup;
    bool m_aborted = false;
};
