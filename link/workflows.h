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
inline const char* const kDownloadTitle = "Download From EEPROM";
inline const char* const kUploadTitle = "Upload To EEPROM";
inline const char* const kCompareTitle = "Compare With Controller";
inline const char* const kDownloadedCaption = " - Downloaded Data";
inline const char* const kBufferEmptyName = "Data Buffer Empty";
// What the caller shows when a comparison finds no difference.
inline const char* const kSameConfiguration = "The controller holds this configuration.";
constexpr int kReSyncAttempts = 5;
}  // namespace linkworkflow

// Reads the controller's configuration into the store's image and parameter set.
// True only when the download completed and decoded; on every failure after the
// overwrite question the image is empty and the parameter frames stay hidden.
bool mnuDownload_Click(ControllerLink& link, ParameterStore& store);

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
// controller. True only on "Upload completed.". With options.backupFolder set, the
// backup comes between the firmware check and programming; `backupFile` (when
// given) receives the path of the backup written, empty when none was.
bool mnuUpload_Click(ControllerLink& link, ParameterStore& store, const UploadOptions& options = {},
                     QString* backupFile = nullptr);

// Why a comparison with the controller has no result. Every failure has been told
// to the person through the prompter already, except Status (prompted by the
// link) and Stopped (the person asked for it).
enum class CompareFailure {
    None,
    NoConfiguration,  // nothing loaded to compare with
    NoLink,           // no answer to the resync
    Status,           // the status read failed (prompted by the link)
    Armed,
    FirmwareRead,
    FirmwareInvalid,
    Stopped,          // Esc / Ctrl+C during the checks
    ReadFailed,       // the block read failed or was stopped
    Undecodable,      // the controller's block or the configuration does not fit the parameters
};

struct CompareOutcome {
    CompareFailure failure = CompareFailure::None;
    report::Comparison differences;  // left: the controller, right: this configuration
    ImageBuffer controller;          // the block read (BufferEmpty false when complete)
    explicit operator bool() const { return failure == CompareFailure::None; }
};

// Reads the controller's block (link, armed and firmware checks, "Firmware ID: "
// shown, progress, Esc, as a download) into a scratch image and compares it with
// `configuration`'s offsets 16 to 159. Nothing of the caller's changes.
CompareOutcome compareWithController(ControllerLink& link, const ImageBuffer& configuration);

// The form the window and the command line use: compares with exactly what an
// upload of the store writes (imageToUpload).
// The store's image, parameter set and caption are not touched; an empty buffer
// gives NoConfiguration (said, without any serial traffic).
CompareOutcome compareWithController(ControllerLink& link, const ParameterStore& store);
