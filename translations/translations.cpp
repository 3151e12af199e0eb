#include "translations/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

Translations::Translations(const QLocale& locale)
    : m_program(std::make_unique<QTranslator>()), m_qt(std::make_unique<QTranslator>())
{
    // Compiled in (qt_add_translations), so the program in the build tree and the
    // installed one find it alike.
    if (!m_program->load(locale, QStringLiteral("revora-shift"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
        m_program.reset();
        m_qt.reset();
        return;
    }
    QCoreApplication::installTranslator(m_program.get());
    // Qt's own come with Qt; a copied-out program (Windows) keeps them in a folder beside it.
    const QLocale language(m_program->language());
    const QString prefix = QStringLiteral("qtbase");
    if (m_qt->load(language, prefix, QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || m_qt->load(language, prefix, QStringLiteral("_"),
                      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))))
        QCoreApplication::installTranslator(m_qt.get());
    else
        m_qt.reset();
}

Translations::~Translations()
{
    if (m_qt)
        QCoreApplication::removeTranslator(m_qt.get());
    if (m_program)
        QCoreApplication::removeTranslator(m_program.get());
}

QString Translations::language() const { return m_program ? m_program->language() : QString(); }
