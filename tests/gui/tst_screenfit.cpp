// The window and the editor dialogs with large text on a small screen: each fits
// the screen, and every control is in sight or in a part that scrolls to it. CMake
// runs this on a 1280x720 screen at scale 1.5 and on a 1600x1200 one with 160 dpi text.
#include "alarms/frmalarms.h"
#include "editor/screenfit.h"
#include "gpo/frmgpo.h"
#include "vss_alarm/frmalarmvss.h"
#include "windowfixture.h"

namespace {

QSize screenSize(const QWidget* w) { return w->screen()->availableGeometry().size(); }

bool fits(QSize size, const QWidget* w)
{
    const QSize screen = screenSize(w);
    return size.width() <= screen.width() && size.height() <= screen.height();
}

bool scrolls(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (qobject_cast<const QScrollArea*>(p))
            return true;
    }
    return false;
}

// The named controls shown outside the window's rectangle and outside any part that scrolls.
QStringList outOfReach(QWidget* window)
{
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || scrolls(w, window))
            continue;
        if (!window->rect().contains(QRect(w->mapTo(window, QPoint(0, 0)), w->size())))
            out << (w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName());
    }
    return out;
}

}  // namespace

class TestScreenFit : public QObject {
    Q_OBJECT
    QTemporaryDir home;

    void checkFits(QWidget* window)
    {
        QVERIFY2(fits(window->minimumSizeHint(), window),
                 qPrintable(QString("minimum %1x%2").arg(window->minimumSizeHint().width()).arg(window->minimumSizeHint().height())));
        QTRY_VERIFY2(fits(window->frameGeometry().size(), window),
                     qPrintable(QString("size %1x%2").arg(window->frameGeometry().width()).arg(window->frameGeometry().height())));
        const QStringList lost = outOfReach(window);
        QVERIFY2(lost.isEmpty(), qPrintable(lost.join(' ')));
    }

private slots:
    void initTestCase() { useTemporaryHome(home); }

    // Every layout of the window: nothing loaded, one stage, five gears with and without their speeds.
    void window_data()
    {
        QTest::addColumn<int>("stages");  // 0: nothing loaded
        QTest::addColumn<bool>("speeds");
        QTest::newRow("nothing loaded") << 0 << false;
        QTest::newRow("one stage") << 1 << false;
        QTest::newRow("five gears by speed") << 5 << true;
        QTest::newRow("five gears by input") << 5 << false;
    }
    void window()
    {
        QFETCH(int, stages);
        QFETCH(bool, speeds);
        Fixture fx(stages ? Defaults : Empty);
        if (stages) {
            fx.ed().chkMultiStageShift->setChecked(stages == 5);
            fx.ed().chkVSSGearDetect->setChecked(speeds);
        }
        QVERIFY(fx.show());
        checkFits(fx.window.get());
        fx.window->fraPortSelect->mnuPortSetup_Click();
        checkFits(fx.window.get());
    }

    // Gear detection switched off shows longer captions; switched on again, the window gives the width back.
    void windowGivesBackWidth()
    {
        Fixture fx(Defaults);
        fx.ed().chkMultiStageShift->setChecked(true);
        fx.ed().chkVSSGearDetect->setChecked(true);
        QVERIFY(fx.show());
        QTest::qWait(20);
        const QSize before = fx.window->size();
        fx.ed().chkVSSGearDetect->setChecked(false);
        QTest::qWait(20);
        fx.ed().chkVSSGearDetect->setChecked(true);
        QTRY_COMPARE(fx.window->size(), before);
    }

    void dialog_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("user alarms") << "frmAlarms";
        QTest::newRow("GPO") << "frmGPO";
        QTest::newRow("VSS alarm") << "frmAlarmVSS";
    }
    void dialog()
    {
        QFETCH(QString, name);
        Fixture fx(Defaults);
        std::unique_ptr<EditorDialog> d;
        if (name == "frmAlarms")
            d = std::make_unique<frmAlarms>(fx.params(), fx.prompter, fx.window.get());
        else if (name == "frmGPO")
            d = std::make_unique<frmGPO>(fx.params(), fx.prompter, fx.window.get());
        else
            d = std::make_unique<frmAlarmVSS>(fx.params(), fx.prompter, fx.window.get());
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        checkFits(d.get());
        // OK never scrolls out of sight, and the dialog stands on the screen.
        auto* ok = d->findChild<QPushButton*>("cmdOK");
        QVERIFY(ok && ok->isVisible() && !scrolls(ok, d.get()));
        QTRY_VERIFY(d->screen()->availableGeometry().contains(d->frameGeometry()));
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
