#include "oldestpicture.h"

#include "pathbytes.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QToolBar>

OldestPicture::OldestPicture(QToolBar *bar, QWidget *field, QWidget *window)
    : QObject(window), openUrl(&QDesktopServices::openUrl), field(field), window(window)
{
    action = new QAction(this);
    action->setObjectName(QStringLiteral("actionShowOldestPicture"));
    connect(action, &QAction::triggered, this, [this] { open(); });
    bar->addAction(action);
    setPath(QString());
}

void OldestPicture::setPath(const QString &path)
{
    shown = path;
    action->setEnabled(!shown.isEmpty());
    retranslate();
}

void OldestPicture::retranslate()
{
    action->setText(QCoreApplication::translate("MainWindow", "Show oldest picture"));
    if (shown.isEmpty()) {
        action->setToolTip(
            QCoreApplication::translate("MainWindow", "Open the oldest picture in the desktop's picture viewer"));
        field->setToolTip(QString());
        return;
    }
    const QString name = PathBytes::display(shown);
    action->setToolTip(QCoreApplication::translate("MainWindow", "Open %1 in the desktop's picture viewer").arg(name));
    field->setToolTip(QCoreApplication::translate("MainWindow", "The oldest picture: %1").arg(name));
}

QUrl OldestPicture::urlOf(const QString &path)
{
    if (PathBytes::escaped(path) == path)
        return QUrl::fromLocalFile(path);
    // A byte that is no UTF-8 goes into the URL as it is, percent-encoded:
    // the viewer opens the file by its bytes.
    return QUrl::fromEncoded("file://" + PathBytes::encode(path).toPercentEncoding("/"));
}

void OldestPicture::open()
{
    if (shown.isEmpty())
        return;
    // A picture moved or deleted since the dates were read is not handed on:
    // the viewer would only say it found nothing.
    if (PathBytes::isFile(shown) && openUrl(urlOf(shown)))
        return;
    QMessageBox::warning(
        window, QCoreApplication::translate("MainWindow", "Kelvaro"),
        QCoreApplication::translate("MainWindow", "The picture %1 could not be shown.").arg(PathBytes::display(shown)),
        QMessageBox::Ok);
}
