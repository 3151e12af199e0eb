#pragma once
// Communications > Download, Upload (with the backup question) and Compare, and
// the progress they show. The workflows themselves are the core's; this part runs
// them on the document's store, shows their progress and the comparison, and
// tells the document what the controller now holds.
#include "link/link.h"
#include "report/compare.h"
#include "shell/portpanel.h"

#include <QGroupBox>
#include <QObject>

class Document;
class Port;
class Prompter;
class QProgressBar;

// "Programming": hidden except while a block is read, programmed or verified.
class ProgressPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget* parent = nullptr);

    QProgressBar* prgProgress1;

private:
    friend class Transfers;
    void begin(const QString& caption);
    void end();
};

class Transfers : public QObject, public LinkView {
    Q_OBJECT
public:
    Transfers(Document& document, Prompter& prompter, Port& port, ProgressPanel* progress, QObject* parent = nullptr);
    ~Transfers() override;

    LinkState& state() { return m_state; }
    // Tests shorten the reply deadline.
    void setTiming(const LinkTiming& timing) { m_timing = timing; }
    bool running() const { return m_running; }
    // The new port takes effect when the next transfer opens it.
    void usePort(const PortChoice& choice);
    // Esc or closing: a running read or verify stops at its next byte. Without a
    // transfer running nothing happens, or the next one would stop before it began.
    void stop();
    // SIGTERM, SIGHUP or Ctrl+C: as stop(), but programming finishes its block
    // and then sends nothing more, and the person is told what the controller holds.
    void stopBySignal(int signo);
    void closePort();

    void download();
    // With `backUpFirst` the controller's block is kept in the backup folder and the
    // changes are shown before anything is written.
    void upload(bool backUpFirst);
    // Reads the controller into a scratch image: what is loaded, the caption and
    // the fields stay as they are.
    void compare();

    // The comparison as the tables show it: parameter, controller, this
    // configuration; the bytes outside the parameters by their offset.
    static QList<QStringList> comparisonRows(const report::Comparison& comparison);

    // LinkView
    void showProgress(const QString& caption) override;
    void showConnecting(const QString& device) override;
    void setProgress(int percent) override;
    void hideProgress() override;
    void hideParameterFrames() override;
    void setCaption(const QString& caption) override;
    void refreshEditor() override;

signals:
    // While a transfer runs nothing else may use the port or the buffer.
    void runningChanged(bool running);

private:
    bool confirmUpload(const report::Comparison& changes, const QString& backupFile);
    template <typename Workflow>
    bool run(Workflow workflow);

    Document& m_document;
    Prompter& m_prompter;
    Port& m_port;
    ProgressPanel* m_progress;
    LinkState m_state;
    LinkTiming m_timing;
    bool m_running = false;
};
