// Help > Contents describes the window as it is: every command of every menu, with its key.
#include "support/openwindows.h"

#include <QtTest>
#include <QtWidgets>

class TestManual : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { usePrivateSettings(); }  // no recent files in the menu

    // Each command the menus show has a row "Menu > Command" with its key in the manual's table, and is
    // explained in its text.
    void everyMenuCommandIsDescribed()
    {
        QFile file(QStringLiteral(REVORA_MANUAL));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        const QString body = html.section(QStringLiteral("<h2 id=\"menus\">"), 0, 0);  // the text before the table
        Windows w;
        int commands = 0;
        for (QAction* menuAction : w.main.menuBar()->actions()) {
            const QString menuName = menuAction->text().remove(QLatin1Char('&'));
            for (QAction* a : menuAction->menu()->actions()) {
                if (a->isSeparator() || !a->isVisible())
                    continue;
                ++commands;
                const QString text = a->text().remove(QLatin1Char('&'));
                const QString key = a->shortcut().toString(QKeySequence::PortableText);
                const QString row = QStringLiteral("<tr><td>%1 &gt; %2</td><td>").arg(menuName, text);
                const QString listed = html.section(row, 1).section(QStringLiteral("</td>"), 0, 0);
                // Quit and Save As have no key on some platforms (Windows, Qt's generic theme): the manual's key stands.
                const bool unbound = key.isEmpty() && (listed == "Ctrl+Q" || listed == "Ctrl+Shift+S");
                QVERIFY2(html.contains(row) && (listed == key || unbound), qPrintable(row + listed + " / " + key));
                const QString named = QString(menuName + QStringLiteral(" &gt; ") + text).remove(QLatin1String("..."));
                QVERIFY2(body.contains(named), qPrintable(named));
            }
        }
        // And no row for a command that is gone: the header and the recent files are the only others.
        QCOMPARE(html.count(QStringLiteral("<tr>")), commands + 2);
        QVERIFY_PROMPTS(w.prompter);
    }
};

QTEST_MAIN(TestManual)
#include "tst_manual.moc"
