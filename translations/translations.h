#pragma once
// The window's language: the program's own translation and Qt's (its buttons and
// common dialogs) for the person's languages, installed for as long as this lives.
// The command-line tool stays English on purpose: scripts read what it prints.
#include <QLocale>
#include <QString>
#include <memory>

class QTranslator;

class Translations {
public:
    // Installs the first of `locale`'s languages that the program has a translation
    // for, with Qt's own for that language. Where it has none, the window stays
    // English throughout: Qt's texts alone would make a window of two languages.
    explicit Translations(const QLocale& locale);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language installed ("de"), empty for English.
    QString language() const;

private:
    std::unique_ptr<QTranslator> m_program;
    std::unique_ptr<QTranslator> m_qt;
};
