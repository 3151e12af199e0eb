// Writes a PNG of each editor dialog, filled from the factory defaults with a few
// alarms switched on, for a look by eye: every control readable, nothing clipped.
//   xvfb-run -a dialogs_screenshots OUTDIR
#include "alarms/frmalarms.h"
#include "gpo/frmgpo.h"
#include "params/defaults.h"
#include "support/scriptedprompter.h"
#include "vss_alarm/frmalarmvss.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

namespace {
bool save(QDialog& dialog, const QString& path)
{
    dialog.show();
    QApplication::processEvents();
    const bool ok = dialog.grab().save(path);
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(path), dialog.width(), dialog.height());
    dialog.hide();
    return ok;
}
}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    ParameterStore store;
    loadDefaults(store);
    ParameterSet& p = store.params;
    p.Alarm1Enable = true;
    p.Alarm1Input = 3;  // MAP 2 bar, so the pressure frame shows
    p.Alarm1Above = 200;
    p.Alarm1Below = 40;
    p.Alarm1MinRPM = 35;
    p.Alarm2Input = 1;

    ScriptedPrompter prompter;
    prompter.setLenient(true);
    bool ok = true;
    {
        frmAlarms d(p, prompter);
        ok &= save(d, out.filePath(QStringLiteral("frmAlarms.png")));
    }
    {
        frmGPO d(p, prompter);
        ok &= save(d, out.filePath(QStringLiteral("frmGPO.png")));
    }
    {
        frmAlarmVSS d(p, prompter);
        ok &= save(d, out.filePath(QStringLiteral("frmAlarmVSS.png")));
    }
    return ok ? 0 : 1;
}
