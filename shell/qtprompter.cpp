#include "shell/qtprompter.h"

#include "editor/colorvalue.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QMessageBox::Icon qtIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Critical: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton escape;  // what Esc and the close box answer
};

ButtonSet qtButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::OK: return {{QMessageBox::Ok}, QMessageBox::Ok};
    case PromptButtons::OKCancel: return {{QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Cancel};
    case PromptButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}, QMessageBox::Abort};
    case PromptButtons::YesNoCancel:
        return {{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Cancel};
    case PromptButtons::YesNo: return {{QMessageBox::Yes, QMessageBox::No}, QMessageBox::No};
    case PromptButtons::RetryCancel: return {{QMessageBox::Retry, QMessageBox::Cancel}, QMessageBox::Cancel};
    case PromptButtons::SaveDiscardCancel:
        return {{QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel}, QMessageBox::Cancel};
    }
    return {{QMessageBox::Ok}, QMessageBox::Ok};
}

PromptAnswer answerOf(QMessageBox::StandardButton b)
{
    switch (b) {
    case QMessageBox::Ok: return PromptAnswer::OK;
    case QMessageBox::Abort: return PromptAnswer::Abort;
    case QMessageBox::Retry: return PromptAnswer::Retry;
    case QMessageBox::Ignore: return PromptAnswer::Ignore;
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    case QMessageBox::Save: return PromptAnswer::Save;
    case QMessageBox::Discard: return PromptAnswer::Discard;
    default: return PromptAnswer::Cancel;
    }
}

// "*.dat" gives "dat"; anything else (several patterns, wildcards in the
// suffix) gives no default suffix.
QString defaultSuffix(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() < 2)
        return QString();
    const QString pattern = parts.at(1).trimmed();
    if (pattern.startsWith(QLatin1String("*.")) && !pattern.contains(QLatin1Char(';'))
        && !pattern.mid(2).contains(QLatin1Char('*')))
        return pattern.mid(2);
    return QString();
}

}  // namespace

PromptAnswer QtPrompter::message(const QString& text, const QString& title, PromptButtons buttons,
                                 PromptIcon icon)
{
    // The program's texts break lines with CR LF; a label wants one line feed.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(qtIcon(icon), title, shown, QMessageBox::NoButton, boxParent());
    box.setTextFormat(Qt::PlainText);
    const ButtonSet set = qtButtons(buttons);
    for (QMessageBox::StandardButton b : set.buttons)
        box.addButton(b);
    box.setDefaultButton(set.buttons.first());
    box.setEscapeButton(set.escape);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return answerOf(set.escape);
    return answerOf(box.standardButton(clicked));
}

PromptAnswer QtPrompter::table(const QString& text, const QString& title, const QStringList& headings,
                               const QList<QStringList>& rows, PromptButtons buttons)
{
    QDialog dialog(boxParent());
    dialog.setWindowTitle(title);
    auto* label = new QLabel(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto* list = new QTreeWidget;
    label->setBuddy(list);  // the question names the list for a screen reader
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setHeaderLabels(headings);
    for (const QStringList& row : rows)
        list->addTopLevelItem(new QTreeWidgetItem(row));
    int width = 0;
    for (int c = 0; c < headings.size(); ++c) {
        list->resizeColumnToContents(c);
        list->setColumnWidth(c, list->columnWidth(c) + 24);  // room between the columns
        width += list->columnWidth(c);
    }
    auto* box = new QDialogButtonBox;
    const ButtonSet set = qtButtons(buttons);
    for (QMessageBox::StandardButton b : set.buttons)
        box->addButton(QDialogButtonBox::StandardButton(int(b)));
    PromptAnswer answer = answerOf(set.escape);
    QObject::connect(box, &QDialogButtonBox::clicked, &dialog, [&](QAbstractButton* b) {
        answer = answerOf(QMessageBox::StandardButton(int(box->standardButton(b))));
        dialog.accept();
    });
    auto* v = new QVBoxLayout(&dialog);
    v->addWidget(label);
    v->addWidget(list, 1);
    v->addWidget(box);
    dialog.resize(qBound(480, width + 60, 900), qBound(260, 170 + 24 * int(rows.size()), 600));
    if (QPushButton* first = box->button(QDialogButtonBox::StandardButton(int(set.buttons.first()))))
        first->setDefault(true);
    dialog.exec();
    return answer;
}

std::optional<QString> QtPrompter::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(boxParent(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QWidget* QtPrompter::boxParent() const
{
    // A box raised from an editor dialog belongs over that dialog, not over the
    // main window behind it.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

std::optional<uint32_t> QtPrompter::color(uint32_t initial)
{
    const QColor chosen = QColorDialog::getColor(colorFromValue(initial), boxParent());
    if (!chosen.isValid())
        return std::nullopt;
    return valueFromColor(chosen);
}

QString QtPrompter::toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString text = parts.at(i).trimmed();
        QString patterns = parts.at(i + 1).trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last bracket of the entry; a text that
        // already names them in brackets is used as it is.
        if (text.endsWith(QLatin1Char(')')) && text.contains(QLatin1Char('('))) {
            const int open = text.lastIndexOf(QLatin1Char('('));
            const QString shown = text.mid(open + 1, text.size() - open - 2).replace(QLatin1Char(';'), QLatin1Char(' '));
            if (shown.simplified() == patterns.simplified()) {
                out << text.left(open) + QLatin1Char('(') + shown + QLatin1Char(')');
                continue;
            }
        }
        out << QStringLiteral("%1 (%2)").arg(text, patterns);
    }
    if (out.isEmpty() && !filter.trimmed().isEmpty())
        out << filter.trimmed();
    return out.join(QLatin1String(";;"));
}

QString QtPrompter::openFileName(const QString& title, const QString& filter)
{
    QFileDialog dialog(boxParent(), title, m_folder, toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name may be typed: the caller tells the person when it does not exist.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString QtPrompter::saveFileName(const QString& title, const QString& filter)
{
    return saveFileNameSuggesting(title, filter, QString());
}

QString QtPrompter::saveFileNameSuggesting(const QString& title, const QString& filter, const QString& suggested)
{
    QFileDialog dialog(boxParent(), title, suggested.isEmpty() ? m_folder : suggested, toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks its own "already exists" question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(defaultSuffix(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
