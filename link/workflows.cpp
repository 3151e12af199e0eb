#include "link/workflows.h"
#include "link/say.h"

#include "link/backup.h"
#include "params/codec.h"

#include <QCoreApplication>
#include <QDir>

using namespace linkworkflow;

namespace {

using linktext::said;

void warn(ControllerLink& link, const char* title, const QString& text, PromptIcon icon = PromptIcon::Exclamation)
{
    link.prompter().message(text, said(title), PromptButtons::OK, icon);
}

// What a workflow is called in its messages: the box title and the verb of
// "cannot download", "cannot upload", "cannot compare".
struct Transfer {
    const char* title;
    const char* verb;
};
//: The verb of "cannot download": a translation may give the noun its sentences need.
const Transfer kDownload{kDownloadTitle, QT_TRANSLATE_NOOP("link", "download")};
//: The verb of "cannot upload".
const Transfer kUpload{kUploadTitle, QT_TRANSLATE_NOOP("link", "upload")};
//: The verb of "cannot compare".
const Transfer kCompare{kCompareTitle, QT_TRANSLATE_NOOP("link", "compare")};

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
// is not followed by four more of the same prompt, when the port is gone, or
// when Esc / Ctrl+C was pressed, which is seen between the tries.
LinkResult reSyncWithRetries(ControllerLink& link)
{
    link.clearAbort();
    LinkResult r;
    for (int i = 0; i < kReSyncAttempts; ++i) {
        r = link.ReSync();
        if (r || r.error == LinkError::PortLost || link.abortedByUser())
            return r;
        link.yield();
        if (link.state().UserAbort)
            return r;
    }
    return r;
}

// The step's own message, then that the port is gone (no message: only that).
void sayPortLost(ControllerLink& link, const char* title, const QString& stepText = QString(),
                 const QString& after = QString())
{
    QString text = linktext::portLostText(link.deviceName());
    if (!stepText.isEmpty())
        text = stepText + QLatin1Char('\n') + text;
    if (!after.isEmpty())
        text += QLatin1Char(' ') + after;
    warn(link, title, text);
}

// The checks every transfer starts with: the link, the status, the firmware ID.
// Each refusal is said here, in the transfer's own words. Completed: all passed.
TransferKind checkController(ControllerLink& link, const Transfer& t, bool shiftLightOnly)
{
    LinkState& st = link.state();
    // An Esc pressed before the transfer began is no reason to stop it.
    st.UserAbort = false;
    const auto text = [&](const char* words) { return said(words).arg(said(t.verb)); };
    const auto refuse = [&](const char* words) { warn(link, t.title, text(words)); };
    const QString noLink = LinkSay::tr("Cannot establish RS-232 link. Check cable and controller power.");
    link.view().showConnecting(link.deviceName());
    const LinkResult synced = reSyncWithRetries(link);
    link.view().hideProgress();
    if (stoppedByUser(link))
        return TransferKind::Stopped;
    if (synced.error == LinkError::PortLost) {
        sayPortLost(link, t.title, noLink);
        return TransferKind::PortLost;
    }
    if (!synced) {
        // The first run uses Com1, rarely the controller's port: the words the
        // controller's manual knows, then which port was tried and where to change it.
        warn(link, t.title,
             noLink + QLatin1Char('\n')
                 + linktext::noControllerText(link.deviceName(), synced.error != LinkError::NoPort,
                                              link.choosePortHint()));
        return TransferKind::NoLink;
    }
    const LinkResult status = link.ReadStatus();
    if (status.error == LinkError::PortLost) {
        sayPortLost(link, t.title);
        return TransferKind::PortLost;
    }
    if (!status)
        return TransferKind::StatusFailed;  // the timeout has been reported already
    // 0 and 1: not armed; 2 and above: armed.
    if (status.value >= 2) {
        refuse(QT_TRANSLATE_NOOP("link", "Cannot %1 while controller is armed."));
        return TransferKind::Armed;
    }
    const LinkResult firmware = link.ReadFirmwareID();
    if (firmware.error == LinkError::PortLost) {
        sayPortLost(link, t.title, text(QT_TRANSLATE_NOOP("link", "Firmware ID read failed - cannot %1.")));
        return TransferKind::PortLost;
    }
    if (!firmware) {
        refuse(QT_TRANSLATE_NOOP("link", "Firmware ID read failed - cannot %1."));
        return TransferKind::FirmwareRead;
    }
    if (st.FirmwareID.isEmpty()) {
        refuse(QT_TRANSLATE_NOOP("link", "Invalid firmware ID - cannot %1."));
        return TransferKind::FirmwareInvalid;
    }
    if (shiftLightOnly && st.ProductName == QLatin1String("Unknown")) {
        refuse(QT_TRANSLATE_NOOP("link", "Unknown product firmware ID - cannot %1."));
        return TransferKind::UnknownProduct;
    }
    if (stoppedByUser(link))
        return TransferKind::Stopped;
    return TransferKind::Completed;
}

// Reads the block into `image`, then again until two reads agree: the protocol
// has no checksum, and a byte read wrong once must not become the truth. The
// first read is the plain one; nothing is said here.
TransferKind readBlockChecked(ControllerLink& link, ImageBuffer& image, int* reads)
{
    // A read stopped by Esc is a failed read, as the person is told ("Download failed.").
    const auto kindOf = [](LinkError e) {
        return e == LinkError::PortLost ? TransferKind::PortLost : TransferKind::ReadFailed;
    };
    *reads = 1;
    if (const LinkError e = link.ReadEEPROMData(image); e != LinkError::None)
        return kindOf(e);
    QList<QByteArray> seen{image.configBlock()};
    while (*reads < kMaxBlockReads) {
        ImageBuffer again;
        ++*reads;
        if (const LinkError e = link.ReadEEPROMData(again, linktext::kRereadingCaption); e != LinkError::None) {
            image.ClearEEPROMBuffer();
            return kindOf(e);
        }
        const QByteArray block = again.configBlock();
        if (seen.contains(block)) {
            image = again;
            return TransferKind::Completed;
        }
        seen << block;
    }
    image.ClearEEPROMBuffer();
    return TransferKind::Unreliable;
}

QString unreliableText(int reads)
{
    return LinkSay::tr("The line to the controller is unreliable: %1 reads of the configuration gave %1 different "
                   "results. Check the cable, its plugs and the adapter, then try again.")
        .arg(reads);
}

// Says why a checked read failed, after the transfer's own failure words.
void sayReadFailed(ControllerLink& link, const char* title, const QString& failed, TransferKind kind, int reads)
{
    if (kind == TransferKind::PortLost)
        sayPortLost(link, title, failed);
    else if (kind == TransferKind::Unreliable)
        warn(link, title, failed + QLatin1Char('\n') + unreliableText(reads));
    else
        warn(link, title, failed);
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
    QString text = LinkSay::tr("The controller's configuration was saved as %1.\n\n").arg(QDir::toNativeSeparators(backupFile));
    if (changes.same()) {
        text += LinkSay::tr("The controller already holds this configuration.");
    } else {
        text += LinkSay::tr("The upload will change (controller -> this configuration):\n");
        for (const QString& line : report::differenceLines(changes))
            text += line + QLatin1Char('\n');
    }
    text += LinkSay::tr("\nGo on with the upload?");
    return link.prompter().message(text, said(kUploadTitle), PromptButtons::YesNo,
                                   PromptIcon::Question) == PromptAnswer::Yes;
}

// Reads the controller's block into a backup file, then shows what the upload
// will change and asks. Completed to go on with programming.
TransferKind backUpAndConfirm(ControllerLink& link, const ImageBuffer& toWrite, const UploadOptions& options,
                              QString* backupFile)
{
    ImageBuffer before;
    int reads = 0;
    const TransferKind read = readBlockChecked(link, before, &reads);
    if (read == TransferKind::PortLost) {
        sayPortLost(link, kUploadTitle, QString(), LinkSay::tr("No backup was made, and nothing was written to the controller."));
        return TransferKind::PortLost;
    }
    QString why;
    QString path;
    if (read == TransferKind::Unreliable) {
        why = unreliableText(reads);
    } else if (read != TransferKind::Completed) {
        why = LinkSay::tr("The controller's configuration could not be read for the backup.");
    } else {
        const QDateTime when = options.clock ? options.clock() : QDateTime::currentDateTime();
        path = backup::write(options.backupFolder, when, before.configBlock(), &why);
    }
    if (path.isEmpty()) {
        if (!options.confirm) {
            warn(link, kUploadTitle, LinkSay::tr("No backup was made: %1 Nothing was written to the controller.").arg(why));
            return TransferKind::BackupFailed;
        }
        return link.prompter().message(why + LinkSay::tr("\n\nUpload without a backup?"),
                                       said(kUploadTitle), PromptButtons::YesNo,
                                       PromptIcon::Exclamation) == PromptAnswer::Yes
                   ? TransferKind::Completed
                   : TransferKind::Declined;
    }
    *backupFile = path;
    if (!options.confirm)
        return TransferKind::Completed;
    const report::Comparison changes = compareImages(before, toWrite, nullptr);
    const bool goOn = options.confirmChanges ? options.confirmChanges(changes, path) : askInBox(link, changes, path);
    return goOn ? TransferKind::Completed : TransferKind::Declined;
}

TransferOutcome ended(TransferKind kind, ControllerHolds holds = ControllerHolds::Unchanged)
{
    TransferOutcome out;
    out.kind = kind;
    out.holds = holds;
    return out;
}

}  // namespace

TransferOutcome runDownload(ControllerLink& link, ParameterStore& store)
{
    LinkView& view = link.view();
    if (!store.image.BufferEmpty) {
        const PromptAnswer a = link.prompter().message(LinkSay::tr("Data buffer not empty. OK to overwrite?"),
                                                       said(kDownloadTitle), PromptButtons::OKCancel,
                                                       PromptIcon::None);
        if (a != PromptAnswer::OK)
            return ended(TransferKind::Declined);
    }
    store.image.ClearEEPROMBuffer();
    view.hideParameterFrames();
    store.DataSourceName = QString::fromLatin1(kBufferEmptyName);
    view.setCaption(store.MainCaption + QStringLiteral(" - ") + QCoreApplication::translate("Document", kBufferEmptyName));

    const PortCloser closer(link);
    if (const TransferKind checked = checkController(link, kDownload, false); checked != TransferKind::Completed)
        return ended(checked);
    warn(link, kDownloadTitle, LinkSay::tr("Firmware ID: ") + link.state().FirmwareID);

    int reads = 0;
    const TransferKind read = readBlockChecked(link, store.image, &reads);
    if (read != TransferKind::Completed) {
        sayReadFailed(link, kDownloadTitle, LinkSay::tr("Download failed."), read, reads);
        store.image.ClearEEPROMBuffer();
        return ended(read);
    }
    // An image the parameter set cannot hold ends like any failed download: no
    // half-decoded set, no buffer that claims to hold data.
    const CodecResult decoded = UpdateParams(store.image, store.params);
    if (!decoded) {
        warn(link, kDownloadTitle, LinkSay::tr("Download failed.\n") + decoded.message());
        store.image.ClearEEPROMBuffer();
        return ended(TransferKind::Undecodable);
    }
    view.refreshEditor();
    view.setCaption(store.MainCaption + QCoreApplication::translate("Document", kDownloadedCaption));
    return ended(TransferKind::Completed);
}

TransferOutcome runUpload(ControllerLink& link, ParameterStore& store, const UploadOptions& options)
{
    if (store.image.BufferEmpty) {
        warn(link, kUploadTitle, LinkSay::tr("No data available for uploading."));
        return ended(TransferKind::NoData);
    }
    const PortCloser closer(link);
    if (const TransferKind checked = checkController(link, kUpload, true); checked != TransferKind::Completed)
        return ended(checked);
    // The encoder checks every value first and changes nothing when one does
    // not fit, so nothing half-encoded can reach the controller.
    const UploadImage encoded = imageToUpload(store.params, store.image);
    if (!encoded.result) {
        warn(link, kUploadTitle, encoded.result.message());
        return ended(TransferKind::Unencodable);
    }
    store.params = encoded.params;
    store.image = encoded.image;
    QString backupFile;
    if (!options.backupFolder.isEmpty()) {
        const TransferKind backedUp = backUpAndConfirm(link, store.image, options, &backupFile);
        if (backedUp != TransferKind::Completed) {
            TransferOutcome out = ended(backedUp);
            out.backupFile = backupFile;
            return out;
        }
    }
    TransferOutcome out = ended(TransferKind::Completed);
    out.backupFile = backupFile;
    const QString notProgrammed = LinkSay::tr("Upload aborted - EEPROM programming failed.");
    const QString notVerified = LinkSay::tr("Upload aborted - EEPROM verification failed.");
    const QString notReset = LinkSay::tr("Upload aborted - Reset Shift Light Controller failed");
    const ProgramResult programmed = link.WriteEEPROMData(store.image);
    if (programmed.error != LinkError::None) {
        out.holds = programmed.programmed > 0 ? ControllerHolds::PartBlock : ControllerHolds::Unchanged;
        if (programmed.error == LinkError::PortLost) {
            out.kind = TransferKind::PortLost;
            sayPortLost(link, kUploadTitle, notProgrammed,
                        LinkSay::tr("The controller holds part of the new configuration and part of the old: "
                                "upload again once the port is back."));
        } else {
            out.kind = TransferKind::ProgrammingFailed;
            warn(link, kUploadTitle, notProgrammed, PromptIcon::Information);
        }
        return out;
    }
    out.holds = ControllerHolds::NewBlock;
    if (programmed.verifyError == LinkError::PortLost) {
        out.kind = TransferKind::PortLost;
        sayPortLost(link, kUploadTitle, notVerified,
                    LinkSay::tr("The controller holds the whole new configuration, not verified, and was not "
                            "reset: upload again once the port is back."));
        return out;
    }
    if (programmed.verifyError == LinkError::Stopped && link.state().StopSignal != 0) {
        // The person asked the program to stop: the block is whole, and nothing more is sent.
        out.kind = TransferKind::Stopped;
        warn(link, kUploadTitle,
             LinkSay::tr("Upload stopped: the controller holds the whole new configuration, but it was not "
                     "verified and the controller was not reset. Upload again to verify it and restart the "
                     "controller."),
             PromptIcon::Information);
        return out;
    }
    if (!programmed.verified()) {
        out.kind = TransferKind::VerifyFailed;
        warn(link, kUploadTitle, notVerified, PromptIcon::Information);
        return out;
    }
    out.holds = ControllerHolds::VerifiedBlock;
    const LinkResult reset = link.ResetController();
    if (reset.error == LinkError::PortLost) {
        out.kind = TransferKind::PortLost;
        sayPortLost(link, kUploadTitle, notReset,
                    LinkSay::tr("The controller holds the new configuration, verified, but was not reset."));
        return out;
    }
    if (!reset) {
        out.kind = TransferKind::ResetFailed;
        warn(link, kUploadTitle, notReset);
        return out;
    }
    out.holds = ControllerHolds::NewAndReset;
    warn(link, kUploadTitle, LinkSay::tr("Upload completed."));
    return out;
}

TransferOutcome compareWithController(ControllerLink& link, const ImageBuffer& configuration)
{
    TransferOutcome out;
    const PortCloser closer(link);
    out.kind = checkController(link, kCompare, false);
    if (!out)
        return out;
    warn(link, kCompareTitle, LinkSay::tr("Firmware ID: ") + link.state().FirmwareID);
    int reads = 0;
    out.kind = readBlockChecked(link, out.controller, &reads);
    if (!out) {
        sayReadFailed(link, kCompareTitle, LinkSay::tr("Compare failed."), out.kind, reads);
        return out;
    }
    QString decodeError;
    out.differences = compareImages(out.controller, configuration, &decodeError);
    if (!decodeError.isEmpty()) {
        warn(link, kCompareTitle, LinkSay::tr("Compare failed.\n") + decodeError);
        out.kind = TransferKind::Undecodable;
    }
    return out;
}

TransferOutcome compareWithController(ControllerLink& link, const ParameterStore& store)
{
    if (store.image.BufferEmpty) {
        warn(link, kCompareTitle, LinkSay::tr("No data available for comparing."));
        return ended(TransferKind::NoData);
    }
    const UploadImage encoded = imageToUpload(store.params, store.image);
    if (!encoded.result) {
        warn(link, kCompareTitle, encoded.result.message());
        return ended(TransferKind::Undecodable);
    }
    return compareWithController(link, encoded.image);
}
