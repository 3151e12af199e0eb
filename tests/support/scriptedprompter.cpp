#include "scriptedprompter.h"

#include <QtTest>

namespace {
bool offers(PromptButtons buttons, PromptAnswer a)
{
    using A = PromptAnswer;
    switch (buttons) {
    case PromptButtons::OK: return a == A::OK;
    case PromptButtons::OKCancel: return a == A::OK || a == A::Cancel;
    case PromptButtons::AbortRetryIgnore: return a == A::Abort || a == A::Retry || a == A::Ignore;
    case PromptButtons::YesNoCancel: return a == A::Yes || a == A::No || a == A::Cancel;
    case PromptButtons::YesNo: return a == A::Yes || a == A::No;
    case PromptButtons::RetryCancel: return a == A::Retry || a == A::Cancel;
    case PromptButtons::SaveDiscardCancel: return a == A::Save || a == A::Discard || a == A::Cancel;
    }
    return false;
}

const char* kindName(ScriptedPrompter::Kind k)
{
    switch (k) {
    case ScriptedPrompter::Kind::Message: return "message";
    case ScriptedPrompter::Kind::Input: return "input box";
    case ScriptedPrompter::Kind::Color: return "colour dialog";
    case ScriptedPrompter::Kind::OpenFile: return "open dialog";
    case ScriptedPrompter::Kind::SaveFile: return "save dialog";
    }
    return "?";
}
}  // namespace

ScriptedPrompter::~ScriptedPrompter()
{
    // Strict: a scripted answer left unused, an unexpected box or an answer the box
    // does not offer fails the test that owns the prompter, even one that never
    // asked QVERIFY_PROMPTS.
    if (m_lenient || done() || !QTest::currentTestFunction())
        return;
    const QString all = failures().join(QLatin1Char('\n'));
    if (QTest::currentTestFailed())
        qWarning("ScriptedPrompter: %s", qPrintable(all));
    else
        QTest::qFail(qPrintable(QStringLiteral("scripted prompts: ") + all), __FILE__, __LINE__);
}

namespace {
ScriptedPrompter::Expected expected(ScriptedPrompter::Kind kind, const QString& text = {}, const QString& title = {})
{
    ScriptedPrompter::Expected e;
    e.kind = kind;
    e.text = text;
    e.title = title;
    return e;
}
}  // namespace

ScriptedPrompter& ScriptedPrompter::push(Expected e)
{
    m_queue.append(std::move(e));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::expect(const QString& text, const QString& title, PromptAnswer answer)
{
    Expected e = expected(Kind::Message, text, title);
    e.answer = answer;
    return push(e);
}

ScriptedPrompter& ScriptedPrompter::expectBox(const QString& text, const QString& title, PromptButtons buttons,
                                              PromptIcon icon, PromptAnswer answer)
{
    Expected e = expected(Kind::Message, text, title);
    e.buttons = buttons;
    e.icon = icon;
    e.checkButtonsAndIcon = true;
    e.answer = answer;
    return push(e);
}

ScriptedPrompter& ScriptedPrompter::expectError(const QString& text, PromptAnswer answer)
{
    return expectBox(text, QStringLiteral("Error"), PromptButtons::AbortRetryIgnore, PromptIcon::Critical, answer);
}

ScriptedPrompter& ScriptedPrompter::expectInput(const QString& prompt, const QString& title,
                                                std::optional<QString> answer)
{
    Expected e = expected(Kind::Input, prompt, title);
    e.inputAnswer = std::move(answer);
    return push(e);
}

ScriptedPrompter& ScriptedPrompter::expectColor(std::optional<uint32_t> answer)
{
    Expected e = expected(Kind::Color);
    e.colorAnswer = answer;
    return push(e);
}

ScriptedPrompter& ScriptedPrompter::expectOpenFile(const QString& answer)
{
    Expected e = expected(Kind::OpenFile);
    e.fileAnswer = answer;
    return push(e);
}

ScriptedPrompter& ScriptedPrompter::expectSaveFile(const QString& answer)
{
    Expected e = expected(Kind::SaveFile);
    e.fileAnswer = answer;
    return push(e);
}

QStringList ScriptedPrompter::failures() const
{
    QStringList all = m_failures;
    for (const Expected& e : m_queue)
        all << QStringLiteral("expected %1 \"%2\" (title \"%3\") was never shown")
                   .arg(QLatin1String(kindName(e.kind)), e.text, e.title);
    return all;
}

bool ScriptedPrompter::take(Kind kind, const QString& text, const QString& title, Expected* out)
{
    m_shown << QStringLiteral("%1: %2").arg(title, text);
    if (m_queue.isEmpty()) {
        m_failures << QStringLiteral("unexpected %1 \"%2\" (title \"%3\")")
                          .arg(QLatin1String(kindName(kind)), text, title);
        return false;
    }
    const Expected e = m_queue.takeFirst();
    bool ok = e.kind == kind && (e.text.isEmpty() || e.text == text) && (e.title.isEmpty() || e.title == title);
    if (!ok) {
        m_failures << QStringLiteral("expected %1 \"%2\" (title \"%3\"), got %4 \"%5\" (title \"%6\")")
                          .arg(QLatin1String(kindName(e.kind)), e.text, e.title, QLatin1String(kindName(kind)),
                               text, title);
    }
    *out = e;
    return ok;
}

PromptAnswer ScriptedPrompter::message(const QString& text, const QString& title, PromptButtons buttons,
                                       PromptIcon icon)
{
    Expected e;
    if (!take(Kind::Message, text, title, &e))
        return buttons == PromptButtons::AbortRetryIgnore ? PromptAnswer::Abort : PromptAnswer::Cancel;
    if (!offers(buttons, e.answer)) {
        m_failures << QStringLiteral("message \"%1\": answered with %2, which its buttons (%3) do not offer")
                          .arg(text)
                          .arg(int(e.answer))
                          .arg(int(buttons));
        return buttons == PromptButtons::AbortRetryIgnore ? PromptAnswer::Abort : PromptAnswer::Cancel;
    }
    if (e.checkButtonsAndIcon && (e.buttons != buttons || e.icon != icon))
        m_failures << QStringLiteral("message \"%1\": buttons %2/icon %3, expected %4/%5")
                          .arg(text)
                          .arg(int(buttons))
                          .arg(int(icon))
                          .arg(int(e.buttons))
                          .arg(int(e.icon));
    return e.answer;
}

std::optional<QString> ScriptedPrompter::input(const QString& prompt, const QString& title, const QString&)
{
    Expected e;
    if (!take(Kind::Input, prompt, title, &e))
        return std::nullopt;
    return e.inputAnswer;
}

std::optional<uint32_t> ScriptedPrompter::color(uint32_t initial)
{
    lastColorInitial = initial;
    Expected e;
    if (!take(Kind::Color, QString(), QString(), &e))
        return std::nullopt;
    return e.colorAnswer;
}

QString ScriptedPrompter::openFileName(const QString& title, const QString&)
{
    Expected e;
    if (!take(Kind::OpenFile, QString(), title, &e))
        return QString();
    return e.fileAnswer;
}

QString ScriptedPrompter::saveFileName(const QString& title, const QString&)
{
    Expected e;
    if (!take(Kind::SaveFile, QString(), title, &e))
        return QString();
    return e.fileAnswer;
}
