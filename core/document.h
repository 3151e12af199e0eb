#pragma once
// The configuration being edited, as one document: the parameter store (the
// parameter set and the EEPROM image), where it came from, and whether it differs
// from what that origin holds. The caption, the unsaved mark, the start panel,
// Save, closing and every command that replaces the configuration read it here,
// and nothing else keeps a copy of that state. It says when it changes, so every
// view follows.
//
// The mark is worked out from the content: the configuration as the next save
// would encode it, against what it was when last made clean. An edit and its
// undoing leave no mark, and an undo stack that reaches its clean state agrees
// with it; an undo stack can also say "clean now" through setClean().
#include "core/errortrap.h"
#include "params/paramset.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

class Document : public QObject {
    Q_OBJECT
public:
    enum class Origin { None, File, Backup, Controller, Defaults };

    // Why a file could not be opened; the caller decides on this, never on the words.
    enum class LoadFailure { None, ShortFile, Unreadable, Undecodable };
    struct LoadResult {
        LoadFailure failure = LoadFailure::None;
        QString error;  // for the person, when failed
        explicit operator bool() const { return failure == LoadFailure::None; }
    };

    // `mainCaption` begins every caption; the start caption puts `company` before it.
    explicit Document(const QString& mainCaption, const QString& company = QString(), QObject* parent = nullptr);

    // The one parameter store. Editors and workflows change it in place; after an
    // edit call checkModified() so the mark follows.
    ParameterStore& store() { return m_store; }
    const ParameterStore& store() const { return m_store; }

    bool isEmpty() const { return m_store.image.BufferEmpty; }
    Origin origin() const { return m_origin; }
    QString path() const { return m_path; }  // of a file or backup
    // True when the configuration differs from what its origin holds. An empty
    // document has nothing to lose.
    bool isModified() const;
    // The window's caption, without the unsaved mark.
    QString caption() const;

    // The configuration goes, for a download or an open that replaces it.
    void clear();
    // Reads a data file (Origin File or Backup) into the emptied document; clean
    // against that file. On failure the document is left empty.
    LoadResult open(const QString& path, Origin origin = Origin::File);
    // Writes the configuration to `path`; clean against that file from now on.
    // Nothing changes on failure.
    StepError saveAs(const QString& path);
    // The factory values, clean against them.
    void loadDefaults();
    // The store holds what was just read from the controller, decoded: clean
    // against the controller.
    void downloaded();
    // The controller holds the configuration now. A document named by a file stays
    // as it was: the file still holds the old values.
    void uploaded();
    // The editor decoded the image again (the multi-stage switch): the caption
    // says so, as after a download; the origin stays.
    void decodedAgain();

    // Everything an undone step puts back when it replaced the configuration: the
    // store, where it came from, and what that origin held then.
    struct Snapshot {
        ParameterStore store;
        Origin origin = Origin::None;
        QString path;
        bool started = false;
        bool decodedCaption = false;
        std::optional<QByteArray> clean;
        bool sameConfiguration(const Snapshot& other) const;
    };
    Snapshot snapshot() const;
    // Puts a whole earlier state back (an undone open, download or defaults).
    void restore(const Snapshot& state);
    // Puts earlier values back into the configuration in place (an undone edit):
    // where it came from stays, so the mark still says whether it differs from that.
    void restoreParams(const ParameterSet& params);

    // What the configuration is now counts as what its origin holds.
    void setClean();
    // Works the mark out again after the store was changed in place.
    void checkModified();

signals:
    // A configuration came or went: views rewrite themselves from the store.
    void replaced();
    // The caption, the mark or the emptiness may read differently.
    void changed();

private:
    // The configuration as a save would write it; empty when it cannot be encoded.
    QByteArray encoded() const;
    void comeFrom(Origin origin, const QString& path, bool decodedCaption);
    void becomeClean();
    void notify();

    ParameterStore m_store;
    QString m_company;
    Origin m_origin = Origin::None;
    QString m_path;
    bool m_started = false;          // a command has replaced the start-up state
    bool m_decodedCaption = false;  // the caption names the decoded data, not DataSourceName
    std::optional<QByteArray> m_clean;
    bool m_shownModified = false;
};
