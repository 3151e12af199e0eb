#include "shell/about.h"

#include "shell/branding.h"

void showAbout(Prompter& prompter, const QStringList& companyInfo)
{
    prompter.message(aboutText(companyInfo), QStringLiteral("About"), PromptButtons::OK,
                     PromptIcon::Information);
}
