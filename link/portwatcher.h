#pragma once
// Follows adapters as they are plugged in and out: looks at the system's ports
// on a timer and says when the list changed, so a port list needs no Refresh.
#include "link/portsettings.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class PortWatcher : public QObject {
    Q_OBJECT
public:
    using Scanner = std::function<QList<portsettings::PortRecord>()>;
    // Looking costs a directory listing; once a second is quick enough for a person.
    explicit PortWatcher(Scanner scanner, int intervalMs = 1000, QObject* parent = nullptr);

    // Looks now (the timer calls it); emits portsChanged() when the devices differ from the last look.
    void look();

signals:
    void portsChanged();

private:
    Scanner m_scanner;
    QTimer m_timer;
    QStringList m_devices;
};
