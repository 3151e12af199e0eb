#pragma once
// A panel below the editor (port setup, progress) grows the window while it shows;
// when the last of them hides, the window gets its size back.
#include <QList>
#include <QSize>
#include <optional>

class QWidget;

class PanelRoom {
public:
    PanelRoom(QWidget* window, QList<QWidget*> panels) : m_window(window), m_panels(std::move(panels)) {}

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
