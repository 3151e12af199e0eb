#include "shell/help.h"
#include "core/datapaths.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The manual is compiled into the library as a resource; a static library needs
// its resources registered by hand before the first use.
static void initHelpResource()
{
    Q_INIT_RESOURCE(help);
}

namespace {

const char kManualUrl[] = "qrc:/help/manual.html";
const char kHelpWindowName[] = "frmHelp";

QDialog* helpWindow(QWidget* parent)
{
    if (parent) {
        if (auto* existing = parent->findChild<QDialog*>(QString::fromLatin1(kHelpWindowName),
                                                         Qt::FindDirectChildrenOnly))
            return existing;
    }
    initHelpResource();

    // A tool window of its own: it stays open beside the main window while the
    // person works, so it is not modal.
    auto* dialog = new QDialog(parent, Qt::Window);
    dialog->setObjectName(QString::fromLatin1(kHelpWindowName));
    dialog->setWindowTitle(QCoreApplication::translate("Help", "Revora Shift Help"));
    if (!parent)
        dialog->setAttribute(Qt::WA_DeleteOnClose);

    auto* browser = new QTextBrowser(dialog);
    browser->setObjectName(QStringLiteral("txtManual"));
    browser->setOpenExternalLinks(true);
    browser->setAccessibleName(dialog->windowTitle());
    browser->setSource(QUrl(QString::fromLatin1(kManualUrl)));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QPushButton* contents = buttons->addButton(QCoreApplication::translate("Help", "&Contents"), QDialogButtonBox::ActionRole);
    contents->setObjectName(QStringLiteral("cmdContents"));
    QPushButton* back = buttons->addButton(QCoreApplication::translate("Help", "&Back"), QDialogButtonBox::ActionRole);
    back->setObjectName(QStringLiteral("cmdBack"));
    back->setEnabled(false);
    QObject::connect(contents, &QPushButton::clicked, browser, [browser] {
        browser->setSource(QUrl(QString::fromLatin1(kManualUrl)));
    });
    QObject::connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);

    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    dialog->resize(780, 640);
    return dialog;
}

}  // namespace

QDialog* showHelp(QWidget* parent)
{
    return showHelp(parent, datapaths::folderOf(QString::fromLatin1(kHelpFileName)));
}

QDialog* showHelp(QWidget* parent, const QString& folder)
{
    const QFileInfo helpFile(QDir(folder).filePath(QString::fromLatin1(kHelpFileName)));
    // Only when the desktop has no viewer for it does the built-in manual stand in.
    if (helpFile.isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile.absoluteFilePath())))
        return nullptr;

    QDialog* dialog = helpWindow(parent);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}
