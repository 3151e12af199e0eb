#pragma once
// What to do first, in the middle of the window while no configuration is loaded:
// the commands that bring one, and the port a download would use.
#include <QList>
#include <QWidget>

struct PortDescription;
class QAction;
class QLabel;
class QPushButton;

class StartPanel : public QWidget {
    Q_OBJECT
public:
    // One button per command, in this order.
    explicit StartPanel(const QList<QAction*>& commands, QWidget* parent = nullptr);

    void showPort(const PortDescription& port);
    // Shows or hides the panel; the window gives back the room it took.
    void setShown(bool shown);

    QLabel* lblStartPort;
    QPushButton* cmdUseOfferedPort;  // shown when an adapter is offered in place of a missing port

signals:
    // The person chose the adapter offered.
    void offerTaken();
};
