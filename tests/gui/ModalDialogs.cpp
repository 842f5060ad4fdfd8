#include "ModalDialogs.h"

#include <QApplication>
#include <QDialog>
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
