#pragma once
// Communications > Download, Upload and Compare With Controller: the whole
// conversation with the controller, shared by the main window and the
// command-line tool. Every message goes through the link's prompter, every
// screen change through its view.
#include "link/link.h"
#include "params/paramset.h"
#include "report/compare.h"

#include <QDateTime>
#include <functional>

namespace linkworkflow {
inline const char* const kDownloadTitle = QT_TRANSLATE_NOOP("link", "Download From EEPROM");
inline const char* const kUploadTitle = QT_TRANSLATE_NOOP("link", "Upload To EEPROM");
inline const char* const kCompareTitle = QT_TRANSLATE_NOOP("link", "Compare With Controller");
// The caption's names for what is loaded; the window shows them translated (context "Document").
inline const char* const kDownloadedCaption = QT_TRANSLATE_NOOP("Document", " - Downloaded Data");
inline const char* const kBufferEmptyName = QT_TRANSLATE_NOOP("Document", "Data Buffer Empty");
// What the caller shows when a comparison finds no difference.
inline const char* const kSameConfiguration = QT_TRANSLATE_NOOP("link", "The controller holds this configuration.");
constexpr int kReSyncAttempts = 5;
// A download, a compare and a backup read the block until two reads agree, at most this often.
constexpr int kMaxBlockReads = 4;
}  // namespace linkworkflow

// How a download, an upload or a comparison ended. The window and the command
// line map the kind to their own words and exit codes; what the person had to
// be told has been told through the link's prompter already, except where a
// kind says otherwise.
enum class TransferKind {
    Completed,
    Declined,         // the person said no: overwrite, go on, upload without a backup
    NoData,           // nothing loaded to upload or compare (said)
    NoLink,           // no answer to the resync
    StatusFailed,     // the status read failed (prompted by the link)
    Armed,
    FirmwareRead,
    FirmwareInvalid,  // an empty firmware ID
    UnknownProduct,   // not a shift light controller (upload only)
    Stopped,          // Esc or a stop signal: not said by the workflow, except after programming
    ReadFailed,       // the block read failed or was stopped
    Unreliable,       // no two reads of the block agreed
    Undecodable,      // a block or the configuration does not fit the parameters
    Unencodable,      // the parameter set does not encode
    BackupFailed,     // the backup before an upload could not be made (command line: nothing written)
    ProgrammingFailed,
    VerifyFailed,
    ResetFailed,
    PortLost,         // the port went away during the transfer
};

// What the controller holds after an upload ended.
enum class ControllerHolds {
    Unchanged,      // nothing was written
    PartBlock,      // programming was cut short: some new bytes, some old
    NewBlock,       // the whole new block, not (or not fully) verified, not reset
    VerifiedBlock,  // the whole new block, verified, not reset
    NewAndReset,    // the upload completed
};

struct TransferOutcome {
    TransferKind kind = TransferKind::Completed;
    ControllerHolds holds = ControllerHolds::Unchanged;
    report::Comparison differences;  // compare: left the controller, right this configuration
    ImageBuffer controller;          // compare: the block read (BufferEmpty false when complete)
    QString backupFile;              // upload: the backup written, empty when none was
    explicit operator bool() const { return kind == TransferKind::Completed; }
};
// The name compare's callers know it by.
using CompareOutcome = TransferOutcome;

// Reads the controller's configuration into the store's image and parameter set:
// the block is read twice, and again (a few times at most) until two reads agree.
// Completed only when the download completed and decoded; on every failure after
// the overwrite question the image is empty and the parameter frames stay hidden.
TransferOutcome runDownload(ControllerLink& link, ParameterStore& store);

// The backup an upload can make first, and the question it can ask.
struct UploadOptions {
    // Empty: no backup and no question; the upload is the plain one. Otherwise the
    // controller's block is read first (with the download's checks) and kept in this
    // folder as YYYY-MM-DD_HHMMSS.dat, never over an existing file.
    QString backupFolder;
    // With a backup folder: show what the upload will change and ask whether to go
    // on, and when the backup cannot be made, say why and ask whether to upload
    // without one. False (the command line): no question; the upload goes on after
    // a backup and ends, with nothing written, when the backup cannot be made.
    bool confirm = true;
    // How the changes are shown and the question asked (controller on the left,
    // the block to be written on the right, the backup's path); true goes on. When
    // empty, the changes are listed in a Yes / No message box.
    std::function<bool(const report::Comparison& changes, const QString& backupFile)> confirmChanges;
    // The backup's time stamp; the current local time when empty.
    std::function<QDateTime()> clock;
};

// Encodes the store's parameter set, programs and verifies it, resets the
// controller. Completed only on "Upload completed.". With options.backupFolder
// set, the backup comes between the firmware check and programming, and the
// outcome names the backup written. A stop signal during programming lets the
// block be finished, then ends with Stopped and NewBlock, said to the person.
TransferOutcome runUpload(ControllerLink& link, ParameterStore& store, const UploadOptions& options = {});

// Reads the controller's block (link, armed and firmware checks, "Firmware ID: "
// shown, progress, Esc, and the second read, as a download) into a scratch
// image and compares it with `configuration`'s offsets 16 to 159. Nothing of
// the caller's changes.
TransferOutcome compareWithController(ControllerLink& link, const ImageBuffer& configuration);

// The form the window and the command line use: compares with exactly what an
// upload of the store writes (imageToUpload).
// The store's image, parameter set and caption are not touched; an empty buffer
// gives NoData (said, without any serial traffic).
TransferOutcome compareWithController(ControllerLink& link, const ParameterStore& store);
