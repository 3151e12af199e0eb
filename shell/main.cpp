// The windowed program: the splash window, then the main window until it closes.
#include "shell/appicon.h"
#include "core/appinfo.h"
#include "core/branding.h"
#include "link/portwatcher.h"
#include "link/serialport.h"
#include "link/stopsignals.h"
#include "shell/filecommands.h"
#include "shell/mainwindow.h"
#include "shell/portpanel.h"
#include "shell/qtprompter.h"
#include "shell/splash.h"
#include "shell/transfers.h"
#include "translations/translations.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace {

// --help and --version are answered before the application object exists: that
// needs a display, and a shell or a package check may have none.
int answerInfoOption(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--version") == 0) {
            std::printf("revora-shift %s\n", qPrintable(appinfo::version()));
            return 0;
        }
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::printf(
                "usage: revora-shift [FILE.dat]\n"
                "Edits, downloads and uploads the configuration of a Revora shift light controller.\n"
                "FILE.dat is opened at start-up.\n\n"
                "  -h, --help     print this help and exit\n"
                "  --version      print the version and exit\n\n"
                "Exit status: 0 once the window is closed, 2 for an unknown option or more\n"
                "than one file. Without a display it stops at once with the windowing\n"
                "system's message.\n"
                "See also revora-shift-cli(1) for the same work without a window.\n");
            return 0;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (const int code = answerInfoOption(argc, argv); code >= 0)
        return code;

    QApplication app(argc, argv);
    // The person's languages (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), before the first window.
    const Translations translations{QLocale()};
    // The settings store's application name and the title of untitled boxes.
    QCoreApplication::setApplicationName(appinfo::applicationName());
    const FileCommands::StartupFile start = FileCommands::startupFile(QCoreApplication::arguments());
    if (!start.error.isEmpty()) {
        std::fprintf(stderr, "revora-shift: %s\n", qPrintable(start.error));
        return 2;
    }
    const QString startFile = start.path;
    // The desktop matches the window to its menu entry and shows the same icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(REVORA_APP_ID));
    QApplication::setWindowIcon(applicationIcon());

    QtPrompter prompter;
    Branding branding = loadBranding();
    runSplash(branding, prompter);

    SerialPort port;
    frmRevora_Main window(prompter, port, branding.CompanyInfo);
    prompter.setParent(&window);
    window.fraPortSelect->setScanner(scanSerialPorts);
    // The port list follows adapters as they are plugged in and out.
    PortWatcher watcher([] { return scanSerialPorts(); });
    QObject::connect(&watcher, &PortWatcher::portsChanged, window.fraPortSelect, &PortPanel::cmdPortRefresh_Click);
    // Ctrl+C, SIGTERM and SIGHUP close the window as its close button does: a
    // transfer stops at its next byte (programming finishes its block first).
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, &window, [&window](int signo) {
        window.transfers->stopBySignal(signo);
        window.close();
    });
    window.show();
    if (!startFile.isEmpty())
        QTimer::singleShot(0, &window, [&] { window.openDataFile(startFile); });
    return app.exec();
}
