#include "link/link.h"
#include "link/say.h"

#include "link/portsettings.h"
#include "core/errortrap.h"
#include "link/sleep.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#include <timeapi.h>
#endif

using namespace linkproto;

QString linktext::lineErrorText(LineError error)
{
    switch (error) {
    case LineError::Framing: return LinkSay::tr("Framing error.");
    case LineError::Overrun: return LinkSay::tr("Port hardware overrun.");
    case LineError::RxOverflow: return LinkSay::tr("Receive buffer overflow.");
    case LineError::Parity: return LinkSay::tr("Parity error.");
    case LineError::TxFull: return LinkSay::tr("Transmit buffer full.");
    case LineError::DeviceControlBlock: return LinkSay::tr("Device control block error.");
    case LineError::Break: break;  // a break is a line signal, not an error worth a message
    }
    return QString();
}

QString linktext::portLostText(const QString& device)
{
    return LinkSay::tr("The serial port %1 was lost: the adapter was unplugged or the port went away. Plug it "
                   "in again and check the port chosen.")
        .arg(device);
}

QString linktext::noControllerText(const QString& device, bool opened, const QString& choosePortHint)
{
    return (opened ? LinkSay::tr("No controller answered on the serial port %1. If it is connected to another "
                             "port, choose that one %2.")
                   : LinkSay::tr("The serial port %1 could not be opened. Choose the controller's port %2."))
        .arg(device, choosePortHint);
}

int transferProgress(int address)
{
    // No address gives an exact half (143 is odd and 200 x a = 143 x odd only at
    // a = 143), so plain rounding is exact here.
    const long p = std::lround(address * 100.0 / 143.0);
    return static_cast<int>(std::clamp(p, 0L, 100L));
}

ControllerLink::ControllerLink(Port& port, Prompter& prompter, LinkView& view, LinkState& state, LinkTiming timing)
    : m_port(port), m_prompter(prompter), m_view(view), m_state(state), m_timing(timing)
{
    m_port.attachLineErrorListener(this, [this](LineError e) { MSComm1_OnComm(e); });
}

ControllerLink::~ControllerLink()
{
    m_port.detachLineErrorListener(this);
}

void ControllerLink::closePort()
{
    if (m_port.isOpen())
        m_port.close();
}

void ControllerLink::yield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString ControllerLink::deviceName() const
{
    return m_state.DevicePath.isEmpty() ? portsettings::deviceForPort(m_state.PortNumber) : m_state.DevicePath;
}

bool ControllerLink::ensureOpen()
{
    if (m_port.isOpen())
        return true;
    m_port.setPortName(deviceName());
    // The port's own failures (missing, in use, not permitted) go through the
    // common prompt; Retry tries to open it again, which helps after plugging
    // the adapter in. Abort and Ignore both end the primitive without a link.
    bool opened = false;
    ErrorTrap trap(m_prompter, [this] { m_abortedByUser = true; });
    trap.run([&]() -> StepError {
        QString error;
        if (m_port.open(&error)) {
            opened = true;
            return std::nullopt;
        }
        if (error.isEmpty())
            error = LinkSay::tr("The serial port could not be opened.");
        return error;
    });
    return opened;
}

void ControllerLink::send(std::initializer_list<uint8_t> bytes)
{
    int left = static_cast<int>(bytes.size());
    for (uint8_t b : bytes) {
        // A failed write (the port closed under us) shows up as a missing reply.
        m_port.writeByte(b);
        if (--left > 0)
            DelayTimer(m_timing.pauseMs);
    }
}

bool ControllerLink::waitReply(int count)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (!m_port.isOpen())
            return false;
        if (m_port.bytesWaiting() >= count)
            return true;
        const qint64 left = m_timing.replyDeadlineMs - clock.elapsed();
        if (left <= 0)
            break;
        m_port.waitForBytes(count, static_cast<int>(left));
    }
    return m_port.isOpen() && m_port.bytesWaiting() > 0;
}

bool ControllerLink::waitReplyYielding()
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (!m_port.isOpen())
            return false;
        if (m_port.bytesWaiting() > 0)
            return true;
        const qint64 left = m_timing.replyDeadlineMs - clock.elapsed();
        if (left <= 0)
            return false;
        m_port.waitForBytes(1, static_cast<int>(std::min<qint64>(left, m_timing.yieldSliceMs)));
        yield();
    }
}

void ControllerLink::raiseTimeout(const char* text)
{
    closePort();
    ErrorTrap trap(m_prompter, [this] { closePort(); });
    // The error is raised by the primitive itself, so Retry raises it again.
    trap.run([text]() -> StepError { return linktext::said(text); });
}

void ControllerLink::DelayTimer(int ms)
{
    // Short sleeps with the event loop run before each check (also for no pause):
    // the window stays alive, the core stays idle, and the wait ends within a few
    // tens of microseconds of the 2 ms the controller needs.
#ifdef Q_OS_LINUX
    // Linux lets a sleep run up to 50 us late by default; 288 pauses per block
    // would lose 15 ms to that. The thread that talks to the controller asks
    // for exact wake-ups (it costs nothing but a little power).
    static thread_local const int exactWakeups = ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    Q_UNUSED(exactWakeups);
#elif defined(Q_OS_WIN)
    // Windows wakes a sleeper on its timer tick, 15.6 ms by default: each 2 ms
    // pause would take 16. The program asks for 1 ms ticks from its first pause on.
    static const bool fineTicks = timeBeginPeriod(1) == TIMERR_NOERROR;
    Q_UNUSED(fineTicks);
#endif
    using namespace std::chrono;
    const nanoseconds total = milliseconds(ms);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        yield();
        const nanoseconds left = total - nanoseconds(clock.nsecsElapsed());
        if (left <= nanoseconds::zero())
            return;
        linksleep::sleepFor(std::min<nanoseconds>(left, milliseconds(1)));
    }
}

LinkResult ControllerLink::noReply(const char* text)
{
    // A port that went away cannot answer a retry: nothing is asked, the workflow says it.
    if (m_port.wasLost()) {
        closePort();
        return {LinkError::PortLost};
    }
    raiseTimeout(text);
    return {LinkError::NoReply};
}

LinkResult ControllerLink::ReSync()
{
    if (!ensureOpen())
        return {LinkError::NoPort};
    m_port.discardInput();
    send({kReSync});
    if (!waitReply(1))  // silent: the workflow tries again and decides
        return {m_port.wasLost() ? LinkError::PortLost : LinkError::NoReply};
    const int b = m_port.readByte();
    DelayTimer(m_timing.pauseMs);
    return {b == kAck ? LinkError::None : LinkError::Refused, static_cast<uint8_t>(std::max(b, 0))};
}

LinkResult ControllerLink::ReadStatus()
{
    if (!ensureOpen())
        return {LinkError::NoPort};
    m_port.discardInput();
    send({kReadStatus});
    if (!waitReply(1))
        return noReply(linktext::kRs232Timeout);
    const int status = m_port.readByte();
    DelayTimer(m_timing.pauseMs);
    return {LinkError::None, static_cast<uint8_t>(std::max(status, 0))};
}

LinkResult ControllerLink::ReadFirmwareID()
{
    m_state.FirmwareID.clear();
    if (!ensureOpen())
        return {LinkError::NoPort};
    m_port.discardInput();
    send({kReadFirmwareID});

    QElapsedTimer clock;
    clock.start();
    QByteArray text;
    bool complete = false;
    while (m_port.isOpen()) {
        if (m_port.bytesWaiting() > 0) {
            const int b = m_port.readByte();
            if (b == kCR)
                complete = true;
            else if (b >= 0)
                text.append(static_cast<char>(b));
        }
        if (complete)
            break;
        yield();
        const qint64 left = m_timing.replyDeadlineMs - clock.elapsed();
        if (left < 0)
            break;
        // Returns at once when a byte is already waiting.
        if (m_port.isOpen())
            m_port.waitForBytes(1, static_cast<int>(std::clamp<qint64>(left, 1, m_timing.yieldSliceMs)));
    }
    // A line that ends after the deadline is as good as none: what arrived is dropped.
    if (!complete || clock.elapsed() > m_timing.replyDeadlineMs)
        return noReply(linktext::kRs232Timeout);
    // The controller speaks the PC's 8-bit character set.
    m_state.FirmwareID = QString::fromLatin1(text);
    m_state.ProductName = m_state.FirmwareID.contains(QLatin1String("Shift Light"), Qt::CaseInsensitive)
                              ? QStringLiteral("Shift Light")
                              : QStringLiteral("Unknown");
    closePort();
    DelayTimer(m_timing.pauseMs);
    return {};
}

LinkResult ControllerLink::SetEEPROMAddress(int address)
{
    if (!ensureOpen())
        return {LinkError::NoPort};
    m_port.discardInput();
    send({kSetAddress, static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>((address & 0xFF00) >> 8)});
    if (!waitReply(1))
        return noReply(linktext::kRs232Timeout);
    const int b = m_port.readByte();
    if (b != kAck)
        return {LinkError::Refused, static_cast<uint8_t>(std::max(b, 0))};
    DelayTimer(m_timing.pauseMs);
    return {LinkError::None, kAck};
}

LinkResult ControllerLink::ReadEEPROM()
{
    if (!ensureOpen())
        return {LinkError::NoPort};
    m_port.discardInput();
    send({kReadByte});
    if (!waitReply(1))
        return noReply(linktext::kRs232Timeout);
    const int b = m_port.readByte();
    DelayTimer(m_timing.pauseMs);
    return {LinkError::None, static_cast<uint8_t>(std::max(b, 0))};
}

LinkResult ControllerLink::ResetController()
{
    if (!ensureOpen())
        return {LinkError::NoPort};
    m_port.discardInput();
    send({kReset, kResetConfirmation[0], kResetConfirmation[1], kResetConfirmation[2], kResetConfirmation[3]});
    // Waits for more than one byte: a controller that answers 06 alone is only
    // heard at the deadline, which is also the time it takes to restart.
    if (!waitReply(2))
        return noReply(linktext::kComPortTimeout);
    const int b = m_port.readByte();
    DelayTimer(m_timing.pauseMs);
    closePort();
    return {b == kAck ? LinkError::None : LinkError::Refused, static_cast<uint8_t>(std::max(b, 0))};
}

LinkError ControllerLink::ReadEEPROMData(ImageBuffer& image, const char* caption)
{
    const PortCloser closer(*this);
    m_view.showProgress(linktext::said(caption));
    image.ClearEEPROMBuffer();
    const LinkResult addressed = SetEEPROMAddress(kFirstAddress);
    if (!addressed) {
        m_view.hideProgress();  // not left showing a transfer that never started
        return addressed.error;
    }
    LinkError error = LinkError::None;
    for (int a = kFirstAddress; a <= kLastAddress; ++a) {
        const LinkResult b = ReadEEPROM();
        image.EEPROMBuffer[a] = b.value;
        m_view.setProgress(transferProgress(a));
        yield();
        if (!b) {
            error = b.error;
            break;
        }
        if (m_state.UserAbort) {
            error = LinkError::Stopped;
            break;
        }
        DelayTimer(m_timing.pauseMs);
    }
    m_view.hideProgress();
    if (error != LinkError::None)
        m_state.UserAbort = false;
    // The bytes read so far stay, but only a complete read marks the buffer as holding data.
    image.BufferEmpty = error != LinkError::None;
    return error;
}

ProgramResult ControllerLink::WriteEEPROMData(const ImageBuffer& image)
{
    const PortCloser closer(*this);
    ProgramResult result;
    m_view.showProgress(linktext::said(linktext::kProgrammingCaption));
    const LinkResult addressed = SetEEPROMAddress(kFirstAddress);
    if (!addressed || !ensureOpen()) {
        m_view.hideProgress();
        result.error = addressed ? LinkError::NoPort : addressed.error;
        return result;
    }
    for (int a = kFirstAddress; a <= kLastAddress; ++a) {
        m_port.discardInput();
        m_port.writeByte(kWriteByte);
        DelayTimer(m_timing.pauseMs);
        m_port.writeByte(image.EEPROMBuffer[a]);
        if (!waitReplyYielding()) {
            result.error = noReply(linktext::kRs232Timeout).error;
            m_view.hideProgress();
            return result;
        }
        if (m_port.readByte() != kAck) {
            // Programming stops here; the bytes before this address are already stored.
            result.error = LinkError::Refused;
            m_view.hideProgress();
            return result;
        }
        ++result.programmed;
        DelayTimer(m_timing.pauseMs);
        m_view.setProgress(transferProgress(a));
    }
    m_view.hideProgress();
    if (m_state.StopSignal != 0) {
        // Asked to stop while the block was written: it is whole now, and nothing more is sent.
        result.verifyError = LinkError::Stopped;
        result.verifyErrors = 1;
        m_state.UserAbort = false;
        return result;
    }
    VerifyEEPROM(image, result);
    return result;
}

void ControllerLink::VerifyEEPROM(const ImageBuffer& image, ProgramResult& result)
{
    const PortCloser closer(*this);
    result.verifyErrors = 0;
    result.verifyError = LinkError::None;
    m_view.showProgress(linktext::said(linktext::kVerifyingCaption));
    // Not tested on purpose: a failed address command makes the reads compare
    // the wrong bytes, which the verify then reports.
    SetEEPROMAddress(kFirstAddress);
    for (int a = kFirstAddress; a <= kLastAddress; ++a) {
        const LinkResult b = ReadEEPROM();
        if (image.EEPROMBuffer[a] != b.value)
            ++result.verifyErrors;
        m_view.setProgress(transferProgress(a));
        yield();
        if (!b || m_state.UserAbort) {
            result.verifyError = b ? LinkError::Stopped : b.error;
            break;
        }
    }
    if (result.verifyError != LinkError::None) {
        ++result.verifyErrors;  // a verify cut short never passes
        m_state.UserAbort = false;
    }
    m_view.hideProgress();
}

void ControllerLink::MSComm1_OnComm(LineError error)
{
    const QString text = linktext::lineErrorText(error);
    if (text.isEmpty())
        return;
    ++m_state.CommErrorCount;
    // From the third error on the line is too noisy to go on: the running
    // transfer fails through its next wait.
    if (m_state.CommErrorCount > 2)
        closePort();
    const PromptAnswer answer = m_prompter.message(text, linktext::said(linktext::kCommErrorTitle),
                                                   PromptButtons::RetryCancel, PromptIcon::Critical);
    if (answer == PromptAnswer::Retry) {
        if (m_port.isOpen())
            m_port.discardInput();
    } else {
        closePort();
    }
}
