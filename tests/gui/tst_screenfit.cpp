// The window and the editor dialogs with large text on a small screen: each fits the screen, and every control
// is in sight or in a part that scrolls to it. CMake runs this on a 1280x720 screen at scale 1.5 and on a
// 1600x1200 one with 160 dpi text.
#include "alarms/frmalarms.h"
#include "editor/screenfit.h"
#include "gpo/frmgpo.h"
#include "vss_alarm/frmalarmvss.h"
#include "windowfixture.h"

namespace {

QSize screenSize(const QWidget* w) { return w->screen()->availableGeometry().size(); }

bool fits(QSize size, const QWidget* w) { return size.boundedTo(screenSize(w)) == size; }

bool scrolls(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (qobject_cast<const QScrollArea*>(p))
            return true;
    }
    return false;
}

QString text(QSize s) { return QString("%1x%2").arg(s.width()).arg(s.height()); }

// The minimum and the size fit the screen; each control shown is in the window's rectangle or scrolls.
void checkFits(QWidget* window)
{
    QVERIFY2(fits(window->minimumSizeHint(), window), qPrintable("minimum " + text(window->minimumSizeHint())));
    QTRY_VERIFY2(fits(window->frameGeometry().size(), window), qPrintable("size " + text(window->frameGeometry().size())));
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
        QTest::addColumn<int>("stages");      // 0: nothing loaded
        QTest::addColumn<bool>("speeds");
        QTest::newRow("nothing loaded") << "" << 0 << false;
        QTest::newRow("one stage") << "" << 1 << false;
        QTest::newRow("five gears by speed") << "" << 5 << true;
        QTest::newRow("five gears by input") << "" << 5 << false;
        QTest::newRow("user alarms") << "frmAlarms" << 5 << true;
        QTest::newRow("GPO") << "frmGPO" << 5 << true;
        QTest::newRow("VSS alarm") << "frmAlarmVSS" << 5 << true;
    }
    void window()
    {
        QFETCH(QString, dialog);
        QFETCH(int, stages);
        QFETCH(bool, speeds);
        Fixture fx(stages ? Defaults : Empty);
        if (stages) {
            fx.ed().chkMultiStageShift->setChecked(stages == 5);
            fx.ed().chkVSSGearDetect->setChecked(speeds);
        }
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
        QTRY_VERIFY(d->screen()->availableGeometry().contains(d->frameGeometry()));  // it stands on the screen
        d->accept();
    }

    // What the window took for its content it gives back; a size the person chose stays; the screen is the limit.
    void growsAndGivesBack()
    {
        QWidget window;
        auto* content = new QWidget;
        content->setFixedSize(200, 100);
        (new QVBoxLayout(&window))->addWidget(new ContentScrollArea(content));
        ScreenFit fit(&window);
        fit.fitNow();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        const QSize start = window.size();
        QVERIFY(start.width() >= 200 && start.height() >= 100);
        content->setFixedSize(300, 150);
        QTRY_COMPARE(window.size(), start + QSize(100, 50));
        content->setFixedSize(200, 100);
        QTRY_COMPARE(window.size(), start);
        window.resize(start + QSize(40, 0));
        QTest::qWait(20);
        content->setFixedSize(300, 100);
        QTRY_COMPARE(window.size(), start + QSize(100, 0));
        content->setFixedSize(200, 100);
        QTRY_COMPARE(window.size(), start + QSize(40, 0));
        content->setFixedSize(5000, 100);
        QTRY_COMPARE(window.frameGeometry().width(), screenSize(&window).width());
        content->setFixedSize(200, 100);
        QTRY_COMPARE(window.size(), start + QSize(40, 0));
    }
};

QTEST_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
