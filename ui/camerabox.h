#pragma once

#include "shiftjob.h"

#include <QList>
#include <QWidget>

class QComboBox;
class QLabel;

// "Camera:" and its choice, for the tool bar: every camera, or one of the
// cameras of the tree, with how many usable pictures each has. Its texts are
// the window's (translation context MainWindow).
class CameraBox : public QWidget
{
public:
    explicit CameraBox(QWidget *parent);

    QLabel *label;
    QComboBox *combo;   // each item's data: the camera's name, empty for every camera

    // "All cameras" first, then the cameras in the order given, the first
    // chosen; `allValid`: the usable pictures of every camera.
    void fill(const QList<ShiftJob::Camera> &cameras, int allValid);
    void clear();
    void retranslate(int allValid);

private:
    static QString allCameras(int allValid);
};
