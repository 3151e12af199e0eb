#pragma once
// Help > About: the program's name and version, the copyright line and the
// company's contact lines, in an information box titled "About".
#include "core/prompter.h"

#include <QStringList>

// Shows the About box through the prompter. `companyInfo` is Branding::CompanyInfo.
void showAbout(Prompter& prompter, const QStringList& companyInfo);
