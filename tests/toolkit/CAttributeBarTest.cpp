#include "editor/toolkit/CAttributeBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTest>

class CAttributeBarTest : public QObject {
    Q_OBJECT
private slots:
    void typingMovesTheBarAndDraggingWritesTheNumber();
    void aNonDigitOrANumberOver100IsRefusedWithTheMessage();
    void theOverallBarCannotBeEdited();
    void theRefusalLeavesTheStatusBarWhenFixedOrHidden();
};

namespace {

// A bar inside a main window, so refusals reach a status bar.
struct Fixture {
    QMainWindow window;
    CAttributeBar* bar;
    Fixture() {
        bar = new CAttributeBar(QStringLiteral("Pace"), QStringLiteral("0 to 100 only"));
        window.setCentralWidget(bar);
        window.statusBar();
        window.show();
        window.activateWindow();
        bar->Box()->setFocus();
    }
    void Type(const QString& text) {
        bar->Box()->selectAll();
        QTest::keyClicks(bar->Box(), text);
    }
};

} // namespace

void CAttributeBarTest::typingMovesTheBarAndDraggingWritesTheNumber() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QCOMPARE(f.bar->Box()->accessibleName(), QStringLiteral("Pace"));
    QCOMPARE(f.bar->Bar()->accessibleName(), QStringLiteral("Pace"));
    QCOMPARE(f.bar->Label()->buddy(), f.bar->Box());
    QSignalSpy edited(f.bar, &CAttributeBar::ValueEdited);
    f.Type(QStringLiteral("87"));
    QCOMPARE(f.bar->Bar()->value(), 87);
    QCOMPARE(f.bar->Value(), 87);
    QCOMPARE(edited.last().first().toInt(), 87);
    // Empty reads as 0.
    QTest::keyClick(f.bar->Box(), Qt::Key_Backspace);
    QTest::keyClick(f.bar->Box(), Qt::Key_Backspace);
    QCOMPARE(f.bar->Box()->text(), QString());
    QCOMPARE(f.bar->Value(), 0);

    f.bar->Bar()->setFocus();
    f.bar->SetValue(50);
    QTest::keyClick(f.bar->Bar(), Qt::Key_Right);
    QCOMPARE(f.bar->Box()->text(), QStringLiteral("51"));
    QCOMPARE(edited.last().first().toInt(), 51);
    const int count = edited.count();
    // A fill is not an edit, and a stored value out of range shows clamped.
    f.bar->SetValue(180);
    QCOMPARE(f.bar->Value(), 100);
    QCOMPARE(f.bar->Box()->text(), QStringLiteral("100"));
    f.bar->SetValue(-3);
    QCOMPARE(f.bar->Value(), 0);
    QCOMPARE(edited.count(), count);
}

void CAttributeBarTest::aNonDigitOrANumberOver100IsRefusedWithTheMessage() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QSignalSpy refused(f.bar, &CAttributeBar::InputRefused);
    f.Type(QStringLiteral("1a"));
    QCOMPARE(f.bar->Box()->text(), QStringLiteral("1"));
    QCOMPARE(f.bar->Value(), 1);
    QVERIFY(refused.count() >= 1);
    QCOMPARE(refused.last().first().toString(), QStringLiteral("0 to 100 only"));
    QCOMPARE(f.window.statusBar()->currentMessage(), QStringLiteral("0 to 100 only"));

    f.window.statusBar()->clearMessage();
    refused.clear();
    f.Type(QStringLiteral("101"));
    QCOMPARE(f.bar->Box()->text(), QStringLiteral("10"));
    QCOMPARE(f.bar->Value(), 10);
    QVERIFY(refused.count() >= 1);
    QCOMPARE(f.window.statusBar()->currentMessage(), QStringLiteral("0 to 100 only"));
    f.Type(QStringLiteral("100"));
    QCOMPARE(f.bar->Value(), 100);
    f.Type(QStringLiteral("-5"));
    QCOMPARE(f.bar->Value(), 5);
}

void CAttributeBarTest::theOverallBarCannotBeEdited() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.bar->SetReadOnly(true);
    f.bar->SetValue(73);
    QSignalSpy edited(f.bar, &CAttributeBar::ValueEdited);
    QVERIFY(!f.bar->Box()->isEnabled());
    QVERIFY(!f.bar->Bar()->isEnabled());
    QTest::mouseClick(f.bar->Bar(), Qt::LeftButton, {}, QPoint(f.bar->Bar()->width() - 2, 5));
    QTest::keyClicks(f.bar->Box(), QStringLiteral("5"));
    QCOMPARE(f.bar->Value(), 73);
    QCOMPARE(edited.count(), 0);
}

void CAttributeBarTest::theRefusalLeavesTheStatusBarWhenFixedOrHidden() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.Type(QStringLiteral("9x"));
    QCOMPARE(f.window.statusBar()->currentMessage(), QStringLiteral("0 to 100 only"));
    // The next accepted keystroke mends it.
    QTest::keyClick(f.bar->Box(), Qt::Key_Backspace);
    QCOMPARE(f.window.statusBar()->currentMessage(), QString());
    // Another control's message is not the bar's to clear.
    f.window.statusBar()->showMessage(QStringLiteral("Saved"));
    QTest::keyClicks(f.bar->Box(), QStringLiteral("1"));
    QCOMPARE(f.window.statusBar()->currentMessage(), QStringLiteral("Saved"));
    // Leaving the page hides the bar and its message.
    f.Type(QStringLiteral("5y"));
    QCOMPARE(f.window.statusBar()->currentMessage(), QStringLiteral("0 to 100 only"));
    f.bar->hide();
    QCOMPARE(f.window.statusBar()->currentMessage(), QString());
}

QTEST_MAIN(CAttributeBarTest)
#include "CAttributeBarTest.moc"
