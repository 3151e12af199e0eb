// The GPO editor: the opening rule, what it shows, the field limits and the
// min/max and off/on pair rules, the enable switch and Restore Defaults.
#include "dialogtesting.h"
#include "gpo/frmgpo.h"

#include <QCheckBox>
#include <QLabel>
#include <QScreen>
#include <functional>

using namespace dialogtesting;

namespace {

const QStringList kSwitched = {"txtGPOMinRPM", "txtGPOMaxRPM", "txtGPOOffTPS",  "txtGPOOnTPS",
                               "txtGPOMinVSS", "txtGPOMaxVSS", "txtGPODelay", "chkGPOOneShotDelay"};
const QStringList kFields = {"txtGPOMinRPM", "txtGPOMaxRPM", "txtGPOOffTPS", "txtGPOOnTPS",
                             "txtGPOMinVSS", "txtGPOMaxVSS", "txtGPODelay"};

double stored(const ParameterSet& p, const QString& name)
{
    static const QMap<QString, std::function<double(const ParameterSet&)>> get = {
        {"GPOMinRPM", [](const ParameterSet& s) { return s.GPOMinRPM; }},
        {"GPOMaxRPM", [](const ParameterSet& s) { return s.GPOMaxRPM; }},
        {"GPOOffTPS", [](const ParameterSet& s) { return s.GPOOffTPS; }},
        {"GPOOnTPS", [](const ParameterSet& s) { return s.GPOOnTPS; }},
        {"GPOOffTPSPercent", [](const ParameterSet& s) { return s.GPOOffTPSPercent; }},
        {"GPOOnTPSPercent", [](const ParameterSet& s) { return s.GPOOnTPSPercent; }},
        {"GPOMinVSS", [](const ParameterSet& s) { return s.GPOMinVSS; }},
        {"GPOMaxVSS", [](const ParameterSet& s) { return s.GPOMaxVSS; }},
        {"GPODelay", [](const ParameterSet& s) { return s.GPODelay; }},
    };
    return get.value(name)(p);
}

// "name=value;name=value" for the stored values (of "name;name" or "name=x;..."), and "field=text;..." for the texts.
QString storedValues(const ParameterSet& p, const QString& names)
{
    QStringList out;
    for (const QString& item : names.split(';')) {
        const QString n = item.section('=', 0, 0);
        out << n + "=" + QString::number(stored(p, n));
    }
    return out.join(';');
}

QString texts(QWidget* d, const QStringList& names)
{
    QStringList out;
    for (const QString& n : names)
        out << n + "=" + field(d, n)->text();
    return out.join(';');
}

// The calibration 44 to 235 of the factory defaults, and a GPO that leaves room
// on both sides of each pair.
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
    p.GPODelay = 0;
    return p;
}

}  // namespace

class TestFrmGPO : public QObject {
    Q_OBJECT
private slots:
    void openingRule_data();
    void openingRule();
    void opensShowingTheParameters();
    void enableSwitch();
    void fieldLimits_data();
    void fieldLimits();
    void pairRules_data();
    void pairRules();
    void okStoresTheFieldBeingTyped();
    void restoreDefaults_data();
    void restoreDefaults();
    void restoreDefaultsCancelChangesNothing();
};

void TestFrmGPO::openingRule_data()
{
    QTest::addColumn<bool>("multiStage");
    QTest::addColumn<bool>("gearDetect");
    QTest::addColumn<bool>("opens");
    QTest::newRow("multi-stage without gear detection") << true << false << false;
    QTest::newRow("multi-stage with gear detection") << true << true << true;
    QTest::newRow("single stage") << false << false << true;
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
    if (!opens)
        prompter.expectBox("GPO disabled. GPI required for selected multi-stage gear detection mode.",
                           "Edit GPO Parameters", PromptButtons::OK, PromptIcon::None, PromptAnswer::OK);
    QCOMPARE(frmGPO::canOpen(p, prompter), opens);
    if (!opens) {
        prompter.expectBox(frmGPO::kGPIRequired, "Edit GPO Parameters", PromptButtons::OK, PromptIcon::None,
                           PromptAnswer::OK);
        QVERIFY(!frmGPO::open(p, prompter));  // and no dialog in between
    }
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
    for (const QString& f : kFields)
        QVERIFY2(!field(&d, f)->toolTip().isEmpty(), qPrintable(f));

    QVERIFY(!child<QCheckBox>(&d, "chkGPOEnable")->isChecked());
    QVERIFY(child<QCheckBox>(&d, "chkGPOOneShotDelay")->isChecked());
    QCOMPARE(texts(&d, kFields), QStringLiteral("txtGPOMinRPM=19900;txtGPOMaxRPM=12000;txtGPOOffTPS=50;"
                                                "txtGPOOnTPS=90;txtGPOMinVSS=30;txtGPOMaxVSS=225;txtGPODelay=1.00"));
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, false));
    QVERIFY(child(&d, "chkGPOEnable")->isEnabled());
    QVERIFY(p == before);
    QVERIFY_PROMPTS(prompter);
}

void TestFrmGPO::enableSwitch()
{
    ParameterSet p = gpoSet();
    p.GPOEnable = false;
    ScriptedPrompter prompter;
    frmGPO d(p, prompter);
    click(&d, "chkGPOEnable");
    QVERIFY(p.GPOEnable);
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, true));
    click(&d, "chkGPOOneShotDelay");
    QVERIFY(p.GPOOneShotDelay);
    click(&d, "chkGPOEnable");
    QVERIFY(!p.GPOEnable);
    QVERIFY(p.GPOOneShotDelay);  // disabling changes no value
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, false));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmGPO::fieldLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QString>("values");

    const QString zero = "Value must be greater than or equal to zero";
    QTest::newRow("min rpm to even") << "txtGPOMinRPM" << "6050" << "" << "" << "6000" << "GPOMinRPM=60";
    QTest::newRow("min rpm above") << "txtGPOMinRPM" << "19999" << "Value must be less than or equal to 19900"
                                   << "Minimum RPM" << "19900" << "GPOMinRPM=199";
    QTest::newRow("min rpm letters") << "txtGPOMinRPM" << "abc" << "" << "" << "0" << "GPOMinRPM=0";
    QTest::newRow("max rpm below") << "txtGPOMaxRPM" << "999" << "Value must be greater than or equal to 1000"
                                   << "Maximum RPM" << "1000" << "GPOMaxRPM=10";
    QTest::newRow("off tps above") << "txtGPOOffTPS" << "97" << "Value must be less than or equal to 95%" << "Off TPS"
                                   << "95" << "GPOOffTPSPercent=95;GPOOffTPS=225";
    QTest::newRow("on tps floored, raised") << "txtGPOOnTPS" << "3.9" << "Value must be greater than or equal to 10%"
                                            << "On TPS" << "10" << "GPOOnTPSPercent=10;GPOOnTPS=63";
    QTest::newRow("min vss above") << "txtGPOMinVSS" << "246" << "Value must be less than or equal to 245"
                                   << "Minimum VSS" << "245" << "GPOMinVSS=245";
    QTest::newRow("max vss below") << "txtGPOMaxVSS" << "5" << "Value must be greater than or equal to 10"
                                   << "Maximum VSS" << "10" << "GPOMaxVSS=10";
    QTest::newRow("delay 8") << "txtGPODelay" << "8" << "" << "" << "8.00" << "GPODelay=250";
    QTest::newRow("delay 1") << "txtGPODelay" << "1" << "" << "" << "1.00" << "GPODelay=31";
    QTest::newRow("delay above") << "txtGPODelay" << "9" << "Value must be less than or equal to 8.0" << "Delay"
                                 << "8.00" << "GPODelay=250";
}

void TestFrmGPO::fieldLimits()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QString, values);

    ParameterSet p = gpoSet();
    ScriptedPrompter prompter;
    if (!message.isEmpty())
        expectWarning(prompter, message, title);
    frmGPO d(p, prompter);
    QVERIFY(showActive(&d));
    enter(&d, name, typed);
    QTEST(field(&d, name)->text(), "shows");
    QCOMPARE(storedValues(p, values), values);
    QVERIFY_PROMPTS(prompter);
}

void TestFrmGPO::pairRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("texts");   // both fields of the pair
    QTest::addColumn<QString>("values");  // both stored values of the pair

    QTest::newRow("min rpm over max") << "txtGPOMinRPM" << "15000" << "txtGPOMinRPM=15000;txtGPOMaxRPM=15000"
                                      << "GPOMinRPM=150;GPOMaxRPM=150";
    QTest::newRow("max rpm under min") << "txtGPOMaxRPM" << "5000" << "txtGPOMinRPM=5000;txtGPOMaxRPM=5000"
                                       << "GPOMinRPM=50;GPOMaxRPM=50";
    QTest::newRow("max vss under min") << "txtGPOMaxVSS" << "20" << "txtGPOMinVSS=20;txtGPOMaxVSS=20"
                                       << "GPOMinVSS=20;GPOMaxVSS=20";
    QTest::newRow("off over on") << "txtGPOOffTPS" << "93" << "txtGPOOffTPS=93;txtGPOOnTPS=93"
                                 << "GPOOffTPSPercent=93;GPOOnTPSPercent=93;GPOOffTPS=222;GPOOnTPS=222";
    QTest::newRow("on under off") << "txtGPOOnTPS" << "40" << "txtGPOOffTPS=40;txtGPOOnTPS=40"
                                  << "GPOOffTPSPercent=40;GPOOnTPSPercent=40;GPOOffTPS=120;GPOOnTPS=120";
    QTest::newRow("on equal to off") << "txtGPOOnTPS" << "50" << "txtGPOOffTPS=50;txtGPOOnTPS=50"
                                     << "GPOOffTPSPercent=50;GPOOnTPSPercent=50;GPOOffTPS=140;GPOOnTPS=140";
}

void TestFrmGPO::pairRules()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, values);
    ParameterSet p = gpoSet();
    ScriptedPrompter prompter;
    frmGPO d(p, prompter);
    QVERIFY(showActive(&d));
    enter(&d, name, typed);
    QFETCH(QString, texts);
    QStringList pair;
    for (const QString& kv : texts.split(';'))
        pair << kv.section('=', 0, 0);
    QCOMPARE(::texts(&d, pair), texts);
    QCOMPARE(storedValues(p, values), values);
    QVERIFY_PROMPTS(prompter);
}

void TestFrmGPO::okStoresTheFieldBeingTyped()
{
    ParameterSet p = gpoSet();
    ScriptedPrompter prompter;
    frmGPO d(p, prompter);
    QVERIFY(showActive(&d));
    const QRect screen = d.screen()->availableGeometry();
    QVERIFY((d.frameGeometry().center() - screen.center()).manhattanLength() <= 2);  // centred
    typeInto(field(&d, "txtGPOMaxVSS"), "150");
    click(&d, "cmdOK");
    QVERIFY(!d.isVisible());
    QCOMPARE(p.GPOMaxVSS, int16_t(150));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmGPO::restoreDefaults_data()
{
    QTest::addColumn<int>("zero");
    QTest::addColumn<int>("fullscale");
    QTest::addColumn<QString>("off");
    QTest::addColumn<QString>("on");
    QTest::newRow("factory calibration") << 44 << 235 << "89" << "94";
    QTest::newRow("full range") << 0 << 255 << "84" << "88";
    QTest::newRow("flat calibration") << 100 << 100 << "0" << "0";
}

void TestFrmGPO::restoreDefaults()
{
    QFETCH(int, zero);
    QFETCH(int, fullscale);
    QFETCH(QString, off);
    QFETCH(QString, on);
    ParameterSet p = gpoSet();
    p.TPSZero = int16_t(zero);
    p.TPSFullscale = int16_t(fullscale);
    p.GPOEnable = false;
    p.GPOOneShotDelay = true;
    p.GPODelay = 100;
    ScriptedPrompter prompter;
    expectRestoreQuestion(prompter, "This action will reset all GPO parameters to default values.", PromptAnswer::OK);
    frmGPO d(p, prompter);
    click(&d, "cmdRestoreDefaults");

    QVERIFY(p.GPOEnable);
    QVERIFY(!p.GPOOneShotDelay);
    QCOMPARE(storedValues(p, "GPOMinRPM;GPOMaxRPM;GPOOffTPS;GPOOnTPS;GPOMinVSS;GPOMaxVSS;GPODelay"),
             QStringLiteral("GPOMinRPM=60;GPOMaxRPM=120;GPOOffTPS=214;GPOOnTPS=224;GPOMinVSS=30;GPOMaxVSS=225;GPODelay=0"));
    QCOMPARE(QString::number(p.GPOOffTPSPercent), off);
    QCOMPARE(QString::number(p.GPOOnTPSPercent), on);
    QCOMPARE(texts(&d, kFields), QStringLiteral("txtGPOMinRPM=6000;txtGPOMaxRPM=12000;txtGPOOffTPS=%1;txtGPOOnTPS=%2;"
                                                "txtGPOMinVSS=30;txtGPOMaxVSS=225;txtGPODelay=0.00")
                                     .arg(off, on));
    QVERIFY(child<QCheckBox>(&d, "chkGPOEnable")->isChecked());
    QVERIFY(!child<QCheckBox>(&d, "chkGPOOneShotDelay")->isChecked());
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, true));
    QCOMPARE(p.TPSZero, int16_t(zero));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmGPO::restoreDefaultsCancelChangesNothing()
{
    ParameterSet p = gpoSet();
    p.GPOEnable = false;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    expectRestoreQuestion(prompter, "This action will reset all GPO parameters to default values.",
                          PromptAnswer::Cancel);
    frmGPO d(p, prompter);
    const QString shownBefore = texts(&d, kFields);
    click(&d, "cmdRestoreDefaults");
    QVERIFY(p == before);
    QCOMPARE(texts(&d, kFields), shownBefore);
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, false));
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestFrmGPO)
#include "tst_frmgpo.moc"
