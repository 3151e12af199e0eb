#include "link/workflows.h"

#include "link/backup.h"
#include "params/codec.h"

#include <QDir>

using namespace linkworkflow;

namespace {

void warn(ControllerLink& link, const char* title, const QString& text, PromptIcon icon = PromptIcon::Exclamation)
{
    link.prompter().message(text, QString::fromLatin1(title), PromptButtons::OK, icon);
}

// What a workflow is called in its messages: the box title and the verb of
// "cannot download", "cannot upload", "cannot compare".
struct Transfer {
    const char* title;
    const char* verb;
};
const Transfer kDownload{kDownloadTitle, "download"};
const Transfer kUpload{kUploadTitle, "upload"};
const Transfer kCompare{kCompareTitle, "compare"};

// Esc or Ctrl+C seen while the link was checked: the person wants out, so no
// further check runs and nothing is said for it. The flag is used up.
bool stoppedByUser(ControllerLink& link)
{
    if (!link.state().UserAbort)
        return false;
    link.state().UserAbort = false;
    return true;
}

// Tries to reach the controller a few times. Stops early when the person
// aborted a prompt on the way (a port that cannot be opened), so one refusal
// is not followed by four more of the same prompt, or pressed Esc / Ctrl+C,
// which is seen between the tries.
void reSyncWithRetries(ControllerLink& link)
{
    link.clearAbort();
    for (int i = 0; i < kReSyncAttempts; ++i) {
        link.ReSync();
        if (link.state().LinkOK || link.abortedByUser())
            return;
        link.yield();
        if (link.state().UserAbort)
            return;
    }
}

enum class Check { Ok, NoLink, Status, Armed, FirmwareRead, FirmwareInvalid, UnknownProduct, Stopped };

// The checks every transfer starts with: the link, the status, the firmware ID.
// Each refusal is said here, in the transfer's own words.
Check checkController(ControllerLink& link, const Transfer& t, bool shiftLightOnly)
{
    LinkState& st = link.state();
    // An Esc pressed before the transfer began is no reason to stop it.
    st.UserAbort = false;
    const auto refuse = [&](const char* text) {
        warn(link, t.title, QString::fromLatin1(text).arg(QLatin1String(t.verb)));
    };
    reSyncWithRetries(link);
    if (stoppedByUser(link))
        return Check::Stopped;
    if (!st.LinkOK) {
        warn(link, t.title, QStringLiteral("Cannot establish RS-232 link. Check cable and controller power."));
        return Check::NoLink;
    }
    const int status = link.ReadStatus();
    if (!st.LinkOK)
        return Check::Status;  // the timeout has been reported already
    // 0 and 1: not armed; 2 and above: armed.
    if (status >= 2) {
        refuse("Cannot %1 while controller is armed.");
        return Check::Armed;
    }
    link.ReadFirmwareID();
    if (!st.LinkOK) {
        refuse("Firmware ID read failed - cannot %1.");
        return Check::FirmwareRead;
    }
    if (st.FirmwareID.isEmpty()) {
        refuse("Invalid firmware ID - cannot %1.");
        return Check::FirmwareInvalid;
    }
    if (shiftLightOnly && st.ProductName == QLatin1String("Unknown")) {
        refuse("Unknown product firmware ID - cannot %1.");
        return Check::UnknownProduct;
    }
    if (stoppedByUser(link))
        return Check::Stopped;
    return Check::Ok;
}

CompareFailure compareFailure(Check c)
{
    switch (c) {
    case Check::Ok: return CompareFailure::None;
    case Check::NoLink: return CompareFailure::NoLink;
    case Check::Status: return CompareFailure::Status;
    case Check::Armed: return CompareFailure::Armed;
    case Check::FirmwareRead: return CompareFailure::FirmwareRead;
    case Check::FirmwareInvalid:
    case Check::UnknownProduct: return CompareFailure::FirmwareInvalid;
    case Check::Stopped: return CompareFailure::Stopped;
    }
    return CompareFailure::FirmwareInvalid;
}

// Both images decoded and compared. An image that does not decode leaves the
// parameters out: every differing byte is then listed by its offset.
report::Comparison compareImages(const ImageBuffer& left, const ImageBuffer& right, QString* decodeError)
{
    ParameterSet l, r;
    const CodecResult dl = UpdateParams(left, l);
    const CodecResult dr = UpdateParams(right, r);
    if (dl && dr)
        return report::compare(left, l, right, r);
    if (decodeError)
        *decodeError = (dl ? dr : dl).message();
    ParameterSet same;
    return report::compare(left, same, right, same);
}

// The question before programming, as a plain message box.
bool askInBox(ControllerLink& link, const report::Comparison& changes, const QString& backupFile)
{
    QString text = QStringLiteral("The controller's configuration was saved as %1.\n\n").arg(QDir::toNativeSeparators(backupFile));
    if (changes.same()) {
        text += QStringLiteral("The controller already holds this configuration.");
    } else {
        text += QStringLiteral("The upload will change (controller -> this configuration):\n");
        for (const QString& line : report::differenceLines(changes))
            text += line + QLatin1Char('\n');
    }
    text += QStringLiteral("\nGo on with the upload?");
    return link.prompter().message(text, QString::fromLatin1(kUploadTitle), PromptButtons::YesNo,
                                   PromptIcon::Question) == PromptAnswer::Yes;
}

// Reads the controller's block into a backup file, then shows what the upload
// will change and asks. True to go on with programming.
bool backUpAndConfirm(ControllerLink& link, const ImageBuffer& toWrite, const UploadOptions& options,
                      QString* backupFile)
{
    ImageBuffer before;
    link.ReadEEPROMData(before);
    QString why;
    QString path;
    if (!link.state().LinkOK) {
        why = QStringLiteral("The controller's configuration could not be read for the backup.");
    } else {
        const QDateTime when = options.clock ? options.clock() : QDateTime::currentDateTime();
        path = backup::write(options.backupFolder, when, before.configBlock(), &why);
    }
    if (path.isEmpty()) {
        if (!options.confirm) {
            warn(link, kUploadTitle, QStringLiteral("No backup was made: %1 Nothing was written to the controller.").arg(why));
            return false;
        }
        return link.prompter().message(why + QStringLiteral("\n\nUpload without a backup?"),
                                       QString::fromLatin1(kUploadTitle), PromptButtons::YesNo,
                                       PromptIcon::Exclamation) == PromptAnswer::Yes;
    }
    if (backupFile)
        *backupFile = path;
    if (!options.confirm)
        return true;
    const report::Comparison changes = compareImages(before, toWrite, nullptr);
    return options.confirmChanges ? options.confirmChanges(changes, path) : askInBox(link, changes, path);
}

}  // namespace

bool mnuDownload_Click(ControllerLink& link, ParameterStore& store)
{
    LinkView& view = link.view();
    if (!store.image.BufferEmpty) {
        const PromptAnswer a = link.prompter().message(QStringLiteral("Data buffer not empty. OK to overwrite?"),
                                                       QString::fromLatin1(kDownloadTitle), PromptButtons::OKCancel,
                                                       PromptIcon::None);
        if (a != PromptAnswer::OK)
            return false;
    }
    store.image.ClearEEPROMBuffer();
    view.hideParameterFrames();
    store.DataSourceName = QString::fromLatin1(kBufferEmptyName);
    view.setCaption(store.MainCaption + QStringLiteral(" - ") + store.DataSourceName);

    const PortCloser closer(link);
    if (checkController(link, kDownload, false) != Check::Ok)
        return false;
    warn(link, kDownloadTitle, QStringLiteral("Firmware ID: ") + link.state().FirmwareID);

    link.ReadEEPROMData(store.image);
    if (!link.state().LinkOK) {
        warn(link, kDownloadTitle, QStringLiteral("Download failed."));
        store.image.ClearEEPROMBuffer();
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

bool mnuUpload_Click(ControllerLink& link, ParameterStore& store, const UploadOptions& options, QString* backupFile)
{
    LinkState& st = link.state();
    if (backupFile)
        backupFile->clear();
    if (store.image.BufferEmpty) {
        warn(link, kUploadTitle, QStringLiteral("No data available for uploading."));
        return false;
    }
    const PortCloser closer(link);
    if (checkController(link, kUpload, true) != Check::Ok)
        return false;
    // The encoder checks every value first and changes nothing when one does
    // not fit, so nothing half-encoded can reach the controller.
    const CodecResult encoded = UpdateEEPROM(store.params, store.image);
    if (!encoded) {
        warn(link, kUploadTitle, encoded.message());
        return false;
    }
    if (!options.backupFolder.isEmpty() && !backUpAndConfirm(link, store.image, options, backupFile))
        return false;
    link.WriteEEPROMData(store.image);
    if (!st.LinkOK) {
        warn(link, kUploadTitle, QStringLiteral("Upload aborted - EEPROM programming failed."), PromptIcon::Information);
        return false;
    }
    if (st.VerifyErrors != 0) {
        warn(link, kUploadTitle, QStringLiteral("Upload aborted - EEPROM verification failed."),
             PromptIcon::Information);
        return false;
    }
    link.ResetController();
    if (!st.LinkOK) {
        warn(link, kUploadTitle, QStringLiteral("Upload aborted - Reset Shift Light Controller failed"));
        return false;
    }
    warn(link, kUploadTitle, QStringLiteral("Upload completed."));
    return true;
}

CompareOutcome compareWithController(ControllerLink& link, const ImageBuffer& configuration)
{
    CompareOutcome out;
    const PortCloser closer(link);
    out.failure = compareFailure(checkController(link, kCompare, false));
    if (!out)
        return out;
    warn(link, kCompareTitle, QStringLiteral("Firmware ID: ") + link.state().FirmwareID);
    link.ReadEEPROMData(out.controller);
    if (!link.state().LinkOK) {
        warn(link, kCompareTitle, QStringLiteral("Compare failed."));
        out.failure = CompareFailure::ReadFailed;
        return out;
    }
    QString decodeError;
    out.differences = compareImages(out.controller, configuration, &decodeError);
    if (!decodeError.isEmpty()) {
        warn(link, kCompareTitle, QStringLiteral("Compare failed.\n") + decodeError);
        out.failure = CompareFailure::Undecodable;
    }
    return out;
}

CompareOutcome compareWithController(ControllerLink& link, const ParameterStore& store)
{
    CompareOutcome out;
    if (store.image.BufferEmpty) {
        warn(link, kCompareTitle, QStringLiteral("No data available for comparing."));
        out.failure = CompareFailure::NoConfiguration;
        return out;
    }
    // What an upload would write: the parameter set encoded over the loaded image.
    ParameterSet params = store.params;
    ImageBuffer configuration = store.image;
    const CodecResult encoded = UpdateEEPROM(params, configuration);
    if (!encoded) {
        warn(link, kCompareTitle, encoded.message());
        out.failure = CompareFailure::Undecodable;
        return out;
    }
    return compareWithController(link, configuration);
}
