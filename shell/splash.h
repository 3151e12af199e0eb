#pragma once
// The splash window: the company label in the branding's font, the logo, the
// product name, version and copyright. It closes itself after its time.
#include "shell/branding.h"

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

// Checks what only the windowed side can: that the logo file holds a picture this
// program can show. When it does not, the fault joins the branding's faults and the
// splash shows no logo.
void checkLogoPicture(Branding& branding);

// Start-up: checks the logo, shows the branding's faults (if any) in one message
// through the prompter, sets the application's display title, then shows the
// splash window modally until it closes itself.
void runSplash(Branding& branding, Prompter& prompter, int durationMs = kSplashDurationMs);
