// Writes the program's icon into a hicolor theme tree at build time:
//   revora-shift-icons OUT_DIR ICON_NAME SIZE...
// gives OUT_DIR/hicolor/SIZExSIZE/apps/ICON_NAME.png for each size.
#include "shell/appicon.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Drawing needs a GUI application but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: revora-shift-icons OUT_DIR ICON_NAME SIZE...\n");
        return 2;
    }
    for (const QString& text : args.mid(2)) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "revora-shift-icons: '%s' is no icon size\n", qPrintable(text));
            return 2;
        }
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args[0]).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, args[1]);
        if (!QDir().mkpath(folder) || !shiftLightIcon(size).save(file)) {
            std::fprintf(stderr, "revora-shift-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
