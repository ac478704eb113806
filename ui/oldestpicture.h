#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class QAction;
class QToolBar;
class QWidget;

// "Show oldest picture" in the tool bar: the picture whose capture date the
// current-date field shows, opened in the desktop's own viewer, so that the
// user can see what it shows and type its true time. The field's tooltip
// names the picture's path. Known only once a dating pass found a usable
// date; with a camera chosen, it is that camera's oldest picture. Its texts
// are the window's (translation context MainWindow).
class OldestPicture : public QObject
{
public:
    // Adds the action to `bar`; `field` is the current-date field, `window`
    // the parent of a message that the picture cannot be shown.
    OldestPicture(QToolBar *bar, QWidget *field, QWidget *window);

    QAction *action;
    // Hands the picture's URL to the desktop; true when a program took it.
    // A test puts a recorder in its place.
    std::function<bool(const QUrl &)> openUrl;

    // The picture to show from now on; empty: none (the action is disabled).
    void setPath(const QString &path);
    const QString &path() const { return shown; }
    void retranslate();

    // A file URL of `path`, also when its name holds bytes that are not
    // UTF-8 (PathBytes keeps those as lone surrogates).
    static QUrl urlOf(const QString &path);

private:
    void open();

    QWidget *field;
    QWidget *window;
    QString shown;
};
