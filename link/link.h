#pragma once
// The controller's command protocol: the single-transaction primitives, the
// EEPROM block transfers and the line-error report, over any Port.
//
// Every primitive and block transfer returns what it got, or why it got
// nothing. A reply that does not come within the deadline is reported through
// the common error prompt (Abort / Retry / Ignore), except for ReSync, whose
// silence the workflows handle themselves, and except when the port itself is
// gone: that is not worth a retry, and the workflow says it.
#include "link/port.h"
#include "params/paramset.h"
#include "core/prompter.h"

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <initializer_list>

// The protocol's timing. Tests shorten the deadline; everything else keeps the defaults.
struct LinkTiming {
    int replyDeadlineMs = 1000;  // from the last command byte to the reply
    int pauseMs = 2;             // between command bytes, after replies, between block bytes
    int yieldSliceMs = 5;        // longest block on the port before the event loop runs again
};

// What the link shares with the rest of the program.
struct LinkState {
    int PortNumber = 1;       // Com n, 1 to 255
    QString DevicePath;       // when set, opened instead of Com PortNumber (command-line --port)
    int CommErrorCount = 0;   // line errors reported since start-up
    QString FirmwareID;
    QString ProductName;
    bool UserAbort = false;   // Esc (or Ctrl+C) seen; the read and verify loops stop and clear it
    // The stop signal (SIGINT, SIGTERM, SIGHUP) that asked the program to stop, 0 for none.
    // Unlike Esc it also ends an upload after programming: the pass is finished,
    // then nothing more is sent and the person is told what the controller holds.
    int StopSignal = 0;
};

// Why a primitive or a block transfer has no result.
enum class LinkError {
    None,
    NoPort,    // the port could not be opened (said through the prompt)
    NoReply,   // no reply before the deadline (said through the prompt, except for a resync)
    Refused,   // a reply other than the one expected (06): not said
    Stopped,   // Esc or a stop signal stopped a read or verify pass
    PortLost,  // the device went away while open (an adapter pulled out): not said, not retried
};

// What a primitive got: the controller's byte, or why there is none.
struct LinkResult {
    LinkError error = LinkError::None;
    uint8_t value = 0;  // the reply byte (the status, the data byte); 0 without one
    explicit operator bool() const { return error == LinkError::None; }
};

// What programming and its verify pass found.
struct ProgramResult {
    LinkError error = LinkError::None;  // programming's; None when every byte was acknowledged
    int programmed = 0;                 // bytes acknowledged, from the first address on
    LinkError verifyError = LinkError::None;  // why the verify pass stopped short; None when it ran through
    int verifyErrors = 0;  // bytes that differ, plus one for a pass cut short; 0 = the controller holds the block
    bool verified() const { return error == LinkError::None && verifyErrors == 0; }
};

// What a transfer shows and changes on the screen. The main window and the
// command-line tool implement it, so both run the same workflows.
class LinkView {
public:
    virtual ~LinkView() = default;
    // Shows the progress display with this caption and value 0, painted at once.
    virtual void showProgress(const QString& caption) = 0;
    // While the link to the controller on `device` is checked, which takes some
    // seconds when nothing answers; hideProgress() ends it. Views without a
    // screen say nothing.
    virtual void showConnecting(const QString& device) { (void)device; }
    virtual void setProgress(int percent) = 0;
    virtual void hideProgress() = 0;
    // Hides the scale factor and single-stage frames (the multi-stage frame keeps
    // its visibility) while the buffer holds nothing to show.
    virtual void hideParameterFrames() = 0;
    virtual void setCaption(const QString& caption) = 0;
    // Writes the decoded parameter set into the editor and shows its frames again.
    virtual void refreshEditor() = 0;
};

// A view that shows nothing, for callers without a screen.
class NullLinkView : public LinkView {
public:
    void showProgress(const QString&) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
    void hideParameterFrames() override {}
    void setCaption(const QString&) override {}
    void refreshEditor() override {}
};

namespace linkproto {
constexpr uint8_t kReSync = 0x33;
constexpr uint8_t kReadStatus = 0x2E;
constexpr uint8_t kReadFirmwareID = 0x10;
constexpr uint8_t kSetAddress = 0x14;
constexpr uint8_t kReadByte = 0x15;
constexpr uint8_t kWriteByte = 0x16;
constexpr uint8_t kReset = 0x34;
// The controller resets only when these four bytes follow 0x34, so a stray 0x34
// on a noisy line cannot restart it.
constexpr uint8_t kResetConfirmation[4] = {0x5A, 0xA5, 0x3C, 0xC3};
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kCR = 0x0D;

constexpr int kFirstAddress = kConfigFirst;  // 16
constexpr int kLastAddress = kConfigLast;    // 159
}  // namespace linkproto

// Texts of the link's own errors and reports. The window shows them in the person's
// language (said()); the command-line tool, which installs no translator, as written.
namespace linktext {
inline QString said(const char* text) { return QCoreApplication::translate("link", text); }
inline const char* const kRs232Timeout = QT_TRANSLATE_NOOP("link", "RS-232 timeout. Check cable and click Abort.");
inline const char* const kComPortTimeout = QT_TRANSLATE_NOOP("link", "COM port timeout. Check cable and click Abort.");
inline const char* const kCommErrorTitle = QT_TRANSLATE_NOOP("link", "Communications Error");
inline const char* const kReadingCaption = QT_TRANSLATE_NOOP("link", "Reading EEPROM");
inline const char* const kProgrammingCaption = QT_TRANSLATE_NOOP("link", "Programming EEPROM");
inline const char* const kVerifyingCaption = QT_TRANSLATE_NOOP("link", "Verifying EEPROM");
inline const char* const kRereadingCaption = QT_TRANSLATE_NOOP("link", "Reading EEPROM again");
// Said after a step's own message when the port went away under a transfer.
QString portLostText(const QString& device);
// Said below "Cannot establish RS-232 link...": the port tried (`opened`: it
// opened, but no controller answered on it) and where to choose another.
QString noControllerText(const QString& device, bool opened, const QString& choosePortHint);
// The report of a line error, empty for events that are not reported (break).
QString lineErrorText(LineError error);
}  // namespace linktext

// Progress shown after the byte at `address`: address x 100 / 143, rounded,
// limited to 0..100 (11 at address 16, 100 from 143 on).
int transferProgress(int address);

class ControllerLink {
public:
    ControllerLink(Port& port, Prompter& prompter, LinkView& view, LinkState& state, LinkTiming timing = {});
    ~ControllerLink();
    ControllerLink(const ControllerLink&) = delete;
    ControllerLink& operator=(const ControllerLink&) = delete;

    Port& port() { return m_port; }
    Prompter& prompter() { return m_prompter; }
    LinkView& view() { return m_view; }
    LinkState& state() { return m_state; }
    const LinkTiming& timing() const { return m_timing; }

    // Primitives. ReSync, SetEEPROMAddress and ResetController fail with Refused
    // on a reply other than 06; ReadFirmwareID leaves the text in the state.
    LinkResult ReSync();
    LinkResult ReadStatus();  // value: the status byte
    LinkResult ReadFirmwareID();
    LinkResult SetEEPROMAddress(int address);
    LinkResult ReadEEPROM();  // value: the data byte
    LinkResult ResetController();
    // Waits `ms` milliseconds while the event loop keeps running.
    void DelayTimer(int ms);

    // Block transfers of addresses 16 to 159 between the controller and `image`.
    // A read shows its progress under `caption` (the second read of a checked
    // download says so); None when all 144 bytes were read.
    LinkError ReadEEPROMData(ImageBuffer& image, const char* caption = linktext::kReadingCaption);
    ProgramResult WriteEEPROMData(const ImageBuffer& image);  // programs, then verifies
    // Fills in the verify half of `result`.
    void VerifyEEPROM(const ImageBuffer& image, ProgramResult& result);

    // The report of a line error (the port calls it while a transfer waits): counts
    // it, closes the port from the third one on, and asks Retry / Cancel.
    void MSComm1_OnComm(LineError error);

    void closePort();
    // Lets the event loop run once (Esc, Ctrl+C, repaints, line errors).
    void yield();
    // True when the person answered Abort to the port-open prompt since the last clearAbort():
    // the workflows stop retrying a link the person has given up on.
    bool abortedByUser() const { return m_abortedByUser; }
    void clearAbort() { m_abortedByUser = false; }
    // The device the link opens (a path, or COMn), for the messages.
    QString deviceName() const;
    QString choosePortHint() const { return m_port.choosePortHint(); }

private:
    bool ensureOpen();
    void send(std::initializer_list<uint8_t> bytes);
    // What a wait without a reply means: the port gone (not said), or a timeout
    // (closes the port and says `text` through the prompt).
    LinkResult noReply(const char* text);
    // Blocks on the port until `count` bytes are waiting or the deadline passes;
    // true when at least one byte is waiting.
    bool waitReply(int count);
    // The same, letting the event loop run between short waits.
    bool waitReplyYielding();
    // Closes the port and shows the timeout prompt until it is answered with
    // Abort or Ignore (Retry raises the same error again).
    void raiseTimeout(const char* text);

    Port& m_port;
    Prompter& m_prompter;
    LinkView& m_view;
    LinkState& m_state;
    LinkTiming m_timing;
    bool m_abortedByUser = false;
};

// Closes the link's port when it goes out of scope, so that every way out of a
// transfer leaves the port closed.
class PortCloser {
public:
    explicit PortCloser(ControllerLink& link) : m_link(link) {}
    ~PortCloser() { m_link.closePort(); }
    PortCloser(const PortCloser&) = delete;
    PortCloser& operator=(const PortCloser&) = delete;

private:
    ControllerLink& m_link;
};
