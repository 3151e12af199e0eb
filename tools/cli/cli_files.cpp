// The file commands of revora-shift-cli: write the factory defaults, show a data
// file as the printed report would, and compare two data files.
#include "tools/cli/commands.h"

#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"
#include "params/layout.h"
#include "report/content.h"
#include "shell/branding.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <cstdio>

namespace {

void printErr(const QString& command, const QString& text)
{
    std::fprintf(stderr, "revora-shift-cli %s: %s\n", qPrintable(command), qPrintable(text));
}

void printOut(const QString& text) { std::fputs(text.toLocal8Bit().constData(), stdout); }

bool wrongArgs(const QString& command, const QStringList& args, int wanted, const char* usage)
{
    if (args.size() == wanted)
        return false;
    printErr(command, QStringLiteral("expected %1, got %2 argument(s). Usage: revora-shift-cli %3 %4")
                          .arg(wanted == 1 ? QStringLiteral("one file name") : QStringLiteral("two file names"))
                          .arg(args.size())
                          .arg(command, QLatin1String(usage)));
    return true;
}

// Reads and decodes one data file. On failure prints one line saying which file and
// what is wrong, and returns false.
bool load(const QString& command, const QString& path, ImageBuffer& image, ParameterSet& params)
{
    const datafile::Result read = datafile::read(path, image);
    if (!read.ok) {
        if (read.kind == datafile::ErrorKind::ShortFile) {
            printErr(command, QStringLiteral("%1: too short, %2 bytes; a data file holds %3 bytes (%4).")
                                  .arg(path)
                                  .arg(QFileInfo(path).size())
                                  .arg(kConfigSize)
                                  .arg(read.error));
        } else {
            printErr(command, read.error.contains(path) ? read.error : path + QStringLiteral(": ") + read.error);
        }
        return false;
    }
    image.BufferEmpty = false;
    const CodecResult decoded = UpdateParams(image, params);
    if (!decoded) {
        printErr(command, QStringLiteral("%1: not a usable data file. %2").arg(path, decoded.message()));
        return false;
    }
    return true;
}

// What a byte of the configuration block holds, for the bytes no report line explains.
QString offsetName(int offset) { return layout::nameAt(offset); }

QString shown(const report::Entry& e)
{
    // The user text is shown quoted so that a difference in blanks is visible.
    return e.name == QLatin1String("UserData") ? QLatin1Char('"') + e.value + QLatin1Char('"') : e.value;
}

}  // namespace

int cmdDefaults(const QStringList& args)
{
    const QString command = QStringLiteral("defaults");
    if (wrongArgs(command, args, 1, "FILE.dat"))
        return 2;
    // Exactly what "Display Default Parameters" followed by "Save File" writes.
    ParameterStore store;
    loadDefaults(store);
    const datafile::Result written = datafile::write(args[0], store.image);
    if (!written.ok) {
        printErr(command, written.error);
        return 2;
    }
    return 0;
}

int cmdShow(const QStringList& args)
{
    const QString command = QStringLiteral("show");
    if (wrongArgs(command, args, 1, "FILE.dat"))
        return 2;
    ImageBuffer image;
    ParameterSet params;
    if (!load(command, args[0], image, params))
        return 2;
    report::Header header;
    // The same company name the windowed program prints: from the branding file
    // beside the program, else the built-in one.
    header.companyName = loadBranding().companyName();
    header.printedAt = QDateTime::currentDateTime();
    printOut(report::toPlainText(report::pages(params, header)));
    return 0;
}

int cmdDiff(const QStringList& args)
{
    const QString command = QStringLiteral("diff");
    if (wrongArgs(command, args, 2, "A.dat B.dat"))
        return 2;
    ImageBuffer imageA, imageB;
    ParameterSet a, b;
    if (!load(command, args[0], imageA, a) || !load(command, args[1], imageB, b))
        return 2;

    // Bits of each byte that a printed line already accounts for.
    uint8_t explained[kImageSize] = {};
    const QList<report::Entry> left = report::entries(a);
    const QList<report::Entry> right = report::entries(b);
    QStringList lines;
    for (int i = 0; i < left.size() && i < right.size(); ++i) {
        const report::Entry& ea = left[i];
        const report::Entry& eb = right[i];
        if (ea.value == eb.value)
            continue;
        const QString change = shown(ea) + QStringLiteral(" -> ") + shown(eb);
        lines << (ea.label.isEmpty() ? change : ea.label + QLatin1Char(' ') + change);
        for (int offset : ea.offsets)
            explained[offset] |= ea.bits;
    }
    bool differ = !lines.isEmpty();
    for (int offset = kConfigFirst; offset <= kConfigLast; ++offset) {
        const uint8_t x = imageA.EEPROMBuffer[offset], y = imageB.EEPROMBuffer[offset];
        if (x == y)
            continue;
        differ = true;
        if ((x ^ y) & ~explained[offset] & 0xFF)
            lines << QStringLiteral("Offset %1 (%2): %3 -> %4").arg(offset).arg(offsetName(offset)).arg(x).arg(y);
    }
    for (const QString& line : lines)
        printOut(line + QLatin1Char('\n'));
    return differ ? 1 : 0;
}
