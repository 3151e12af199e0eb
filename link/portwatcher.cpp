#include "link/portwatcher.h"

PortWatcher::PortWatcher(Scanner scanner, int intervalMs, QObject* parent)
    : QObject(parent), m_scanner(std::move(scanner))
{
    for (const portsettings::PortRecord& r : m_scanner())
        m_devices << r.device;
    connect(&m_timer, &QTimer::timeout, this, &PortWatcher::look);
    m_timer.start(intervalMs);
}

void PortWatcher::look()
{
    QStringList devices;
    for (const portsettings::PortRecord& r : m_scanner())
        devices << r.device;
    if (devices == m_devices)
        return;
    m_devices = devices;
    emit portsChanged();
}
