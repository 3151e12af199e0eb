// Writes revora-shift-cli's manual page from its template and the tool's own
// command table: revora-shift-cli-manpage TEMPLATE OUTPUT VERSION.
#include "tools/cli/commandtable.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: revora-shift-cli-manpage TEMPLATE OUTPUT VERSION\n");
        return 2;
    }
    QFile in(QFile::decodeName(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "revora-shift-cli-manpage: cannot read %s: %s\n", argv[1], qPrintable(in.errorString()));
        return 1;
    }
    const QString page = clitable::manPage(QString::fromUtf8(in.readAll()), QString::fromUtf8(argv[3]));
    QFile out(QFile::decodeName(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0 || !out.flush()) {
        std::fprintf(stderr, "revora-shift-cli-manpage: cannot write %s: %s\n", argv[2], qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
