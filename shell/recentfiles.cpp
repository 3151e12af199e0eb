#include "shell/recentfiles.h"

#include "core/datapaths.h"
#include "core/filechooser.h"
#include "core/prompter.h"
#include "core/settings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

RecentFiles::RecentFiles(QMenu* menu, QAction* before, Prompter& prompter, QObject* parent)
    : QObject(parent), m_prompter(prompter)
{
    for (int i = 0; i < kCount; ++i) {
        auto* a = new QAction(menu);
        a->setObjectName(QStringLiteral("mnuRecentFile%1").arg(i + 1));
        menu->insertAction(before, a);
        connect(a, &QAction::triggered, this, [this, a] { choose(a->data().toString()); });
        m_actions << a;
    }
    m_separator = new QAction(menu);
    m_separator->setSeparator(true);
    m_separator->setObjectName(QStringLiteral("mnuSepRecent"));
    menu->insertAction(before, m_separator);
    show();
}

QStringList RecentFiles::files() { return settings::recentFiles(); }

void RecentFiles::remember(const QString& path)
{
    if (datapaths::isBackup(path))
        return;
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(full);
    list.prepend(full);
    settings::setRecentFiles(list.mid(0, kCount));
    settings::setLastFolder(QFileInfo(full).absolutePath());
    show();
}

QString RecentFiles::startFolder() { return FileChooser::startFolder(settings::lastFolder()); }

void RecentFiles::setEnabled(bool enabled)
{
    for (QAction* a : m_actions)
        a->setEnabled(enabled);
}

void RecentFiles::choose(const QString& path)
{
    if (QFileInfo(path).isFile()) {
        emit openRequested(path);
        return;
    }
    QStringList list = files();
    list.removeAll(path);
    settings::setRecentFiles(list);
    show();
    m_prompter.warn(path + QStringLiteral("\r\n") + tr("File not found. It is taken off the recent files."),
                    tr(kOpenDataFileTitle));
}

QStringList RecentFiles::labels(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    QStringList out;
    for (int i = 0; i < paths.size(); ++i) {
        QString label = names.at(i);
        if (names.count(label) > 1)
            label += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(QFileInfo(paths.at(i)).absolutePath()));
        // An ampersand in a name is shown, not taken for the entry's shortcut key.
        out << label.replace(QLatin1Char('&'), QStringLiteral("&&"));
    }
    return out;
}

void RecentFiles::show()
{
    const QStringList list = files();
    const QStringList words = labels(list);
    for (int i = 0; i < m_actions.size(); ++i) {
        QAction* a = m_actions.at(i);
        const QString path = list.value(i);
        a->setVisible(!path.isEmpty());
        a->setData(path);
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(words.value(i)));
        a->setStatusTip(path);
        a->setToolTip(path);
    }
    m_separator->setVisible(!list.isEmpty());
}
