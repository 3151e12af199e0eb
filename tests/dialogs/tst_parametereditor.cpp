// The main window's parameter editor on its own: the shift point chart beside the
// multi-stage table (its scale and bars read back as RPM, and that it follows the
// fields as they are validated) and the user text field.
#include "dialogtesting.h"
#include "editor/parametereditor.h"
#include "editor/shiftchart.h"
#include "params/defaults.h"

namespace {

// What a person reads off the chart: the grid labels, each bar's RPM, the launch
// line's RPM and the speeds, all worked back from the geometry.
QString readOff(const ShiftChartLayout& c, const QRectF& plot)
{
    const auto rpm = [&](double y) { return QString::number(qRound((plot.bottom() - y) / plot.height() * c.topRPM)); };
    QStringList grid, bars, speeds;
    for (const auto& g : c.grid)
        grid << (g.label == rpm(g.y) ? g.label : g.label + "@" + rpm(g.y));
    for (const auto& b : c.bars) {
        bars << b.gear + ":" + rpm(b.rect.top());
        if (!b.speed.isEmpty())
            speeds << b.speed;
    }
    return QStringList{grid.join(' '), bars.join(' '), "launch " + rpm(c.launchY), speeds.join(", ")}.join(" | ");
}

}  // namespace

class TestParameterEditor : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void followsTheFields();
    void userTextShownWhole();
};

void TestParameterEditor::layout_data()
{
    QTest::addColumn<QList<int>>("shift");  // gears 1 to 5, then launch
    QTest::addColumn<bool>("gearDetect");
    QTest::addColumn<QString>("seen");
    QTest::newRow("steps of 1000, one above the top gear")
        << QList<int>{6000, 6500, 7000, 650, 7200, 4000} << true
        << "0 1000 2000 3000 4000 5000 6000 7000 8000 | 1:6000 2:6500 3:7000 4:650 5:7200 | launch 4000"
           " | 10 MPH, 20 MPH, 30 MPH, 40 MPH, 250 MPH";
    QTest::newRow("a gear on 8000 takes steps of 2000")
        << QList<int>{8000, 6000, 6000, 6000, 6000, 3000} << false
        << "0 2000 4000 6000 8000 10000 | 1:8000 2:6000 3:6000 4:6000 5:6000 | launch 3000 | ";
    QTest::newRow("launch above the gears sets the scale")
        << QList<int>{5000, 5000, 5000, 5000, 5000, 16000} << false
        << "0 5000 10000 15000 20000 | 1:5000 2:5000 3:5000 4:5000 5:5000 | launch 16000 | ";
    QTest::newRow("nothing stored, nothing below the axis")
        << QList<int>{0, -500, 0, 0, 0, -1} << false << "0 1000 | 1:0 2:0 3:0 4:0 5:0 | launch 0 | ";
}

void TestParameterEditor::layout()
{
    QFETCH(QList<int>, shift);
    QFETCH(bool, gearDetect);
    ParameterSet p;
    int16_t* rpm[] = {&p.ShiftRPM1, &p.ShiftRPM2, &p.ShiftRPM3, &p.ShiftRPM4, &p.ShiftRPM5, &p.LaunchRPM};
    for (int i = 0; i < 6; ++i)
        *rpm[i] = int16_t(shift[i]);
    p.ShiftVSS1 = 10, p.ShiftVSS2 = 20, p.ShiftVSS3 = 30, p.ShiftVSS4 = 40, p.ShiftVSS5 = 250;
    p.VSSGearDetect = gearDetect;
    const QRectF plot(30, 10, 250, 160);
    const ShiftChartLayout c = shiftChartLayout(p, plot);
    QTEST(readOff(c, plot), "seen");
    // Five bars side by side inside the plot, standing on its bottom, gear 1 at the left.
    for (int g = 0; g < 5; ++g) {
        const QRectF& r = c.bars[g].rect;
        QVERIFY(plot.united(r) == plot && r.bottom() == plot.bottom() && r.width() > plot.width() / 10);
        QVERIFY(g == 0 || r.left() > c.bars[g - 1].rect.right());
    }
}

// Leaving a gear's field repaints the chart with the stored value; the chart goes
// with the multi-stage table.
void TestParameterEditor::followsTheFields()
{
    ParameterStore store;
    loadDefaults(store);
    ScriptedPrompter prompter;
    ParameterEditor editor(store, prompter);
    editor.refresh();
    QVERIFY(dialogtesting::showActive(&editor) && editor.shiftChart->isVisible());
    QCoreApplication::processEvents();
    int paints = 0;
    struct Counter : QObject {
        int& n;
        explicit Counter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override { n += e->type() == QEvent::Paint; return false; }
    } counter(paints);
    editor.shiftChart->installEventFilter(&counter);
    dialogtesting::enter(&editor, "txtShiftRPM3", "9000");
    QTRY_VERIFY(paints > 0);
    QCOMPARE(store.params.ShiftRPM3, int16_t(9000));
    store.params.MultiStageShift = false;
    editor.refresh();
    QVERIFY(!editor.shiftChart->isVisible());
    QVERIFY_PROMPTS(prompter);
}

// The longest user text the controller keeps, of the widest characters, fits the
// field without scrolling.
void TestParameterEditor::userTextShownWhole()
{
    ParameterStore store;
    ScriptedPrompter prompter;
    ParameterEditor editor(store, prompter);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QLineEdit* f = editor.txtUserData;
    const auto cursorX = [f] { return f->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(); };
    for (const char c : {'W', 'M', '@', 'm'}) {
        const QString text(kUserDataLength, QLatin1Char(c));
        f->setText(text);
        f->setCursorPosition(0);
        f->repaint();
        const int start = cursorX();
        f->setCursorPosition(kUserDataLength);
        f->repaint();  // a line edit scrolls to its cursor when it paints
        QCOMPARE(cursorX() - start, f->fontMetrics().horizontalAdvance(text));
    }
}

QTEST_MAIN(TestParameterEditor)
#include "tst_parametereditor.moc"
