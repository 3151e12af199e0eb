#include "tools/cli/commands.h"

int cmdDefaults(const QStringList&) { return 2; }
int cmdShow(const QStringList&) { return 2; }
int cmdDiff(const QStringList&) { return 2; }
