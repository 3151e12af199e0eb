#include "shell/splash.h"
#include "core/appinfo.h"

#include "core/errortrap.h"
#include "core/prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLinearGradient>
#include <QMovie>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace {

// A logo larger than this is shown scaled down, so a poster-sized picture cannot
// push the splash window off the screen.
constexpr int kMaxLogoWidth = 480;
constexpr int kMaxLogoHeight = 240;
// Long labels wrap at this width instead of widening the window without end.
constexpr int kMaxTextWidth = 560;
constexpr int kMinWidth = 420;

QSize boundedSize(QSize size)
{
    if (size.width() > kMaxLogoWidth || size.height() > kMaxLogoHeight)
        size.scale(kMaxLogoWidth, kMaxLogoHeight, Qt::KeepAspectRatio);
    return size;
}

// A word-wrapped label otherwise settles for a narrow width and breaks even a
// short name; let it take the width of its text, up to the wrapping limit.
void widenToText(QLabel* label)
{
    const int textWidth = QFontMetrics(label->font()).horizontalAdvance(label->text()) + 8;
    label->setMinimumWidth(qMin(textWidth, kMaxTextWidth));
}

QLabel* fixedLabel(const QString& objectName, const QString& text, int pointSize, bool bold,
                   QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMaximumWidth(kMaxTextWidth);
    label->setTextFormat(Qt::PlainText);
    widenToText(label);
    return label;
}

}  // namespace

QPixmap builtInLogo()
{
    // A stylised shift light: a dark bar of lamps running green, yellow, red.
    const int w = 280;
    const int h = 64;
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0, QColor(70, 74, 82));
    body.setColorAt(1, QColor(22, 24, 28));
    p.setPen(QPen(QColor(12, 12, 14), 2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 14, 14);
    const QColor lamps[] = {QColor(40, 210, 70), QColor(40, 210, 70),  QColor(40, 210, 70),
                            QColor(250, 210, 30), QColor(250, 210, 30), QColor(235, 40, 35),
                            QColor(235, 40, 35),  QColor(60, 120, 255)};
    const int count = int(sizeof lamps / sizeof lamps[0]);
    const double step = double(w - 24) / count;
    const double r = step * 0.36;
    for (int i = 0; i < count; ++i) {
        const QPointF c(12 + step * (i + 0.5), h / 2.0);
        QRadialGradient glow(c, r);
        glow.setColorAt(0, lamps[i].lighter(170));
        glow.setColorAt(0.6, lamps[i]);
        glow.setColorAt(1, lamps[i].darker(220));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, r, r);
    }
    return pixmap;
}

frmSplash::frmSplash(const Branding& branding, int durationMs, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmRevora_Splash"));
    setWindowTitle(QStringLiteral("Revora Shift"));

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(32, 24, 32, 20);
    layout->setSpacing(10);

    imgLogo = new QLabel(frame);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setAlignment(Qt::AlignCenter);
    layout->addWidget(imgLogo);

    lblCompanyName = new QLabel(branding.labelText(), frame);
    lblCompanyName->setObjectName(QStringLiteral("lblCompanyName"));
    lblCompanyName->setTextFormat(Qt::PlainText);  // a "<" in the file is text, not markup
    lblCompanyName->setAlignment(Qt::AlignCenter);
    lblCompanyName->setWordWrap(true);
    lblCompanyName->setMaximumWidth(kMaxTextWidth);
    QFont companyFont(branding.fontFamily());
    companyFont.setPointSizeF(branding.fontPointSize());
    companyFont.setBold(branding.bold());
    companyFont.setItalic(branding.italic());
    lblCompanyName->setFont(companyFont);
    widenToText(lblCompanyName);
    layout->addWidget(lblCompanyName);

    layout->addSpacing(8);
    lblProductName = fixedLabel(QStringLiteral("lblProductName"), QStringLiteral("Revora Shift"), 22, true, frame);
    layout->addWidget(lblProductName);
    lblVersion = fixedLabel(QStringLiteral("lblVersion"), tr("Version %1").arg(appinfo::version()), 11, false, frame);
    layout->addWidget(lblVersion);
    layout->addSpacing(8);
    lblCopyright = fixedLabel(QStringLiteral("lblCopyright"), brandingCopyright(), 8, false, frame);
    layout->addWidget(lblCopyright);

    applyLogo(branding);
    frame->setMinimumWidth(kMinWidth);
    // The window takes the frame's size: fixing the frame's own layout instead would
    // leave the window at the minimum width with an unframed strip beside the frame.
    outer->setSizeConstraint(QLayout::SetFixedSize);

    tmrSplashUnload = new QTimer(this);
    tmrSplashUnload->setObjectName(QStringLiteral("tmrSplashUnload"));
    tmrSplashUnload->setSingleShot(true);
    tmrSplashUnload->setInterval(durationMs);
    connect(tmrSplashUnload, &QTimer::timeout, this, &frmSplash::tmrSplashUnload_Timer);
}

void frmSplash::applyLogo(const Branding& branding)
{
    const QString path = branding.logoPath();
    if (path.isEmpty()) {  // "NULL": no logo
        imgLogo->hide();
        return;
    }
    QImageReader reader(path);
    if (reader.canRead()) {
        if (reader.supportsAnimation() && reader.imageCount() != 1) {
            auto* movie = new QMovie(path, QByteArray(), imgLogo);
            movie->setScaledSize(boundedSize(reader.size()));
            imgLogo->setMovie(movie);
            movie->start();
            return;
        }
        const QImage image = reader.read();
        if (!image.isNull()) {
            QPixmap pixmap = QPixmap::fromImage(image);
            if (pixmap.size() != boundedSize(pixmap.size()))
                pixmap = pixmap.scaled(boundedSize(pixmap.size()), Qt::KeepAspectRatio, Qt::SmoothTransformation);
            imgLogo->setPixmap(pixmap);
            return;
        }
    }
    // The maker's logo is not installed beside the program: show the built-in one.
    // Any other picture that cannot be shown was reported by checkLogoPicture.
    if (branding.usesDefaultLogo())
        imgLogo->setPixmap(builtInLogo());
    else
        imgLogo->hide();
}

void frmSplash::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The time runs from when the window is seen, not from when it was built.
    if (!tmrSplashUnload->isActive())
        tmrSplashUnload->start();
}

void frmSplash::tmrSplashUnload_Timer()
{
    accept();
}

QString logoPictureFault(const Branding& branding)
{
    const QString missing = logoFileFault(branding);
    if (!missing.isEmpty() || branding.logoPath().isEmpty() || branding.usesDefaultLogo())
        return missing;
    // Decoding the first picture catches what the header alone does not: a cut-off
    // or damaged file.
    QImageReader reader(branding.logoPath());
    if (!reader.read().isNull())
        return QString();
    return logoFault(branding, QCoreApplication::translate("Branding", "is not a picture this program can show (%1). "
                                                                       "Use a GIF, PNG, JPEG or BMP file")
                                   .arg(reader.errorString()));
}

namespace {

// One step of the load: its fault goes through the error prompt. Retry takes the
// branding file again and repeats the step, Ignore goes on with `ignored` applied,
// Abort stops the load. False on Abort.
bool loadStep(Branding& branding, Prompter& prompter, const std::function<QString(const Branding&)>& fault,
              const std::function<void(Branding&)>& ignored)
{
    for (;;) {
        const QString description = fault(branding);
        if (description.isEmpty())
            return true;
        switch (HandleError(prompter, description)) {
        case PromptAnswer::Retry: {
            Branding again = readBranding(branding.folder);
            again.faults.clear();  // the file's own faults had their turn
            branding = again;
            break;
        }
        case PromptAnswer::Ignore: ignored(branding); return true;
        default: return false;
        }
    }
}

}  // namespace

void runSplash(Branding& branding, Prompter& prompter, int durationMs)
{
    // The title used for the task bar and for message boxes that carry none.
    QCoreApplication::setApplicationName(appinfo::applicationName());

    // The file's own faults, each in turn; Retry reads the file again from its first.
    int unapplied = 0;  // first splash item the load did not get to (Abort)
    bool go = true;
    for (int i = 0; go && i < branding.faults.size();) {
        switch (HandleError(prompter, branding.faults[i])) {
        case PromptAnswer::Retry: branding = readBranding(branding.folder); i = 0; break;
        case PromptAnswer::Ignore: ++i; break;
        default: go = false;
        }
    }
    if (go) {
        unapplied = 2;  // label text and font name
        go = loadStep(branding, prompter, fontSizeFault, [](Branding&) {});  // the label keeps its own size
    }
    if (go) {
        unapplied = 4;  // and size and style
        go = loadStep(branding, prompter, logoPictureFault, [](Branding& b) { b.SplashInfo[4] = QStringLiteral("NULL"); });
    }
    if (!go) {
        // Abort: the window shows with what was applied; the rest is its own design.
        const QStringList design = defaultBranding().SplashInfo;
        for (int k = unapplied; k < design.size(); ++k)
            branding.SplashInfo[k] = design[k];
        branding.SplashInfo[4] = QStringLiteral("NULL");
    }
    frmSplash splash(branding, durationMs);
    splash.exec();
}
