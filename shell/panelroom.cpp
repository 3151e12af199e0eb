#include "shell/panelroom.h"

#include <QLayout>
#include <algorithm>

bool PanelRoom::anyShown() const
{
    return std::any_of(m_panels.cbegin(), m_panels.cend(), [](const QWidget* p) { return !p->isHidden(); });
}

void PanelRoom::aboutToShow()
{
    if (!anyShown())
        m_sizeBefore = m_window->size();
}

void PanelRoom::hidden()
{
    if (anyShown() || !m_sizeBefore)
        return;
    const QSize before = *m_sizeBefore;
    m_sizeBefore.reset();
    if (m_window->isMaximized() || m_window->isFullScreen())
        return;
    // The minimum size still counts the hidden panel until the layouts run again.
    for (QWidget* p = m_panels.first()->parentWidget(); p; p = p->parentWidget()) {
        if (p->layout())
            p->layout()->activate();
        if (p == m_window)
            break;
    }
    m_window->resize(before);
}
