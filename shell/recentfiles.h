#pragma once
// The File menu's recent files and the folder the file dialogs start in. Only data
// files the person opened or saved enter them: a backup is the program's own copy
// and never becomes a recent file or the remembered folder.
#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QStringList>

// The title of every box the opening of a data file shows (the English source text;
// the window shows its translation, context RecentFiles).
inline const char* const kOpenDataFileTitle = QT_TRANSLATE_NOOP("RecentFiles", "Open Data File");

class Prompter;
class QAction;
class QMenu;

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 5;

    // Puts the entries and their separator into `menu` before `before`.
    RecentFiles(QMenu* menu, QAction* before, Prompter& prompter, QObject* parent = nullptr);

    // The files, newest first.
    static QStringList files();
    // Puts `path` first, and its folder becomes where the dialogs start.
    void remember(const QString& path);
    // Where Open and Save start: the folder last used, else documents, else home.
    static QString startFolder();
    void setEnabled(bool enabled);
    // The entries' words: the file's name, and its folder where another entry has
    // the same name ("car.dat (/home/sam/race)"), so two car.dat can be told apart.
    static QStringList labels(const QStringList& paths);

    QList<QAction*> actions() const { return m_actions; }
    QAction* separator() const { return m_separator; }

signals:
    // An entry was chosen and its file is there.
    void openRequested(const QString& path);

private:
    void choose(const QString& path);
    void show();

    Prompter& m_prompter;
    QList<QAction*> m_actions;
    QAction* m_separator;
};
