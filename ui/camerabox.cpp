#include "camerabox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>

CameraBox::CameraBox(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);
    label = new QLabel(QCoreApplication::translate("MainWindow", "Camera:"), this);
    label->setObjectName(QStringLiteral("cameraLabel"));
    combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("cameraCombo"));
    combo->setAccessibleName(QCoreApplication::translate("MainWindow", "Camera"));
    combo->view()->setAccessibleName(QCoreApplication::translate("MainWindow", "Cameras"));
    // The window has a fixed width: long camera names are cut short in the
    // box, and shown whole in its list.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(16);
    label->setBuddy(combo);
    layout->addWidget(label);
    layout->addWidget(combo);
}

QString CameraBox::allCameras(int allValid)
{
    return QCoreApplication::translate("MainWindow", "All cameras (%1)").arg(allValid);
}

void CameraBox::fill(const QList<ShiftJob::Camera> &cameras, int allValid)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItem(allCameras(allValid), QString());
    for (const ShiftJob::Camera &camera : cameras)
        combo->addItem(QStringLiteral("%1 (%2)").arg(camera.name).arg(camera.valid), camera.name);
    combo->setCurrentIndex(0);
    combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 24);
    combo->setEnabled(true);
}

void CameraBox::clear()
{
    const QSignalBlocker blocker(combo);
    combo->clear();
}

void CameraBox::retranslate(int allValid)
{
    label->setText(QCoreApplication::translate("MainWindow", "Camera:"));
    combo->setAccessibleName(QCoreApplication::translate("MainWindow", "Camera"));
    combo->view()->setAccessibleName(QCoreApplication::translate("MainWindow", "Cameras"));
    if (combo->count() > 0)
        combo->setItemText(0, allCameras(allValid));
}
