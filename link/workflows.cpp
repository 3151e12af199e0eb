#include "link/workflows.h"

#include "params/codec.h"

using namespace linkworkflow;

namespace {

void warn(ControllerLink& link, const char* title, const QString& text, PromptIcon icon = PromptIcon::Exclamation)
{
    link.prompter().message(text, QString::fromLatin1(title), PromptButtons::OK, icon);
}

// Tries to reach the controller a few times. Stops early when the person
// aborted a prompt on the way (a port that cannot be opened), so one refusal
// is not followed by four more of the same prompt.
void reSyncWithRetries(ControllerLink& link)
{
    link.clearAbort();
    for (int i = 0; i < kReSyncAttempts; ++i) {
        link.ReSync();
        if (link.state().LinkOK || link.abortedByUser())
            return;
    }
}

}  // namespace

bool mnuDownload_Click(ControllerLink& link, ParameterStore& store)
{
    LinkState& st = link.state();
    LinkView& view = link.view();
    const QString title = QString::fromLatin1(kDownloadTitle);

    if (!store.image.BufferEmpty) {
        const PromptAnswer a = link.prompter().message(QStringLiteral("Data buffer not empty. OK to overwrite?"),
                                                       title, PromptButtons::OKCancel, PromptIcon::None);
        if (a != PromptAnswer::OK)
            return false;
    }
    store.image.ClearEEPROMBuffer();
    view.hideParameterFrames();
    store.DataSourceName = QString::fromLatin1(kBufferEmptyName);
    view.setCaption(store.MainCaption + QStringLiteral(" - ") + store.DataSourceName);

    reSyncWithRetries(link);
    if (!st.LinkOK) {
        warn(link, kDownloadTitle, QStringLiteral("Cannot establish RS-232 link. Check cable and controller power."));
        link.closePort();
        return false;
    }
    const int status = link.ReadStatus();
    if (!st.LinkOK) {
        link.closePort();
        return false;  // the timeout has been reported already
    }
    if (status >= 2) {
        warn(link, kDownloadTitle, QStringLiteral("Cannot download while controller is armed."));
        link.closePort();
        return false;
    }
    link.ReadFirmwareID();
    if (!st.LinkOK) {
        warn(link, kDownloadTitle, QStringLiteral("Firmware ID read failed - cannot download."));
        link.closePort();
        return false;
    }
    if (st.FirmwareID.isEmpty()) {
        warn(link, kDownloadTitle, QStringLiteral("Invalid firmware ID - cannot download."));
        link.closePort();
        return false;
    }
    warn(link, kDownloadTitle, QStringLiteral("Firmware ID: ") + st.FirmwareID);

    link.ReadEEPROMData(store.image);
    if (!st.LinkOK) {
        warn(link, kDownloadTitle, QStringLiteral("Download failed."));
        store.image.ClearEEPROMBuffer();
        link.closePort();
        return false;
    }
    // An image the parameter set cannot hold ends like any failed download: no
    // half-decoded set, no buffer that claims to hold data.
    const CodecResult decoded = UpdateParams(store.image, store.params);
    if (!decoded) {
        warn(link, kDownloadTitle, QStringLiteral("Download failed.\n") + decoded.message());
        store.image.ClearEEPROMBuffer();
        return false;
    }
    view.refreshEditor();
    view.setCaption(store.MainCaption + QString::fromLatin1(kDownloadedCaption));
    return true;
}

bool mnuUpload_Click(ControllerLink& link, ParameterStore& store)
{
    LinkState& st = link.state();

    if (store.image.BufferEmpty) {
        warn(link, kUploadTitle, QStringLiteral("No data available for uploading."));
        return false;
    }
    reSyncWithRetries(link);
    if (!st.LinkOK) {
        warn(link, kUploadTitle, QStringLiteral("Cannot establish RS-232 link. Check cable and controller power."));
        link.closePort();
        return false;
    }
    const int status = link.ReadStatus();
    if (!st.LinkOK) {
        link.closePort();
        return false;
    }
    if (status >= 2) {
        warn(link, kUploadTitle, QStringLiteral("Cannot upload while controller is armed."));
        link.closePort();
        return false;
    }
    link.ReadFirmwareID();
    if (!st.LinkOK) {
        warn(link, kUploadTitle, QStringLiteral("Firmware ID read failed - cannot upload."));
        link.closePort();
        return false;
    }
    if (st.FirmwareID.isEmpty()) {
        warn(link, kUploadTitle, QStringLiteral("Invalid firmware ID - cannot upload."));
        link.closePort();
        return false;
    }
    if (st.ProductName == QLatin1String("Unknown")) {
        warn(link, kUploadTitle, QStringLiteral("Unknown product firmware ID - cannot upload."));
        link.closePort();
        return false;
    }
    // The encoder checks every value first and changes nothing when one does
    // not fit, so nothing half-encoded can reach the controller.
    const CodecResult encoded = UpdateEEPROM(store.params, store.image);
    if (!encoded) {
        warn(link, kUploadTitle, encoded.message());
        link.closePort();
        return false;
    }
    link.WriteEEPROMData(store.image);
    if (!st.LinkOK) {
        warn(link, kUploadTitle, QStringLiteral("Upload aborted - EEPROM programming failed."),
             PromptIcon::Information);
        link.closePort();
        return false;
    }
    if (st.VerifyErrors != 0) {
        warn(link, kUploadTitle, QStringLiteral("Upload aborted - EEPROM verification failed."),
             PromptIcon::Information);
        link.closePort();
        return false;
    }
    link.ResetController();
    if (!st.LinkOK) {
        warn(link, kUploadTitle, QStringLiteral("Upload aborted - Reset Shift Light Controller failed"));
        link.closePort();
        return false;
    }
    warn(link, kUploadTitle, QStringLiteral("Upload completed."));
    link.closePort();
    return true;
}
