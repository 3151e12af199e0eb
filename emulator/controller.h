#pragma once
// An emulated shift light controller: the controller's side of the serial
// protocol, byte by byte, with a 512-byte EEPROM and named failure modes for
// tests and demos. It knows nothing about ports: feed it the bytes the PC sends
// and it hands back the bytes the controller would answer.
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace emu {

// Command bytes as the controller receives them.
constexpr uint8_t kCmdFirmwareId = 0x10;
constexpr uint8_t kCmdSetAddress = 0x14;  // + address low, address high
constexpr uint8_t kCmdReadByte = 0x15;
constexpr uint8_t kCmdWriteByte = 0x16;   // + data byte
constexpr uint8_t kCmdStatus = 0x2E;
constexpr uint8_t kCmdResync = 0x33;
constexpr uint8_t kCmdReset = 0x34;       // + the four confirmation bytes

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kCr = 0x0D;

// The controller only resets after this exact sequence follows 0x34, so a stray
// 0x34 on a noisy line can never restart it.
constexpr std::array<uint8_t, 4> kResetConfirmation{0x5A, 0xA5, 0x3C, 0xC3};
// A correct reset is answered with 0x06 and then this byte: the NUL that the
// controller's UART puts on the line as it restarts. The PC waits for more than
// one byte after a reset, so the second byte spares it the full reply deadline;
// it reads only the first one and flushes the rest.
constexpr uint8_t kResetFollowUp = 0x00;
// What the junk failure mode puts in front of a reply.
constexpr uint8_t kJunkByte = 0xFF;
// A multi-byte command whose next byte takes longer than this is dropped, so a
// PC that gave up half-way is understood again at its next command (the PC
// waits 1.0 s for a reply before it tries again).
constexpr int kCommandByteTimeoutMs = 500;

constexpr int kEepromSize = 512;

// The line the controller sits on: 56000 baud, 8N1, so 10 bits a byte.
constexpr int kLineBaud = 56000;
// What strict pacing calls busy: the protocol pauses 2 ms after every command
// byte and every reply; this controller needs 1.5 of them, so a PC that keeps
// the pause gets through with room to spare and one that halves it does not.
constexpr int kStrictPacingUs = 1500;

// How the line and the controller take their time. All zero: everything at once.
struct LineModel {
    int baud = 0;          // a byte takes 10 bits at this rate; 0: no time
    int answerUs = 0;      // the controller's own time from a complete command to its answer
    int usbLatencyMs = 0;  // a USB adapter's latency timer: replies are held that long; 0: none
    // Strict pacing: after each byte it takes, and after each answer has left, the
    // controller is busy this long; a byte that arrives meanwhile is lost, as in a
    // controller that polls its UART between jobs. 0: never busy.
    int pacingUs = 0;
    qint64 byteNs() const { return baud > 0 ? 10 * 1000000000LL / baud : 0; }
    bool instant() const { return baud == 0 && answerUs == 0 && usbLatencyMs == 0; }
};
inline const char* const kDefaultFirmwareId = "Revora Shift Light v1.0";
// Answered by the firmware-unknown failure mode: a real ID, but not a shift light.
inline const char* const kUnknownFirmwareId = "Revora Tach Adapter v2.1";

enum class FailureKind {
    Silent,           // never answers anything
    Armed,            // status answers 2
    FirmwareNoCr,     // firmware ID text without its closing CR
    FirmwareEmpty,    // firmware ID is a bare CR
    FirmwareUnknown,  // firmware ID without "Shift Light"
    NakAddress,       // address command answered 0x15 (at address arg, or every one)
    MuteAddress,      // address command not answered
    NakRead,          // read answered 0x15 instead of the data (address not advanced)
    MuteRead,         // read not answered (address not advanced)
    NakWrite,         // write answered 0x15, nothing stored (address not advanced)
    MuteWrite,        // write not answered, nothing stored (address not advanced)
    VerifyMismatch,   // reads of address arg return the stored byte inverted
    GarbleRead,       // read number arg (counted from 1) returns its byte inverted, once
    FlakyRead,        // every read of address arg returns a different wrong byte
    ResetAckOnly,     // reset answered 0x06 alone (the controller still resets)
    ResetNak,         // reset answered 0x15, no reset
    ResetSilent,      // reset not answered, no reset
    Junk,             // arg junk bytes in front of every reply
    Disconnect,       // the cable is cut when byte number arg arrives: nothing is answered from then on
    Unplug,           // the port vanishes when byte number arg arrives (that byte unanswered)
};

struct Failure {
    FailureKind kind = FailureKind::Silent;
    int arg = -1;  // an EEPROM address, a byte count, or -1 for "every address"
    QString toString() const;  // the text form the parser reads back
    bool operator==(const Failure& o) const { return kind == o.kind && arg == o.arg; }
};

// Reads a failure mode written as NAME or NAME:NUMBER ("nak-read:40",
// "disconnect:300", "junk:2", numbers decimal or 0x hex). On bad text returns
// nothing and sets `error` to a sentence that says what is wrong and lists the modes.
std::optional<Failure> parseFailure(const QString& text, QString* error = nullptr);
// One line per mode, for --help and error messages.
QString failureModesHelp();

}  // namespace emu

class EmulatedController {
public:
    EmulatedController();

    // The whole EEPROM, index = address. Starts all zero.
    std::array<uint8_t, emu::kEepromSize>& eeprom() { return eeprom_; }
    const std::array<uint8_t, emu::kEepromSize>& eeprom() const { return eeprom_; }
    // Addresses 16 to 159, the configuration block a data file holds.
    QByteArray configBlock() const;
    void setConfigBlock(const QByteArray& block);  // copies at most 144 bytes

    QByteArray firmwareId() const { return firmwareId_; }
    void setFirmwareId(const QByteArray& text) { firmwareId_ = text; }
    uint8_t status() const { return status_; }
    void setStatus(uint8_t status) { status_ = status; }

    int address() const { return address_; }
    int resetCount() const { return resetCount_; }
    int bytesReceived() const { return bytesReceived_; }
    bool isDisconnected() const { return disconnected_; }
    // The port itself went away (failure mode unplug), not only the cable.
    bool isUnplugged() const { return unplugged_; }
    // Bytes lost because they came while the controller was busy (strict pacing).
    int bytesLost() const { return bytesLost_; }

    const emu::LineModel& lineModel() const { return line_; }
    void setLineModel(const emu::LineModel& line) { line_ = line; }

    void addFailure(const emu::Failure& failure) { failures_.append(failure); }
    void clearFailures() { failures_.clear(); }
    const QVector<emu::Failure>& failures() const { return failures_; }

    // One byte from the PC; returns the controller's answer (often empty while a
    // multi-byte command is still arriving). The two-argument forms take the
    // arrival time on any monotonic clock, for the inter-byte timeout and strict
    // pacing; the one-argument form uses the controller's own clock.
    QByteArray receive(uint8_t byte);
    QByteArray receive(uint8_t byte, qint64 nowMs) { return receiveUs(byte, nowMs * 1000); }
    QByteArray receiveUs(uint8_t byte, qint64 nowUs);

    // One line per finished command: bytes in, bytes out, what it was.
    std::function<void(const QString&)> onTrace;
    // After each completed reset (the program saves the EEPROM there).
    std::function<void()> onReset;
    // When the disconnect or unplug failure mode drops the line.
    std::function<void()> onDisconnect;

private:
    QByteArray handleCommand();  // pending_ holds one complete command
    bool commandComplete() const;
    // A failure of this kind for this address (or for every address) is set.
    bool failsAt(emu::FailureKind kind, int address) const;
    bool has(emu::FailureKind kind) const;
    int argOf(emu::FailureKind kind, int fallback) const;
    QByteArray answer(QByteArray reply);
    void trace(const QByteArray& in, const QByteArray& out, const QString& what);

    std::array<uint8_t, emu::kEepromSize> eeprom_{};
    QByteArray firmwareId_;
    uint8_t status_ = 0;
    int address_ = 0;
    int resetCount_ = 0;
    int bytesReceived_ = 0;
    bool disconnected_ = false;
    bool unplugged_ = false;
    int bytesLost_ = 0;
    int reads_ = 0;  // read commands answered with data
    QVector<emu::Failure> failures_;
    emu::LineModel line_;

    QByteArray pending_;  // bytes of the command being received
    qint64 lastByteUs_ = 0;
    qint64 busyUntilUs_ = 0;
    QElapsedTimer clock_;
};
