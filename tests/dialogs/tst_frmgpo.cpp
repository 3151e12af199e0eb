// The GPO editor: the opening rule, what it shows, the field limits and the
// min/max and off/on pair rules, the enable switch and Restore Defaults.
#include "dialogtesting.h"
#include "gpo/frmgpo.h"

#include <QCheckBox>
#include <QScreen>

using namespace dialogtesting;

namespace {

const QStringList kSwitched = {"txtGPOMinRPM", "txtGPOMaxRPM", "txtGPOOffTPS",  "txtGPOOnTPS",
                               "txtGPOMinVSS", "txtGPOMaxVSS", "txtGPODelay", "chkGPOOneShotDelay"};
const QStringList kFields = kSwitched.mid(0, 7);
const QString kRestoreQuestion = "This action will reset all GPO parameters to default values.";

// "GPOMinRPM=60;..." for the stored counts of the named fields.
QString stored(const ParameterSet& p, const QStringList& fields)
{
    static const QMap<QString, int16_t ParameterSet::*> member = {
        {"txtGPOMinRPM", &ParameterSet::GPOMinRPM}, {"txtGPOMaxRPM", &ParameterSet::GPOMaxRPM},
        {"txtGPOOffTPS", &ParameterSet::GPOOffTPS}, {"txtGPOOnTPS", &ParameterSet::GPOOnTPS},
        {"txtGPOMinVSS", &ParameterSet::GPOMinVSS}, {"txtGPOMaxVSS", &ParameterSet::GPOMaxVSS},
        {"txtGPODelay", &ParameterSet::GPODelay}};
    QStringList out;
    for (const QString& f : fields)
        out << f.mid(3) + "=" + QString::number(p.*member.value(f));
    return out.join(';');
}

// The factory calibration 44 to 235, and a GPO that leaves room on both sides of each pair.
ParameterSet gpoSet()
{
    ParameterSet p;
    p.TPSZero = 44;
    p.TPSFullscale = 235;
    p.GPOEnable = true;
    p.GPOMinRPM = 60;
    p.GPOMaxRPM = 120;
    p.GPOOffTPSPercent = 50;
    p.GPOOffTPS = 140;
    p.GPOOnTPSPercent = 90;
    p.GPOOnTPS = 216;
    p.GPOMinVSS = 30;
    p.GPOMaxVSS = 225;
    return p;
}

}  // namespace

class TestFrmGPO : public QObject {
    Q_OBJECT
private slots:
    void openingRule_data();
    void openingRule();
    void opensShowingTheParameters();
    void typedValues_data();
    void typedValues();
    void restoreDefaults_data();
    void restoreDefaults();
};

void TestFrmGPO::openingRule_data()
{
    QTest::addColumn<bool>("multiStage");
    QTest::addColumn<bool>("gearDetect");
    QTest::addColumn<bool>("opens");
    QTest::newRow("multi-stage without gear detection") << true << false << false;
    QTest::newRow("multi-stage with gear detection") << true << true << true;
    QTest::newRow("single stage, stale gear flag") << false << true << true;
}

void TestFrmGPO::openingRule()
{
    QFETCH(bool, multiStage);
    QFETCH(bool, gearDetect);
    QFETCH(bool, opens);
    ParameterSet p = gpoSet();
    p.MultiStageShift = multiStage;
    p.VSSGearDetect = gearDetect;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    for (int i = 0; i < (opens ? 0 : 2); ++i)  // once for the check, once for open(), with no dialog between
        prompter.expectBox("GPO disabled. GPI required for selected multi-stage gear detection mode.",
                           "Edit GPO Parameters", PromptButtons::OK, PromptIcon::None, PromptAnswer::OK);
    QCOMPARE(frmGPO::canOpen(p, prompter), opens);
    if (!opens)
        QVERIFY(!frmGPO::open(p, prompter));
    QVERIFY(p == before);
    QVERIFY_PROMPTS(prompter);
}

void TestFrmGPO::opensShowingTheParameters()
{
    ParameterSet p = gpoSet();
    p.GPOEnable = false;
    p.GPOOneShotDelay = true;
    p.GPOMinRPM = 199;
    p.GPODelay = 31;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    frmGPO d(p, prompter);
    QCOMPARE(d.windowTitle(), QStringLiteral("GPO Parameters"));
    QVERIFY(d.isModal());
    QVERIFY(!child<QCheckBox>(&d, "chkGPOEnable")->isChecked());
    QVERIFY(child<QCheckBox>(&d, "chkGPOOneShotDelay")->isChecked());
    QCOMPARE(texts(&d, kFields), QStringLiteral("txtGPOMinRPM=19900;txtGPOMaxRPM=12000;txtGPOOffTPS=50;"
                                                "txtGPOOnTPS=90;txtGPOMinVSS=30;txtGPOMaxVSS=225;txtGPODelay=1.00"));
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, false));
    QVERIFY(p == before);

    // The switch enables the rest; switching off again changes no value.
    click(&d, "chkGPOEnable");
    QVERIFY(p.GPOEnable);
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, true));
    click(&d, "chkGPOOneShotDelay");
    QVERIFY(!p.GPOOneShotDelay);
    click(&d, "chkGPOEnable");
    QVERIFY(!p.GPOEnable && !p.GPOOneShotDelay);
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, false));
    QVERIFY_PROMPTS(prompter);
}

// A typed value and, through the pair rules, the other field of its pair.
void TestFrmGPO::typedValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("texts");  // the field, or both fields of its pair
    QTest::addColumn<QString>("values");

    const QString le = "Value must be less than or equal to ", ge = "Value must be greater than or equal to ";
    QTest::newRow("min rpm to even") << "txtGPOMinRPM" << "6050" << "" << "" << "txtGPOMinRPM=6000" << "GPOMinRPM=60";
    QTest::newRow("delay above") << "txtGPODelay" << "9" << le + "8.0" << "Delay" << "txtGPODelay=8.00"
                                 << "GPODelay=250";
    QTest::newRow("min rpm over max") << "txtGPOMinRPM" << "15000" << "" << ""
                                      << "txtGPOMinRPM=15000;txtGPOMaxRPM=15000" << "GPOMinRPM=150;GPOMaxRPM=150";
    QTest::newRow("max rpm below, min follows") << "txtGPOMaxRPM" << "999" << ge + "1000" << "Maximum RPM"
                                                << "txtGPOMinRPM=1000;txtGPOMaxRPM=1000" << "GPOMinRPM=10;GPOMaxRPM=10";
    QTest::newRow("off above, on follows") << "txtGPOOffTPS" << "97" << le + "95%" << "Off TPS"
                                           << "txtGPOOffTPS=95;txtGPOOnTPS=95" << "GPOOffTPS=225;GPOOnTPS=225";
    QTest::newRow("on floored and raised, off follows") << "txtGPOOnTPS" << "3.9" << ge + "10%" << "On TPS"
                                                        << "txtGPOOffTPS=10;txtGPOOnTPS=10" << "GPOOffTPS=63;GPOOnTPS=63";
    QTest::newRow("min vss above, max follows") << "txtGPOMinVSS" << "246" << le + "245" << "Minimum VSS"
                                                << "txtGPOMinVSS=245;txtGPOMaxVSS=245" << "GPOMinVSS=245;GPOMaxVSS=245";
    QTest::newRow("OK while typing") << "txtGPOMaxVSS" << "150" << "" << "" << "txtGPOMaxVSS=150" << "GPOMaxVSS=150";
}

void TestFrmGPO::typedValues()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QString, texts);
    ParameterSet p = gpoSet();
    ScriptedPrompter prompter;
    if (!message.isEmpty())
        expectWarning(prompter, message, title);
    frmGPO d(p, prompter);
    QVERIFY(showActive(&d));
    QVERIFY((d.frameGeometry().center() - d.screen()->availableGeometry().center()).manhattanLength() <= 2);
    const bool ok = QByteArray(QTest::currentDataTag()).startsWith("OK");
    if (ok) {
        typeInto(field(&d, name), typed);  // the focus stays in the field
        click(&d, "cmdOK");
    } else {
        enter(&d, name, typed);
    }
    QCOMPARE(d.isVisible(), !ok);
    QStringList shown;
    for (const QString& kv : texts.split(';'))
        shown << kv.section('=', 0, 0);
    QCOMPARE(dialogtesting::texts(&d, shown), texts);
    QTEST(stored(p, shown), "values");
    QVERIFY_PROMPTS(prompter);
}

void TestFrmGPO::restoreDefaults_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("zero");
    QTest::addColumn<int>("fullscale");
    QTest::addColumn<QString>("offOn");
    QTest::newRow("factory calibration") << true << 44 << 235 << "89/94";
    QTest::newRow("flat calibration") << true << 100 << 100 << "0/0";
    QTest::newRow("Cancel") << false << 44 << 235 << "";
}

void TestFrmGPO::restoreDefaults()
{
    QFETCH(bool, ok);
    QFETCH(int, zero);
    QFETCH(int, fullscale);
    QFETCH(QString, offOn);
    ParameterSet p = gpoSet();
    p.TPSZero = int16_t(zero);
    p.TPSFullscale = int16_t(fullscale);
    p.GPOEnable = false;
    p.GPOOneShotDelay = true;
    p.GPODelay = 100;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    expectRestoreQuestion(prompter, kRestoreQuestion, ok ? PromptAnswer::OK : PromptAnswer::Cancel);
    frmGPO d(p, prompter);
    const QStringList shownBefore = snapshot(&d);
    click(&d, "cmdRestoreDefaults");
    if (!ok) {
        QVERIFY(p == before);
        QCOMPARE(snapshot(&d), shownBefore);
    } else {
        QVERIFY(p.GPOEnable && !p.GPOOneShotDelay);
        QCOMPARE(stored(p, kFields),
                 QStringLiteral("GPOMinRPM=60;GPOMaxRPM=120;GPOOffTPS=214;GPOOnTPS=224;GPOMinVSS=30;GPOMaxVSS=225;GPODelay=0"));
        QCOMPARE(QStringLiteral("%1/%2").arg(p.GPOOffTPSPercent).arg(p.GPOOnTPSPercent), offOn);
        QCOMPARE(p.TPSZero, int16_t(zero));
        // The dialog shows them as one freshly opened on them does.
        QCOMPARE(field(&d, "txtGPOOffTPS")->text() + "/" + field(&d, "txtGPOOnTPS")->text(), offOn);
        ParameterSet copy = p;
        frmGPO fresh(copy, prompter);
        QCOMPARE(snapshot(&d), snapshot(&fresh));
    }
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestFrmGPO)
#include "tst_frmgpo.moc"
