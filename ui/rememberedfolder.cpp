#include "rememberedfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char organisation[] = "Morvane";
const char application[] = "Kelvaro";
const char folderKey[] = "folderName";

} // namespace

QString RememberedFolder::load()
{
    return QSettings(organisation, application).value(folderKey).toString();
}

void RememberedFolder::save(const QString &folder)
{
    QSettings(organisation, application).setValue(folderKey, folder);
}

QString RememberedFolder::startFolder(const QString &remembered)
{
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}
