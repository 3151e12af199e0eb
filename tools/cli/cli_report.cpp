// report: the printed parameter sheet of a data file, written to a PDF file by the
// very printer layer the window prints with.
#include "tools/cli/cli_output.h"
#include "tools/cli/commands.h"

#include "params/codec.h"
#include "params/datafile.h"
#include "report/printer.h"
#include "core/branding.h"

#include <QFileInfo>
#include <QPrinter>

namespace {

const QString kCommand = QStringLiteral("report");

void fail(const QString& text) { cli::printError(kCommand, text); }

struct Args {
    QString file;
    QString pdf;
    QString comment;
};

bool parseArgs(const QStringList& args, Args* out)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if ((a == QLatin1String("--pdf") || a == QLatin1String("--comment")) && i + 1 >= args.size()) {
            cli::usageError(kCommand, QStringLiteral("%1 needs a value.").arg(a));
            return false;
        }
        if (a == QLatin1String("--pdf")) {
            out->pdf = args.at(++i);
        } else if (a.startsWith(QLatin1String("--pdf="))) {
            out->pdf = a.mid(6);
        } else if (a == QLatin1String("--comment")) {
            out->comment = args.at(++i);
        } else if (a.startsWith(QLatin1String("--comment="))) {
            out->comment = a.mid(10);
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            cli::usageError(kCommand, QStringLiteral("unknown option '%1'.").arg(a));
            return false;
        } else if (out->file.isEmpty()) {
            out->file = a;
        } else {
            cli::usageError(kCommand, QStringLiteral("more than one data file given ('%1' and '%2').").arg(out->file, a));
            return false;
        }
    }
    if (out->file.isEmpty() || out->pdf.isEmpty()) {
        cli::usageError(kCommand,
                        out->file.isEmpty() ? QStringLiteral("no data file given.") : QStringLiteral("no --pdf file given."));
        return false;
    }
    return true;
}

}  // namespace

int cmdReport(const QStringList& args)
{
    Args a;
    if (!parseArgs(args, &a))
        return 2;
    // A slip of the fingers must not print over the data it reports on.
    const QFileInfo in(a.file), out(a.pdf);
    if (out.exists() && in.exists() && out.canonicalFilePath() == in.canonicalFilePath()) {
        fail(QStringLiteral("%1 is the data file itself; give another name after --pdf.").arg(a.pdf));
        return 2;
    }
    if (out.isDir()) {
        fail(QStringLiteral("%1 is a folder; give a file name after --pdf.").arg(a.pdf));
        return 2;
    }
    // Said before the data file is read; the printer layer refuses it as well.
    if (datafile::existsButNotRegular(a.pdf)) {
        fail(QStringLiteral("%1 is a device or a pipe, not a file; give a file name after --pdf.").arg(a.pdf));
        return 2;
    }

    ImageBuffer image;
    const datafile::Result read = datafile::read(a.file, image);
    if (!read.ok) {
        fail(read.error.contains(a.file) ? read.error : a.file + QStringLiteral(": ") + read.error);
        return 2;
    }
    image.BufferEmpty = false;
    ParameterSet params;
    const CodecResult decoded = UpdateParams(image, params);
    if (!decoded) {
        fail(QStringLiteral("%1: not a usable data file. %2").arg(a.file, decoded.message()));
        return 2;
    }

    report::Header header;
    header.companyName = loadBranding().companyName();
    header.comment = a.comment;  // a data file carries no firmware ID

    // The printer layer writes the file whole or not at all: a failed run leaves an
    // earlier report as it was.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(a.pdf);
    printer.setPageOrientation(QPageLayout::Portrait);
    const QString error = report::printReport(printer, params, header);
    if (!error.isEmpty()) {
        fail(error);
        return 2;
    }
    return 0;
}
