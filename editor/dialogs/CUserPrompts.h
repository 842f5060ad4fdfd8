#pragma once

#include <QString>

#include <functional>

class QWidget;

// The editor's message boxes in one place, so tests can answer them without a person.
class CUserPrompts {
public:
    enum class Answer { Save, Discard, Cancel, Yes, No, ShowProblems };

    // An OK box with the application's title.
    static void Inform(QWidget* parent, const QString& text);
    static void Warn(QWidget* parent, const QString& text);
    // Save, Discard or Cancel (Escape cancels).
    static Answer AskSaveDiscardCancel(QWidget* parent, const QString& text);
    // Save (anyway), ShowProblems or Cancel, with those button texts (Escape cancels).
    static Answer AskSaveAnyway(QWidget* parent, const QString& text, const QString& saveAnyway,
                                const QString& showProblems, const QString& cancel);
    // Yes or No (Escape answers No); Enter gives the default.
    static Answer AskYesNo(QWidget* parent, const QString& text, Answer byDefault = Answer::Yes);

    // One action or Cancel, with those button texts (Enter gives the action only when
    // `actionByDefault`; Escape cancels): Yes for the action.
    static Answer AskActionOrCancel(QWidget* parent, const QString& text, const QString& action,
                                    const QString& cancel, bool actionByDefault);

    // Set by tests: every prompt goes to the handler instead of a dialog; `kind` is "inform",
    // "warn", "save", "saveanyway", "yesno" or "action", and the answer is used for the two questions.
    using Handler = std::function<Answer(const QString& kind, const QString& text)>;
    static void SetHandler(Handler handler);
};
