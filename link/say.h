#pragma once

#include <QCoreApplication>

// The link's texts: shown by the window in the person's language; the command-line
// tool, which installs no translator, keeps these words.
struct LinkSay {
    Q_DECLARE_TR_FUNCTIONS(link)
};
