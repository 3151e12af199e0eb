#include "shell/appicon.h"

#include "shell/splash.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QImage shiftLightIcon(int size)
{
    const QPixmap bar = builtInLogo();
    const int halfWidth = bar.width() / 2;
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);

    // The bar's two halves stacked: nearly square, and each half keeps four lamps.
    const qreal margin = size / 16.0;
    const qreal width = size - 2 * margin;
    const qreal rowHeight = width * bar.height() / halfWidth;
    const QRectF top(margin, (size - 2 * rowHeight) / 2.0, width, rowHeight);
    const QRectF bottom = top.translated(0, rowHeight);

    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QPainterPath outline;
    const qreal radius = width / 10.0;
    outline.addRoundedRect(top.united(bottom), radius, radius);
    p.setClipPath(outline);
    p.drawPixmap(top, bar, QRectF(0, 0, halfWidth, bar.height()));
    p.drawPixmap(bottom, bar, QRectF(halfWidth, 0, bar.width() - halfWidth, bar.height()));
    return icon;
}

QIcon applicationIcon()
{
    QIcon drawn;
    for (int size : {16, 24, 32, 48, 64, 128})
        drawn.addPixmap(QPixmap::fromImage(shiftLightIcon(size)));
    return QIcon::fromTheme(QStringLiteral(REVORA_APP_ID), drawn);
}
