#include "core/errortrap.h"

#include <QCoreApplication>

PromptAnswer HandleError(Prompter& prompter, const QString& description)
{
    return prompter.message(description, QCoreApplication::translate("ErrorTrap", "Error"), PromptButtons::AbortRetryIgnore,
                            PromptIcon::Critical);
}

bool ErrorTrap::run(const std::function<StepError()>& step)
{
    if (m_aborted)
        return false;
    for (;;) {
        StepError err = step();
        if (!err)
            return true;
        switch (HandleError(m_prompter, *err)) {
        case PromptAnswer::Retry:
            continue;
        case PromptAnswer::Ignore:
            return true;
        default:  // Abort, or the prompt closed some other way
            m_aborted = true;
            if (m_cleanup)
                m_cleanup();
            return false;
        }
    }
}
