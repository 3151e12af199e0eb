#include "shell/undohistory.h"

#include <QAbstractButton>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QUndoStack>

namespace {

// An edit in place: the values before and after. Where the configuration came from
// is not the edit's, so a save made since stays the file the mark compares with.
class EditStep : public QUndoCommand {
public:
    EditStep(Document& document, const QString& name, const ParameterSet& before, const ParameterSet& after)
        : QUndoCommand(name), m_document(document), m_before(before), m_after(after)
    {
    }
    void undo() override { m_document.restoreParams(m_before); }
    void redo() override
    {
        // Pushed after the edit was made: the first redo has nothing to do.
        if (m_done)
            m_document.restoreParams(m_after);
        m_done = true;
    }

private:
    Document& m_document;
    ParameterSet m_before;
    ParameterSet m_after;
    bool m_done = false;
};

// A command that replaced the configuration: the whole document on either side,
// with what its origin held then.
class ReplaceStep : public QUndoCommand {
public:
    ReplaceStep(Document& document, const QString& name, Document::Snapshot before, Document::Snapshot after)
        : QUndoCommand(name), m_document(document), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void undo() override { m_document.restore(m_before); }
    void redo() override
    {
        if (m_done)
            m_document.restore(m_after);
        m_done = true;
    }

private:
    Document& m_document;
    Document::Snapshot m_before;
    Document::Snapshot m_after;
    bool m_done = false;
};

QString plain(QString text)
{
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.simplified();
}

QString labelText(const QLayoutItem* item)
{
    const auto* l = item ? qobject_cast<const QLabel*>(item->widget()) : nullptr;
    return l ? plain(l->text()) : QString();
}

}  // namespace

UndoHistory::UndoHistory(Document& document, QObject* parent)
    : QObject(parent), m_document(document), m_stack(new QUndoStack(this)), m_recorded(document.store().params)
{
    // Whatever put a configuration in place (an undo, a redo, a command) is where
    // the next edit starts from.
    connect(&m_document, &Document::replaced, this, [this] { m_recorded = m_document.store().params; });
    connect(&m_document, &Document::changed, this, &UndoHistory::followDocument);
    // A step's undo changes the document before the stack moves its index: the
    // stack is set once more where it then stands.
    connect(m_stack, &QUndoStack::indexChanged, this, &UndoHistory::followDocument);
}

UndoHistory::~UndoHistory() = default;

void UndoHistory::followDocument()
{
    if (!m_document.isModified())
        m_stack->setClean();
    else if (m_stack->isClean())
        m_stack->resetClean();
}

void UndoHistory::record(const QString& name)
{
    if (m_replacing)
        return;
    const ParameterSet now = m_document.store().params;
    if (now == m_recorded || m_document.isEmpty())
        return;
    const ParameterSet before = m_recorded;
    m_recorded = now;
    m_stack->push(new EditStep(m_document, name, before, now));
    // The mark follows the edit at once, as the stack does.
    m_document.checkModified();
}

void UndoHistory::recordEdit(const QWidget* control)
{
    const QString name = controlName(control);
    record(name.isEmpty() ? tr("Edit") : name);
}

void UndoHistory::replacing(const QString& name, const std::function<void()>& command)
{
    const Document::Snapshot before = m_document.snapshot();
    {
        const bool wasReplacing = m_replacing;
        m_replacing = true;
        command();
        m_replacing = wasReplacing;
    }
    Document::Snapshot after = m_document.snapshot();
    m_recorded = after.store.params;
    if (after.sameConfiguration(before))
        return;
    m_stack->push(new ReplaceStep(m_document, name, before, std::move(after)));
}

void UndoHistory::addActions(QMenu* menu, QAction* before, const std::function<bool()>& mayRun, QAction*& undo,
                             QAction*& redo)
{
    // Qt's own undo actions would run in the middle of a transfer too: these ask first.
    undo = new QAction(menu);
    undo->setObjectName(QStringLiteral("mnuUndo"));
    undo->setShortcut(QKeySequence::Undo);
    redo = new QAction(menu);
    redo->setObjectName(QStringLiteral("mnuRedo"));
    redo->setShortcut(QKeySequence::Redo);
    const auto show = [this, undo, redo] {
        undo->setText(m_stack->undoText().isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(m_stack->undoText()));
        undo->setEnabled(m_stack->canUndo());
        redo->setText(m_stack->redoText().isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(m_stack->redoText()));
        redo->setEnabled(m_stack->canRedo());
    };
    connect(m_stack, &QUndoStack::indexChanged, undo, show);
    connect(m_stack, &QUndoStack::cleanChanged, undo, show);
    show();
    connect(undo, &QAction::triggered, this, [this, mayRun] {
        if (mayRun())
            m_stack->undo();
    });
    connect(redo, &QAction::triggered, this, [this, mayRun] {
        if (mayRun())
            m_stack->redo();
    });
    menu->insertActions(before, {undo, redo});
    menu->insertSeparator(before);
}

QString UndoHistory::controlName(const QWidget* control)
{
    if (!control)
        return QString();
    if (const auto* b = qobject_cast<const QAbstractButton*>(control); b && b->isCheckable())
        return plain(b->text());
    const QWidget* parent = control->parentWidget();
    if (!parent)
        return QString();
    if (auto* grid = qobject_cast<QGridLayout*>(parent->layout())) {
        const int index = grid->indexOf(control);
        if (index >= 0) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(index, &row, &column, &rows, &columns);
            const QString rowName = column > 0 ? labelText(grid->itemAtPosition(row, 0)) : QString();
            // A table's fields are named by their row and the heading above their column.
            const bool field = !qobject_cast<const QAbstractButton*>(control);
            const QString heading = field && row > 0 ? labelText(grid->itemAtPosition(0, column)) : QString();
            const QString name = (rowName + QLatin1Char(' ') + heading).trimmed();
            if (!name.isEmpty())
                return name;
        }
    }
    if (auto* form = qobject_cast<QFormLayout*>(parent->layout())) {
        if (const auto* l = qobject_cast<const QLabel*>(form->labelForField(const_cast<QWidget*>(control))))
            return plain(l->text());
    }
    // A label of its own line above the control.
    for (const QLabel* l : parent->findChildren<QLabel*>()) {
        if (l->buddy() == control)
            return plain(l->text());
    }
    return QString();
}
