// The file commands of revora-shift-cli: write the factory defaults, show a data
// file as the printed report would, and compare two data files.
#include "tools/cli/commands.h"

#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"
#include "params/layout.h"
#include "report/compare.h"
#include "report/content.h"
#include "core/branding.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

namespace {

// The stored form of an entry, read from the image bytes it comes from: a
// switch's bit as 0 or 1, a colour as its 24-bit value (red in the low byte),
// the user text as stored, any other value little-endian.
QJsonValue rawValue(const report::Entry& e, const ImageBuffer& image)
{
    if (e.name == QLatin1String("UserData")) {
        QByteArray text;
        for (int offset : e.offsets)
            text += char(image.EEPROMBuffer[offset]);
        return QString::fromLatin1(text);
    }
    if (e.bits != 0xFF)
        return (image.EEPROMBuffer[e.offsets.value(0)] & e.bits) ? 1 : 0;
    qint64 raw = 0;
    for (int i = e.offsets.size() - 1; i >= 0; --i)
        raw = raw * 256 + image.EEPROMBuffer[e.offsets[i]];
    return double(raw);
}

// The value in user units: a number where the report prints one, a colour as
// [red, green, blue], a switch as true or false, texts as they are printed.
QJsonValue userValue(const report::Entry& e, const QJsonValue& raw)
{
    if (e.name == QLatin1String("UserData"))
        return e.value;
    if (e.label.isEmpty())
        return e.bits != 0xFF ? QJsonValue(raw.toInt() == 1) : QJsonValue(e.value);
    if (e.offsets.size() == 3) {
        QJsonArray rgb;
        for (const QString& part : e.value.split(QLatin1Char(',')))
            rgb << part.trimmed().toInt();
        return rgb;
    }
    bool number = false;
    const double v = e.value.toDouble(&number);
    return number ? QJsonValue(v) : QJsonValue(e.value);
}

QString jsonReport(const QString& path, const ImageBuffer& image, const ParameterSet& params)
{
    QJsonObject parameters;
    for (const report::Entry& e : report::entries(params)) {
        const QJsonValue raw = rawValue(e, image);
        QJsonObject o;
        o.insert(QStringLiteral("label"), e.label);  // empty for a switch: its text says it all
        o.insert(QStringLiteral("text"), e.value);
        o.insert(QStringLiteral("value"), userValue(e, raw));
        o.insert(QStringLiteral("raw"), raw);
        parameters.insert(e.name, o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("file"), path);
    root.insert(QStringLiteral("parameters"), parameters);
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}

}  // namespace

int cmdShow(const QStringList& args)
{
    const QString command = QStringLiteral("show");
    QStringList files = args;
    const bool json = files.removeAll(QStringLiteral("--json")) > 0;
    const bool noDate = files.removeAll(QStringLiteral("--no-date")) > 0;
    if (wrongArgs(command, files, 1, "[--no-date | --json] FILE.dat"))
        return 2;
    if (files[0].startsWith(QLatin1Char('-'))) {
        printErr(command, QStringLiteral("unknown option '%1'. Usage: revora-shift-cli show [--no-date | --json] "
                                         "FILE.dat").arg(files[0]));
        return 2;
    }
    ImageBuffer image;
    ParameterSet params;
    if (!load(command, files[0], image, params))
        return 2;
    if (json) {
        printOut(jsonReport(files[0], image, params));
        return 0;
    }
    report::Header header;
    // The same company name the windowed program prints: from the branding file
    // beside the program, else the built-in one.
    header.companyName = loadBranding().companyName();
    header.printedAt = QDateTime::currentDateTime();
    QString text = report::toPlainText(report::pages(params, header));
    // Without the print time two outputs of the same file are the same text.
    if (noDate)
        text.replace(report::headingText(header), header.companyName + QStringLiteral(" Controller Data"));
    printOut(text);
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

    const report::Comparison differences = report::compare(imageA, a, imageB, b);
    for (const QString& line : report::differenceLines(differences, layout::nameAt))
        printOut(line + QLatin1Char('\n'));
    return differences.same() ? 0 : 1;
}
