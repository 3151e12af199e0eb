#include "core/about.h"

#include "core/branding.h"

#include <QCoreApplication>

void showAbout(Prompter& prompter, const QStringList& companyInfo)
{
    prompter.message(aboutText(companyInfo), QCoreApplication::translate("About", "About"), PromptButtons::OK,
                     PromptIcon::Information);
}
