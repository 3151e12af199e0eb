#pragma once
// Large text and small screens: a window shows what fits, scrolls the rest, and
// takes as much of the screen as its content asks for and no more.
#include <QObject>
#include <QScrollArea>
#include <QSize>

// A scroll area that asks for its content's whole size (QScrollArea caps its wish
// at a few dozen lines of text), so a window around it starts big enough to need
// no scroll bars wherever the screen allows.
class ContentScrollArea : public QScrollArea {
public:
    explicit ContentScrollArea(QWidget* content, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    bool viewportEvent(QEvent* event) override;
};

// The part of `wanted` that fits on the window's screen with the window's frame.
QSize boundedToScreen(const QWidget* window, QSize wanted);

// Keeps a top-level window at its size hint as far as its screen allows: it grows
// when its content needs more room (a panel or a field shows) and gives back what
// it took when that content goes again. A size the person chose is kept: only
// growth from then on is given back.
class ScreenFit : public QObject {
public:
    explicit ScreenFit(QWidget* window);

    // Sizes the window to its hint as far as the screen allows, as a new window is.
    void fitNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    QWidget* m_window;
    int m_grownWidth = 0;   // what follow() added since the last size set otherwise
    int m_grownHeight = 0;
    QSize m_asked;          // the size last set here; any other size is the person's
    bool m_pending = false;
};
