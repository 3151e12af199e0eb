#include "editor/screenfit.h"

#include <QEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>

ContentScrollArea::ContentScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content);
    // No tab stop of its own: Tab goes from control to control, and QScrollArea
    // brings the focused one into view.
    setFocusPolicy(Qt::NoFocus);
}

QSize ContentScrollArea::sizeHint() const
{
    if (!widget())
        return QScrollArea::sizeHint();
    const QWidget* content = widget();
    // As a layout would size the content: its wish within its own limits.
    const QSize wish = content->sizeHint()
                           .expandedTo(content->minimumSizeHint())
                           .expandedTo(content->minimumSize())
                           .boundedTo(content->maximumSize());
    const int frame = 2 * frameWidth();
    return wish + QSize(frame, frame);
}

bool ContentScrollArea::viewportEvent(QEvent* event)
{
    // The content asked for another size (a frame showed or hid): the window around
    // asks this area again, which QScrollArea itself never tells it to.
    if (event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::viewportEvent(event);
}

QSize boundedToScreen(const QWidget* window, QSize wanted)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return wanted;
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    return wanted.boundedTo(screen->availableGeometry().size() - frame);
}

ScreenFit::ScreenFit(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

void ScreenFit::fitNow()
{
    m_grownWidth = m_grownHeight = 0;
    m_asked = boundedToScreen(m_window, m_window->sizeHint()).expandedTo(m_window->minimumSize());
    m_window->resize(m_asked);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    if (event->type() == QEvent::Show) {
        // The frame is known once the window shows: a window sized before that
        // may now stand out of the screen by its title bar.
        QTimer::singleShot(0, this, [this] {
            const QSize bounded = boundedToScreen(m_window, m_window->size());
            if (bounded != m_window->size()) {
                m_asked = bounded;
                m_window->resize(bounded);
            }
        });
    } else if (event->type() == QEvent::LayoutRequest && !m_pending) {
        // After the layout has run, so the hint is the new one.
        m_pending = true;
        QTimer::singleShot(0, this, [this] {
            m_pending = false;
            follow();
        });
    } else if (event->type() == QEvent::Resize && static_cast<QResizeEvent*>(event)->size() != m_asked) {
        m_grownWidth = m_grownHeight = 0;
    }
    return false;
}

namespace {

// Grows to what is wanted; shrinks towards it by no more than was grown.
int followOne(int current, int wanted, int& grown)
{
    if (current < wanted) {
        grown += wanted - current;
        return wanted;
    }
    const int giveBack = std::min(grown, current - wanted);
    grown -= giveBack;
    return current - giveBack;
}

}  // namespace

void ScreenFit::follow()
{
    if (m_window->isMaximized() || m_window->isFullScreen())
        return;
    const QSize wanted = boundedToScreen(m_window, m_window->sizeHint());
    const QSize now = m_window->size();
    const QSize next(followOne(now.width(), wanted.width(), m_grownWidth),
                     followOne(now.height(), wanted.height(), m_grownHeight));
    if (next == now)
        return;
    m_asked = next;
    m_window->resize(next);
}
