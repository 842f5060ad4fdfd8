#include "CUserPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

CUserPrompts::Handler& TestHandler() {
    static CUserPrompts::Handler handler;
    return handler;
}

QString Title() {
    return QApplication::applicationDisplayName();
}

} // namespace

void CUserPrompts::SetHandler(Handler handler) {
    TestHandler() = std::move(handler);
}

void CUserPrompts::Inform(QWidget* parent, const QString& text) {
    if (TestHandler()) {
        TestHandler()(QStringLiteral("inform"), text);
        return;
    }
    QMessageBox::information(parent, Title(), text);
}

void CUserPrompts::Warn(QWidget* parent, const QString& text) {
    if (TestHandler()) {
        TestHandler()(QStringLiteral("warn"), text);
        return;
    }
    QMessageBox::warning(parent, Title(), text);
}

CUserPrompts::Answer CUserPrompts::AskSaveDiscardCancel(QWidget* parent, const QString& text) {
    if (TestHandler()) {
        return TestHandler()(QStringLiteral("save"), text);
    }
    const auto choice = QMessageBox::question(
        parent, Title(), text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
        QMessageBox::Save);
    if (choice == QMessageBox::Save) {
        return Answer::Save;
    }
    return choice == QMessageBox::Discard ? Answer::Discard : Answer::Cancel;
}

CUserPrompts::Answer CUserPrompts::AskSaveAnyway(QWidget* parent, const QString& text,
                                                const QString& saveAnyway,
                                                const QString& showProblems,
                                                const QString& cancel) {
    if (TestHandler()) {
        return TestHandler()(QStringLiteral("saveanyway"), text);
    }
    QMessageBox box(QMessageBox::Warning, Title(), text, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(saveAnyway, QMessageBox::AcceptRole);
    QPushButton* show = box.addButton(showProblems, QMessageBox::ActionRole);
    QPushButton* no = box.addButton(cancel, QMessageBox::RejectRole);
    box.setDefaultButton(show);
    box.setEscapeButton(no);
    box.exec();
    if (box.clickedButton() == save) {
        return Answer::Save;
    }
    return box.clickedButton() == show ? Answer::ShowProblems : Answer::Cancel;
}

CUserPrompts::Answer CUserPrompts::AskYesNo(QWidget* parent, const QString& text,
                                            Answer byDefault) {
    if (TestHandler()) {
        return TestHandler()(QStringLiteral("yesno"), text);
    }
    const auto choice =
        QMessageBox::question(parent, Title(), text, QMessageBox::Yes | QMessageBox::No,
                              byDefault == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    return choice == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

CUserPrompts::Answer CUserPrompts::AskActionOrCancel(QWidget* parent, const QString& text,
                                                     const QString& action, const QString& cancel,
                                                     bool actionByDefault) {
    if (TestHandler()) {
        return TestHandler()(QStringLiteral("action"), text);
    }
    QMessageBox box(QMessageBox::Question, Title(), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(action, QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(cancel, QMessageBox::RejectRole);
    box.setDefaultButton(actionByDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::Cancel;
}
