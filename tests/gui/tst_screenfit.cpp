// The window and the editor dialogs with large text on a small screen (CMake runs this at scale 1.5 on 1280x720
// and with 160 dpi text on 1600x1200): each fits, every control in sight or in a part that scrolls to it.
#include "alarms/frmalarms.h"
#include "gpo/frmgpo.h"
#include "vss_alarm/frmalarmvss.h"
#include "windowfixture.h"

namespace {

bool fits(QSize size, const QWidget* w) { return size.boundedTo(w->screen()->availableGeometry().size()) == size; }

bool scrolls(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QScrollArea*>(p))
            return true;
    return false;
}

void checkFits(QWidget* window)
{
    QVERIFY2(fits(window->minimumSizeHint(), window), qPrintable(QDebug::toString(window->minimumSizeHint())));
    QTRY_VERIFY2(fits(window->frameGeometry().size(), window), qPrintable(QDebug::toString(window->frameGeometry())));
    QStringList lost;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isVisibleTo(window) && !scrolls(w, window)
            && !window->rect().contains(QRect(w->mapTo(window, QPoint(0, 0)), w->size())))
            lost << (w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName());
    }
    QVERIFY2(lost.isEmpty(), qPrintable(lost.join(' ')));
}

}  // namespace

class TestScreenFit : public WindowTest {
    Q_OBJECT

private slots:
    // Every layout of the window, with and without the port panel, and each editor dialog, its OK in sight.
    void window_data()
    {
        QTest::addColumn<QString>("dialog");  // empty: the window
        QTest::addColumn<bool>("loaded");     // five gears by speed, the largest layout
        QTest::newRow("nothing loaded") << "" << false;
        QTest::newRow("five gears") << "" << true;
        QTest::newRow("user alarms") << "frmAlarms" << true;
        QTest::newRow("GPO") << "frmGPO" << true;
        QTest::newRow("VSS alarm") << "frmAlarmVSS" << true;
    }
    void window()
    {
        QFETCH(QString, dialog);
        QFETCH(bool, loaded);
        Fixture fx(loaded ? Defaults : Empty);
        if (loaded)
            fx.ed().chkMultiStageShift->setChecked(true), fx.ed().chkVSSGearDetect->setChecked(true);
        if (dialog.isEmpty()) {
            QVERIFY(fx.show());
            checkFits(fx.window.get());
            fx.window->fraPortSelect->mnuPortSetup_Click();
            checkFits(fx.window.get());
            return;
        }
        const std::unique_ptr<EditorDialog> d(
            dialog == "frmAlarms" ? static_cast<EditorDialog*>(new frmAlarms(fx.params(), fx.prompter, fx.window.get()))
            : dialog == "frmGPO"  ? static_cast<EditorDialog*>(new frmGPO(fx.params(), fx.prompter, fx.window.get()))
                                  : new frmAlarmVSS(fx.params(), fx.prompter, fx.window.get()));
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        checkFits(d.get());
        auto* ok = d->findChild<QPushButton*>("cmdOK");
        QVERIFY(ok && ok->isVisible() && !scrolls(ok, d.get()));
        d->accept();
    }
};

QTEST_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
