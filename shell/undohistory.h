#pragma once
// The steps the person took on the document, to undo and redo. Editors change the
// configuration in place, so a step is recorded after the fact: the values as they
// were after the last step against the values now. Commands that replace the
// configuration (open, download, defaults) run inside replacing() and keep the
// whole document state on either side.
//
// The unsaved mark stays the document's: the stack's clean state is set wherever
// the document reads clean, so both say the same after every step, undo and redo.
// Undoing only ever changes the document, never a file or the controller.
#include "core/document.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QUndoStack;
class QWidget;

class UndoHistory : public QObject {
    Q_OBJECT
public:
    explicit UndoHistory(Document& document, QObject* parent = nullptr);
    ~UndoHistory() override;

    // Records a step named `name` when the values differ from those after the last step.
    void record(const QString& name);
    // The same, named after the control the person used.
    void recordEdit(const QWidget* control);
    // Runs `command`; whatever it changed in the document becomes one step.
    void replacing(const QString& name, const std::function<void()>& command);

    // Edit > Undo and Edit > Redo with the platform's keys, named after the step they
    // would take back or do again, put into `menu` before `before`. They act only when
    // `mayRun` says so (not while a transfer works on the configuration).
    void addActions(QMenu* menu, QAction* before, const std::function<bool()>& mayRun, QAction*& undo,
                    QAction*& redo);
    QUndoStack& stack() { return *m_stack; }

    // The name a step takes from the control it was made with: the check box's text,
    // else the label of its row (and the heading of its column in a table).
    static QString controlName(const QWidget* control);

private:
    void followDocument();

    Document& m_document;
    QUndoStack* m_stack;
    // The document as the last step left it; a change since then is the next step.
    ParameterSet m_recorded;
    bool m_replacing = false;
};
