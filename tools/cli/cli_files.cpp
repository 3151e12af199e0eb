// The file commands of revora-shift-cli: write the factory defaults, show a data
// file as the printed report would, and compare two data files.
#include "tools/cli/cli_output.h"
#include "tools/cli/commands.h"

#include "core/branding.h"
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"
#include "params/layout.h"
#include "report/compare.h"
#include "report/content.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using cli::printError;
using cli::printOut;
using cli::usageError;

namespace {

// Takes the options a command knows out of `args`; the rest must be `wanted` file
// names. Says what is wrong (an unknown option, a wrong count) and returns false.
bool fileArguments(const QString& command, QStringList& args, int wanted)
{
    for (const QString& a : args)
        if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            usageError(command, QStringLiteral("unknown option '%1'.").arg(a));
            return false;
        }
    if (args.size() == wanted)
        return true;
    usageError(command, QStringLiteral("expected %1, got %2 argument(s).")
                            .arg(wanted == 1 ? QStringLiteral("one file name") : QStringLiteral("two file names"))
                            .arg(args.size()));
    return false;
}

// Reads and decodes one data file. On failure prints one line saying which file and
// what is wrong, and returns false.
bool load(const QString& command, const QString& path, ImageBuffer& image, ParameterSet& params)
{
    const datafile::Result read = datafile::read(path, image);
    if (!read.ok) {
        if (read.kind == datafile::ErrorKind::ShortFile) {
            printError(command, QStringLiteral("%1: too short, %2 bytes; a data file holds %3 bytes (%4).")
                                    .arg(path)
                                    .arg(QFileInfo(path).size())
                                    .arg(kConfigSize)
                                    .arg(read.error));
        } else {
            printError(command, read.error.contains(path) ? read.error : path + QStringLiteral(": ") + read.error);
        }
        return false;
    }
    image.BufferEmpty = false;
    const CodecResult decoded = UpdateParams(image, params);
    if (!decoded) {
        printError(command, QStringLiteral("%1: not a usable data file. %2").arg(path, decoded.message()));
        return false;
    }
    return true;
}

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

QString jsonReport(const QString& path, const ImageBuffer& image, const ParameterSet& params)
{
    QJsonObject parameters;
    for (const report::Entry& e : report::entries(params)) {
        QJsonObject o;
        o.insert(QStringLiteral("section"), e.section);
        o.insert(QStringLiteral("label"), e.label);
        o.insert(QStringLiteral("unit"), e.unit);
        o.insert(QStringLiteral("value"), QJsonValue::fromVariant(e.value));
        o.insert(QStringLiteral("raw"), rawValue(e, image));
        o.insert(QStringLiteral("text"), e.text);
        parameters.insert(e.name, o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("file"), path);
    root.insert(QStringLiteral("parameters"), parameters);
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}

}  // namespace


QString comparisonHeading(const QString& left, const QString& right)
{
    return QStringLiteral("From %1 (left) to %2 (right):").arg(left, right);
}

int cmdDefaults(const QStringList& arguments)
{
    const QString command = QStringLiteral("defaults");
    QStringList args = arguments;
    if (!fileArguments(command, args, 1))
        return 2;
    // Exactly what "Display Default Parameters" followed by "Save File" writes.
    ParameterStore store;
    loadDefaults(store);
    const datafile::Result written = datafile::write(args[0], store.image);
    if (!written.ok) {
        printError(command, written.error);
        return 2;
    }
    return 0;
}

int cmdShow(const QStringList& arguments)
{
    const QString command = QStringLiteral("show");
    QStringList files = arguments;
    const bool json = files.removeAll(QStringLiteral("--json")) > 0;
    const bool noDate = files.removeAll(QStringLiteral("--no-date")) > 0;
    if (!fileArguments(command, files, 1))
        return 2;
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

int cmdDiff(const QStringList& arguments)
{
    const QString command = QStringLiteral("diff");
    QStringList args = arguments;
    if (!fileArguments(command, args, 2))
        return 2;
    ImageBuffer imageA, imageB;
    ParameterSet a, b;
    if (!load(command, args[0], imageA, a) || !load(command, args[1], imageB, b))
        return 2;

    const report::Comparison differences = report::compare(imageA, a, imageB, b);
    if (differences.same())
        return 0;
    printOut(comparisonHeading(args[0], args[1]) + QLatin1Char('\n'));
    for (const QString& line : report::differenceLines(differences, layout::nameAt))
        printOut(line + QLatin1Char('\n'));
    return 1;
}
