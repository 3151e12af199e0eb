#pragma once
// A panel below the editor (port setup, progress) grows the window while it shows;
// when the last of them hides, the window gets its size back.
#include <QList>
#include <QObject>
#include <QSize>
#include <QWidget>
#include <optional>

class PanelRoom {
public:
    explicit PanelRoom(QWidget* window) : m_window(window) {}

    // A panel that says aboutToShow() before it shows and hidden() after it hid.
    template <typename Panel>
    void watch(Panel* panel)
    {
        m_panels << panel;
        QObject::connect(panel, &Panel::aboutToShow, m_window, [this] { aboutToShow(); });
        QObject::connect(panel, &Panel::hidden, m_window, [this] { hidden(); });
    }

    // Before a panel shows: the size to come back to, unless one shows already.
    void aboutToShow();
    // After a panel hid.
    void hidden();

private:
    bool anyShown() const;

    QWidget* m_window;
    QList<QWidget*> m_panels;
    std::optional<QSize> m_sizeBefore;
};
