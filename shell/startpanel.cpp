#include "shell/startpanel.h"

#include "shell/portpanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

StartPanel::StartPanel(const QList<QAction*>& commands, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fraStart"));
    // The choices in the middle of the empty window.
    auto* choices = new QWidget;
    auto* v = new QVBoxLayout(choices);
    v->addWidget(new QLabel(tr("No configuration is loaded. Start with one of these:")));
    for (QAction* command : commands) {
        auto* b = new QToolButton;
        b->setDefaultAction(command);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setMinimumHeight(36);
        v->addWidget(b);
    }
    lblStartPort = new QLabel;
    lblStartPort->setObjectName(QStringLiteral("lblStartPort"));
    lblStartPort->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblStartPort->setWordWrap(true);
    v->addWidget(lblStartPort);
    cmdUseOfferedPort = new QPushButton;
    cmdUseOfferedPort->setObjectName(QStringLiteral("cmdUseOfferedPort"));
    cmdUseOfferedPort->hide();
    connect(cmdUseOfferedPort, &QPushButton::clicked, this, &StartPanel::offerTaken);
    v->addWidget(cmdUseOfferedPort);
    auto* g = new QGridLayout(this);
    g->addWidget(choices, 1, 1);
    g->setRowStretch(0, 1);
    g->setRowStretch(2, 1);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(2, 1);
    choices->setMinimumWidth(360);
}

void StartPanel::showPort(const PortDescription& port)
{
    QString where = port.entry;
    if (!port.entry.contains(port.device))
        where += QStringLiteral(" (%1)").arg(port.device);
    lblStartPort->setText(port.present ? tr("Downloads use %1").arg(where)
                                       : tr("Downloads use %1, which is not found: connect the adapter or choose the "
                                            "port in Communications > Port Setup.")
                                             .arg(where));
    // Nothing is sent to the adapter until the person takes it.
    cmdUseOfferedPort->setText(tr("Use %1").arg(QString(port.offer).replace(QLatin1Char('&'), QStringLiteral("&&"))));
    cmdUseOfferedPort->setVisible(!port.offer.isEmpty());
}

void StartPanel::setShown(bool shown)
{
    if (shown == !isHidden())
        return;
    setVisible(shown);
}
