#include "scriptedprompter.h"

#include <QtTest>

namespace {
bool offers(PromptButtons buttons, PromptAnswer a)
{
    using A = PromptAnswer;
    static const QList<QList<A>> answers = {{A::OK}, {A::OK, A::Cancel}, {A::Abort, A::Retry, A::Ignore},
        {A::Yes, A::No, A::Cancel}, {A::Yes, A::No}, {A::Retry, A::Cancel}, {A::Save, A::Discard, A::Cancel}};
    return answers.value(int(buttons)).contains(a);  // in the order PromptButtons lists them
}

QString describe(ScriptedPrompter::Kind kind, const QString& text, const QString& title)
{
    static const char* const names[] = {"message", "input box", "colour dialog", "open dialog", "save dialog"};
    return QStringLiteral("%1 \"%2\" (title \"%3\")").arg(QLatin1String(names[int(kind)]), text, title);
}
}  // namespace

ScriptedPrompter::~ScriptedPrompter()
{
    // Strict: a fault fails the test that owns the prompter, even one that never asked QVERIFY_PROMPTS.
    if (m_lenient || done() || !QTest::currentTestFunction())
        return;
    const QString all = QStringLiteral("scripted prompts: ") + failures().join(QLatin1Char('\n'));
    QTest::currentTestFailed() ? qWarning("%s", qPrintable(all)) : QTest::qFail(qPrintable(all), __FILE__, __LINE__);
}

QStringList ScriptedPrompter::failures() const
{
    QStringList all = m_failures;
    for (const Expected& e : m_queue)
        all << "expected " + describe(e.kind, e.text, e.title) + " was never shown";
    return all;
}

ScriptedPrompter::Expected ScriptedPrompter::take(Kind kind, const QString& text, const QString& title)
{
    m_shown << QStringLiteral("%1: %2").arg(title, text);
    if (m_queue.isEmpty()) {
        m_failures << "unexpected " + describe(kind, text, title);
        return {};
    }
    const Expected e = m_queue.takeFirst();
    if (e.kind == kind && (e.text.isEmpty() || e.text == text) && (e.title.isEmpty() || e.title == title))
        return e;
    m_failures << "expected " + describe(e.kind, e.text, e.title) + ", got " + describe(kind, text, title);
    return {};
}

PromptAnswer ScriptedPrompter::message(const QString& text, const QString& title, PromptButtons buttons,
                                       PromptIcon icon)
{
    if (mend && title == QLatin1String("Error"))
        mend();
    const int failed = int(m_failures.size());
    const Expected e = take(Kind::Message, text, title);
    if (m_failures.size() == failed && !offers(buttons, e.answer))
        m_failures << QStringLiteral("message \"%1\": answered with %2, which its buttons (%3) do not offer")
                          .arg(text).arg(int(e.answer)).arg(int(buttons));
    if (m_failures.size() > failed)
        return buttons == PromptButtons::AbortRetryIgnore ? PromptAnswer::Abort : PromptAnswer::Cancel;
    if (e.box && *e.box != std::make_pair(buttons, icon))
        m_failures << QStringLiteral("message \"%1\": buttons %2/icon %3, expected %4/%5")
                          .arg(text).arg(int(buttons)).arg(int(icon)).arg(int(e.box->first)).arg(int(e.box->second));
    return e.answer;
}
