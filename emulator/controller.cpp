#include "emulator/controller.h"

#include "params/paramset.h"

#include <QStringList>

namespace emu {
namespace {

enum class Arg { None, OptionalAddress, Address, OptionalCount, Count };

struct ModeInfo {
    const char* name;
    FailureKind kind;
    Arg arg;
    const char* help;
};

// Junk counts above this would only flood the PC's receive buffer.
constexpr int kMaxJunk = 64;

const ModeInfo kModes[] = {
    {"silent", FailureKind::Silent, Arg::None, "never answers anything"},
    {"armed", FailureKind::Armed, Arg::None, "status answers 2 (armed)"},
    {"firmware-no-cr", FailureKind::FirmwareNoCr, Arg::None, "firmware ID text is never ended with CR"},
    {"firmware-empty", FailureKind::FirmwareEmpty, Arg::None, "firmware ID is an empty line"},
    {"firmware-unknown", FailureKind::FirmwareUnknown, Arg::None,
     "firmware ID without \"Shift Light\" (\"Revora Tach Adapter v2.1\")"},
    {"nak-address", FailureKind::NakAddress, Arg::OptionalAddress,
     "address command answered 15 (for address A, or for every address)"},
    {"mute-address", FailureKind::MuteAddress, Arg::OptionalAddress, "address command not answered"},
    {"nak-read", FailureKind::NakRead, Arg::OptionalAddress, "read at address A answered 15 instead of the data"},
    {"mute-read", FailureKind::MuteRead, Arg::OptionalAddress, "read at address A not answered"},
    {"nak-write", FailureKind::NakWrite, Arg::OptionalAddress, "write at address A answered 15, nothing stored"},
    {"mute-write", FailureKind::MuteWrite, Arg::OptionalAddress, "write at address A not answered, nothing stored"},
    {"mismatch", FailureKind::VerifyMismatch, Arg::Address,
     "reads of address A return the stored byte inverted (a verify mismatch)"},
    {"reset-ack-only", FailureKind::ResetAckOnly, Arg::None, "reset answered 06 alone (the controller resets)"},
    {"reset-nak", FailureKind::ResetNak, Arg::None, "reset answered 15, no reset"},
    {"reset-silent", FailureKind::ResetSilent, Arg::None, "reset not answered, no reset"},
    {"junk", FailureKind::Junk, Arg::OptionalCount, "N bytes FF (default 1, at most 64) in front of every reply"},
    {"garble-read", FailureKind::GarbleRead, Arg::Count,
     "read number N (counted from 1) returns its byte inverted, once (a byte read wrong)"},
    {"flaky-read", FailureKind::FlakyRead, Arg::Address,
     "every read of address A returns a different wrong byte (a line no read can be trusted on)"},
    {"disconnect", FailureKind::Disconnect, Arg::Count,
     "the cable is cut when byte number N arrives: that byte and all after it go unanswered"},
    {"unplug", FailureKind::Unplug, Arg::Count,
     "the port vanishes when byte number N arrives (an adapter pulled out); that byte is not answered"},
};

const ModeInfo* modeFor(FailureKind kind)
{
    for (const ModeInfo& m : kModes)
        if (m.kind == kind)
            return &m;
    return nullptr;
}

QString modeSyntax(const ModeInfo& m)
{
    QString s = QString::fromLatin1(m.name);
    switch (m.arg) {
    case Arg::None: break;
    case Arg::OptionalAddress: s += QStringLiteral("[:A]"); break;
    case Arg::Address: s += QStringLiteral(":A"); break;
    case Arg::OptionalCount: s += QStringLiteral("[:N]"); break;
    case Arg::Count: s += QStringLiteral(":N"); break;
    }
    return s;
}

QString hex(const QByteArray& bytes)
{
    return bytes.isEmpty() ? QStringLiteral("(no reply)") : QString::fromLatin1(bytes.toHex(' ').toUpper());
}

}  // namespace

QString Failure::toString() const
{
    const ModeInfo* m = modeFor(kind);
    QString s = m ? QString::fromLatin1(m->name) : QStringLiteral("?");
    if (arg >= 0)
        s += QLatin1Char(':') + QString::number(arg);
    return s;
}

QString failureModesHelp()
{
    QStringList lines;
    for (const ModeInfo& m : kModes)
        lines << QStringLiteral("  %1  %2").arg(modeSyntax(m), -18).arg(QString::fromLatin1(m.help));
    return lines.join(QLatin1Char('\n'));
}

std::optional<Failure> parseFailure(const QString& text, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<Failure> {
        if (error)
            *error = why + QStringLiteral("\nThe failure modes are:\n") + failureModesHelp();
        return std::nullopt;
    };

    const QString trimmed = text.trimmed();
    const int colon = trimmed.indexOf(QLatin1Char(':'));
    const QString name = (colon < 0 ? trimmed : trimmed.left(colon)).toLower();
    const ModeInfo* mode = nullptr;
    for (const ModeInfo& m : kModes)
        if (name == QLatin1String(m.name))
            mode = &m;
    if (!mode)
        return fail(QStringLiteral("Unknown failure mode \"%1\".").arg(trimmed));

    Failure f{mode->kind, -1};
    if (colon < 0) {
        if (mode->arg == Arg::Address)
            return fail(QStringLiteral("Failure mode \"%1\" needs an EEPROM address, for example %1:40.").arg(name));
        if (mode->arg == Arg::Count)
            return fail(QStringLiteral("Failure mode \"%1\" needs a byte count, for example %1:100.").arg(name));
        return f;
    }
    if (mode->arg == Arg::None)
        return fail(QStringLiteral("Failure mode \"%1\" takes no number; write it as %1.").arg(name));

    bool ok = false;
    const QString number = trimmed.mid(colon + 1).trimmed();
    const int value = number.toInt(&ok, 0);  // decimal, or 0x hex
    if (mode->arg == Arg::OptionalAddress || mode->arg == Arg::Address) {
        if (!ok || value < 0 || value >= kEepromSize)
            return fail(QStringLiteral("\"%1\" in \"%2\" is not an EEPROM address; use 0 to 511.").arg(number, trimmed));
    } else {
        const int max = mode->kind == FailureKind::Junk ? kMaxJunk : 1000000000;
        if (!ok || value < 1 || value > max)
            return fail(QStringLiteral("\"%1\" in \"%2\" is not a byte count; use 1 to %3.")
                            .arg(number, trimmed)
                            .arg(max));
    }
    f.arg = value;
    return f;
}

}  // namespace emu

using namespace emu;

EmulatedController::EmulatedController() : firmwareId_(kDefaultFirmwareId) { clock_.start(); }

QByteArray EmulatedController::configBlock() const
{
    return QByteArray(reinterpret_cast<const char*>(eeprom_.data()) + kConfigFirst, kConfigSize);
}

void EmulatedController::setConfigBlock(const QByteArray& block)
{
    for (int i = 0; i < kConfigSize && i < block.size(); ++i)
        eeprom_[kConfigFirst + i] = static_cast<uint8_t>(block[i]);
}

bool EmulatedController::failsAt(FailureKind kind, int address) const
{
    for (const Failure& f : failures_)
        if (f.kind == kind && (f.arg < 0 || f.arg == address))
            return true;
    return false;
}

bool EmulatedController::has(FailureKind kind) const
{
    for (const Failure& f : failures_)
        if (f.kind == kind)
            return true;
    return false;
}

int EmulatedController::argOf(FailureKind kind, int fallback) const
{
    for (const Failure& f : failures_)
        if (f.kind == kind)
            return f.arg < 0 ? fallback : f.arg;
    return fallback;
}

QByteArray EmulatedController::receive(uint8_t byte) { return receiveUs(byte, clock_.nsecsElapsed() / 1000); }

QByteArray EmulatedController::receiveUs(uint8_t byte, qint64 nowUs)
{
    if (disconnected_)
        return {};
    ++bytesReceived_;
    for (const Failure& f : failures_) {
        if ((f.kind == FailureKind::Disconnect || f.kind == FailureKind::Unplug) && f.arg == bytesReceived_) {
            disconnected_ = true;
            unplugged_ = f.kind == FailureKind::Unplug;
            trace(pending_ + char(byte), {},
                  QStringLiteral("%1 after %2 bytes").arg(unplugged_ ? "port gone" : "line cut").arg(bytesReceived_));
            pending_.clear();
            if (onDisconnect)
                onDisconnect();
            return {};
        }
    }
    if (line_.pacingUs > 0 && nowUs < busyUntilUs_) {
        // Still busy with the last byte or answer: this one is overwritten in the UART.
        ++bytesLost_;
        trace(QByteArray(1, char(byte)), {},
              QStringLiteral("lost: came %1 us too early").arg(busyUntilUs_ - nowUs));
        return {};
    }

    if (!pending_.isEmpty() && nowUs - lastByteUs_ > kCommandByteTimeoutMs * 1000LL) {
        trace(pending_, {}, QStringLiteral("incomplete command dropped after %1 ms").arg((nowUs - lastByteUs_) / 1000));
        pending_.clear();
    }
    lastByteUs_ = nowUs;
    pending_.append(char(byte));
    QByteArray out;
    if (commandComplete()) {
        out = handleCommand();
        pending_.clear();
    }
    // Busy from this byte on; after an answer, until the answer has left and then some.
    busyUntilUs_ = nowUs + line_.pacingUs;
    if (!out.isEmpty())
        busyUntilUs_ += line_.answerUs + out.size() * line_.byteNs() / 1000;
    return out;
}

bool EmulatedController::commandComplete() const
{
    switch (uint8_t(pending_[0])) {
    case kCmdSetAddress: return pending_.size() == 3;
    case kCmdWriteByte: return pending_.size() == 2;
    case kCmdReset: {
        // Checked byte by byte: a wrong confirmation byte ends the command at once,
        // so the controller listens for commands again straight away.
        const int n = pending_.size() - 1;
        if (n == 0)
            return false;
        return n == int(kResetConfirmation.size()) || uint8_t(pending_[n]) != kResetConfirmation[n - 1];
    }
    default: return true;
    }
}

QByteArray EmulatedController::answer(QByteArray reply)
{
    if (!reply.isEmpty() && has(FailureKind::Junk))
        reply.prepend(QByteArray(argOf(FailureKind::Junk, 1), char(kJunkByte)));
    return reply;
}

void EmulatedController::trace(const QByteArray& in, const QByteArray& out, const QString& what)
{
    if (onTrace)
        onTrace(QStringLiteral("%1 -> %2  %3").arg(QString::fromLatin1(in.toHex(' ').toUpper()), hex(out), what));
}

QByteArray EmulatedController::handleCommand()
{
    const QByteArray in = pending_;
    QByteArray reply;
    QString what;
    bool didReset = false;

    if (has(FailureKind::Silent)) {
        trace(in, {}, QStringLiteral("silent"));
        return {};
    }

    switch (uint8_t(in[0])) {
    case kCmdResync:
        reply.append(char(kAck));
        what = QStringLiteral("resync");
        break;
    case kCmdStatus:
        reply.append(char(has(FailureKind::Armed) ? 2 : status_));
        what = QStringLiteral("status");
        break;
    case kCmdFirmwareId: {
        QByteArray text = has(FailureKind::FirmwareUnknown) ? QByteArray(kUnknownFirmwareId) : firmwareId_;
        if (has(FailureKind::FirmwareEmpty))
            text.clear();
        reply = text;
        if (!has(FailureKind::FirmwareNoCr))
            reply.append(char(kCr));
        what = QStringLiteral("firmware ID \"%1\"").arg(QString::fromLatin1(text));
        break;
    }
    case kCmdSetAddress: {
        const int a = uint8_t(in[1]) | (uint8_t(in[2]) << 8);
        what = QStringLiteral("set address %1").arg(a);
        if (failsAt(FailureKind::MuteAddress, a)) {
            what += QStringLiteral(" (mute)");
        } else if (failsAt(FailureKind::NakAddress, a)) {
            reply.append(char(kNak));
        } else if (a >= kEepromSize) {
            // Beyond the EEPROM: refused, the current address stays as it was.
            reply.append(char(kNak));
            what += QStringLiteral(" (out of range)");
        } else {
            address_ = a;
            reply.append(char(kAck));
        }
        break;
    }
    case kCmdReadByte: {
        const int a = address_;
        what = QStringLiteral("read %1").arg(a);
        if (failsAt(FailureKind::MuteRead, a)) {
            what += QStringLiteral(" (mute)");
        } else if (failsAt(FailureKind::NakRead, a)) {
            reply.append(char(kNak));
        } else {
            uint8_t b = eeprom_[a];
            ++reads_;
            if (failsAt(FailureKind::VerifyMismatch, a)) {
                b = uint8_t(~b);
                what += QStringLiteral(" (mismatch)");
            }
            if (argOf(FailureKind::GarbleRead, 0) == reads_) {
                b = uint8_t(~b);
                what += QStringLiteral(" (garbled)");
            }
            if (failsAt(FailureKind::FlakyRead, a)) {
                b = uint8_t(b ^ (1 + reads_ % 255));  // never the stored byte, never the last answer
                what += QStringLiteral(" (flaky)");
            }
            reply.append(char(b));
            address_ = (a + 1) % kEepromSize;
        }
        break;
    }
    case kCmdWriteByte: {
        const int a = address_;
        what = QStringLiteral("write %1").arg(a);
        if (failsAt(FailureKind::MuteWrite, a)) {
            what += QStringLiteral(" (mute)");
        } else if (failsAt(FailureKind::NakWrite, a)) {
            reply.append(char(kNak));
        } else {
            eeprom_[a] = uint8_t(in[1]);
            reply.append(char(kAck));
            address_ = (a + 1) % kEepromSize;
        }
        break;
    }
    case kCmdReset: {
        const bool confirmed = in.size() == 1 + int(kResetConfirmation.size())
                               && uint8_t(in.back()) == kResetConfirmation.back();
        if (!confirmed) {
            reply.append(char(kNak));
            what = QStringLiteral("reset refused: wrong confirmation bytes");
        } else if (has(FailureKind::ResetSilent)) {
            what = QStringLiteral("reset (mute)");
        } else if (has(FailureKind::ResetNak)) {
            reply.append(char(kNak));
            what = QStringLiteral("reset refused");
        } else {
            reply.append(char(kAck));
            if (!has(FailureKind::ResetAckOnly))
                reply.append(char(kResetFollowUp));
            address_ = 0;
            ++resetCount_;
            didReset = true;
            what = QStringLiteral("reset #%1").arg(resetCount_);
        }
        break;
    }
    default:
        // Unknown commands are refused rather than ignored, so a PC that is out of
        // step sees at once that its byte was not understood.
        reply.append(char(kNak));
        what = QStringLiteral("unknown command");
        break;
    }

    reply = answer(reply);
    trace(in, reply, what);
    if (didReset && onReset)
        onReset();
    return reply;
}
