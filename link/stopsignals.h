#pragma once
// SIGINT, SIGTERM and SIGHUP (on Windows the console's Ctrl+C and Ctrl+Break,
// both as SIGINT) as a Qt signal: while a StopSignals lives, none of them ends
// the program; each is handed to the event loop as stopRequested(), which the
// transfers run at least once per byte. Only SIGKILL ends the program at once,
// so a controller is never left with half a block by a polite request.
#include <QObject>
#include <QString>

class QSocketNotifier;

class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // How the person knows the signal: "Ctrl+C", "SIGTERM", "SIGHUP".
    static QString name(int signo);
    // The exit status customary for a program a signal stopped: 128 + its number.
    static int exitStatus(int signo) { return 128 + signo; }

signals:
    void stopRequested(int signo);

private:
    QSocketNotifier* m_notifier = nullptr;
};
