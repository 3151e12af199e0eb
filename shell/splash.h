#pragma once
// The splash window: the company label in the branding's font, the logo, the
// product name, version and copyright. It closes itself after its time.
#include "core/branding.h"

#include <QDialog>
#include <QPixmap>

class Prompter;
class QLabel;
class QTimer;

// How long the splash window stays up.
inline constexpr int kSplashDurationMs = 4000;

class frmSplash : public QDialog {
    Q_OBJECT
public:
    // `durationMs` is the splash time; tests pass a short one.
    explicit frmSplash(const Branding& branding, int durationMs = kSplashDurationMs,
                       QWidget* parent = nullptr);

    QLabel* lblCompanyName = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QTimer* tmrSplashUnload = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void tmrSplashUnload_Timer();
    void applyLogo(const Branding& branding);
};

// The picture shown for the built-in logo when its file is not installed.
QPixmap builtInLogo();

// What the error prompt says when the logo file cannot be had or is no picture this
// program can show; empty when it is sound (or is the built-in one).
QString logoPictureFault(const Branding& branding);

// Start-up: runs the splash window's load, each fault of the branding through the
// error prompt (Abort ends the load, Retry reads the file again, Ignore goes on),
// sets the application's display title, then shows the splash window modally until
// it closes itself.
void runSplash(Branding& branding, Prompter& prompter, int durationMs = kSplashDurationMs);
