#include "core/about.h"

#include "core/branding.h"

void showAbout(Prompter& prompter, const QStringList& companyInfo)
{
    prompter.message(aboutText(companyInfo), QStringLiteral("About"), PromptButtons::OK,
                     PromptIcon::Information);
}
