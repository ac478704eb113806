#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

// Answers for the window's dialogs, given before they open: the window tests
// set one up, then act, and the answer comes as soon as the dialog is open.
namespace modal {

// Called with every dialog as it is found, before its answer (a test that
// wants to know when the dialogs open).
inline std::function<void(QWidget *)> seen;

// Runs `answer` on the next modal dialog as soon as it is open; the flag
// turns true once it ran.
inline std::shared_ptr<bool> whenModal(std::function<void(QWidget *)> answer)
{
    auto done = std::make_shared<bool>(false);
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, done] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            if (seen)
                seen(dialog);
            answer(dialog);
            *done = true;
        }
    });
    poll->start(10);
    return done;
}

// Chooses `folder` in the next folder dialog, typed as a user would, as an
// absolute path in the name field.
inline std::shared_ptr<bool> chooseFolder(const QString &folder)
{
    return whenModal([folder](QWidget *dialog) {
        QVERIFY(qobject_cast<QFileDialog *>(dialog));
        auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        QVERIFY(name);
        name->setText(folder);
        static_cast<QDialog *>(dialog)->accept();
    });
}

// Answers the next message box with `button`, keeping its text.
inline void answerBox(QMessageBox::StandardButton button, QString *text)
{
    whenModal([button, text](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        *text = box->text();
        box->button(button)->click();
    });
}

} // namespace modal
