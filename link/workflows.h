#pragma once
// Communications > Download and Upload: the whole conversation with the
// controller, shared by the main window and the command-line tool. Every
// message goes through the link's prompter, every screen change through its view.
#include "link/link.h"
#include "params/paramset.h"

namespace linkworkflow {
inline const char* const kDownloadTitle = "Download From EEPROM";
inline const char* const kUploadTitle = "Upload To EEPROM";
inline const char* const kDownloadedCaption = " - Downloaded Data";
inline const char* const kBufferEmptyName = "Data Buffer Empty";
constexpr int kReSyncAttempts = 5;
}  // namespace linkworkflow

// Reads the controller's configuration into the store's image and parameter set.
// True only when the download completed and decoded; on every failure after the
// overwrite question the image is empty and the parameter frames stay hidden.
bool mnuDownload_Click(ControllerLink& link, ParameterStore& store);

// Encodes the store's parameter set, programs and verifies it, resets the
// controller. True only on "Upload completed.".
bool mnuUpload_Click(ControllerLink& link, ParameterStore& store);
