#include "tools/cli/commands.h"

#include <cstdio>

int cmdDownload(const QStringList&)
{
    std::fprintf(stderr, "download: not available in this build\n");
    return 2;
}

int cmdUpload(const QStringList&)
{
    std::fprintf(stderr, "upload: not available in this build\n");
    return 2;
}
