// The windowed program: the splash window, then the main window until it closes.
#include "shell/appinfo.h"
#include "link/serialport.h"
#include "shell/branding.h"
#include "shell/mainwindow.h"
#include "shell/qtprompter.h"
#include "shell/splash.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The settings store's application name and the title of untitled boxes.
    QCoreApplication::setApplicationName(appinfo::applicationName());
    // Named before anything changes the working folder, so a relative name still finds the file.
    const QString startFile = frmRevora_Main::startupFile(QCoreApplication::arguments());
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    QtPrompter prompter;
    Branding branding = loadBranding();
    runSplash(branding, prompter);

    SerialPort port;
    frmRevora_Main window(prompter, port, branding.CompanyInfo);
    prompter.setParent(&window);
    window.setPortScanner(scanSerialPorts);
    window.show();
    if (!startFile.isEmpty())
        QTimer::singleShot(0, &window, [&] { window.openDataFile(startFile); });
    return app.exec();
}
