#include "ModalDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

void ActOnModal(const std::function<void(QDialog*)>& act, int attemptsLeft) {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
        if (attemptsLeft > 0) {
            QTimer::singleShot(10, [act, attemptsLeft] { ActOnModal(act, attemptsLeft - 1); });
        } else {
            QFAIL("no modal dialog was shown");
        }
        return;
    }
    // Exposure may lag behind on the offscreen platform after another dialog closed; the
    // dialog takes events either way.
    static_cast<void>(QTest::qWaitForWindowExposed(dialog, 500));
    QApplication::processEvents();
    act(dialog);
    if (dialog->isVisible()) {
        dialog->reject();
        QFAIL("the dialog stayed open");
    }
}

} // namespace

void WhenModalShown(const std::function<void(QDialog*)>& act) {
    QTimer::singleShot(0, [act] { ActOnModal(act, 200); });
}

void AnswerFileDialog(QDialog* dialog, const QString& path) {
    QVERIFY(qobject_cast<QFileDialog*>(dialog));
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    // Set rather than typed: typing opens the completer, which would take the Return.
    edit->setText(path);
    QTest::keyClick(edit, Qt::Key_Return);
}
