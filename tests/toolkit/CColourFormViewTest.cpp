#include "editor/toolkit/CColourFormView.h"
#include "editor/toolkit/CComboBoxAccessible.h"
#include "editor/toolkit/CPropertyList.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

QString Lookup(const QString& key) {
    static const QHash<QString, QString> texts{{"Caption_Apply", "Apply"},
                                               {"Caption_Reset", "Reset"},
                                               {"Caption_FirstName", "First name"},
                                               {"Caption_StarPlayer", "Star player"},
                                               {"Caption_Left", "Left"},
                                               {"Caption_Leadership", "Leadership"}};
    return texts.value(key, key);
}

} // namespace

class CColourFormViewTest : public QObject {
    Q_OBJECT
private slots:
    void keysAreLocalisedOnceBuiltAndLabelsNameTheirBuddies();
    void applyAndResetSitAtTheBottomRightAndAnswerTheirKeys();
    void dropDownsAreAnnouncedByTheirLabelsNotTheirEntries();
};

void CColourFormViewTest::keysAreLocalisedOnceBuiltAndLabelsNameTheirBuddies() {
    CColourFormView form(Lookup);
    auto* layout = new QVBoxLayout(form.Body());
    auto* label = new QLabel(QStringLiteral("Caption_FirstName"));
    auto* box = new QLineEdit;
    label->setBuddy(box);
    auto* star = new QCheckBox(QStringLiteral("Caption_StarPlayer"));
    auto* unknown = new QLabel(QStringLiteral("Caption_NoSuchKey"));
    auto* plain = new QLabel(QStringLiteral("12 players"));
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("Caption_Left"), QStringLiteral("Caption_Either")});
    auto* list = new CPropertyList;
    const int row = list->Model()->AddNumber(QStringLiteral("Caption_Leadership"), 0, 4);
    for (QWidget* w : std::initializer_list<QWidget*>{label, box, star, unknown, plain, combo,
                                                       list}) {
        layout->addWidget(w);
    }
    // Not while the page is still being built; as soon as it is, even unshown.
    QCOMPARE(label->text(), QStringLiteral("Caption_FirstName"));
    QVERIFY(!form.IsLocalised());
    QCoreApplication::processEvents();
    QVERIFY(form.isHidden());
    QCOMPARE(label->text(), QStringLiteral("First name"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(label->text(), QStringLiteral("First name"));
    QCOMPARE(box->accessibleName(), QStringLiteral("First name"));
    QCOMPARE(star->text(), QStringLiteral("Star player"));
    QCOMPARE(star->accessibleName(), QStringLiteral("Star player"));
    QCOMPARE(unknown->text(), QStringLiteral("Caption_NoSuchKey"));
    QCOMPARE(plain->text(), QStringLiteral("12 players"));
    QCOMPARE(combo->itemText(0), QStringLiteral("Left"));
    QCOMPARE(combo->itemText(1), QStringLiteral("Caption_Either"));
    QCOMPARE(list->Model()->index(row, 0).data().toString(), QStringLiteral("Leadership"));
    QCOMPARE(form.ApplyButton()->text(), QStringLiteral("Apply"));
    QCOMPARE(form.ResetButton()->text(), QStringLiteral("Reset"));
}

void CColourFormViewTest::applyAndResetSitAtTheBottomRightAndAnswerTheirKeys() {
    CColourFormView form(Lookup);
    auto* box = new QLineEdit(form.Body());
    (new QVBoxLayout(form.Body()))->addWidget(box);
    form.resize(400, 300);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const QRect apply = form.ApplyButton()->geometry();
    const QRect reset = form.ResetButton()->geometry();
    QVERIFY(apply.bottom() > form.height() - 3 * apply.height());
    QVERIFY(reset.right() > form.width() - 30);
    QVERIFY(apply.right() < reset.left());

    QSignalSpy applied(&form, &CColourFormView::ApplyClicked);
    QSignalSpy reset_(&form, &CColourFormView::ResetClicked);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(applied.count(), 1);
    QTest::keyClick(box, Qt::Key_R, Qt::AltModifier);
    QCOMPARE(reset_.count(), 1);
    QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
    QCOMPARE(applied.count(), 2);
    // A disabled Apply does not answer its key either.
    form.ApplyButton()->setEnabled(false);
    QTest::keyClick(box, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(applied.count(), 2);
}

void CColourFormViewTest::dropDownsAreAnnouncedByTheirLabelsNotTheirEntries() {
    CComboBoxAccessible::Install();
    CColourFormView form(Lookup);
    auto* layout = new QVBoxLayout(form.Body());
    auto* label = new QLabel(QStringLiteral("Caption_Leadership"));
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("Caption_Left"), QStringLiteral("Right")});
    label->setBuddy(combo);
    auto* derived = new QComboBox; // named in code, no label
    derived->setAccessibleName(QStringLiteral("Team"));
    derived->addItem(QStringLiteral("Kingsham"));
    for (QWidget* w : std::initializer_list<QWidget*>{label, combo, derived})
        layout->addWidget(w);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(combo);
    QCOMPARE(spoken->role(), QAccessible::ComboBox);
    QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Leadership"));
    QCOMPARE(spoken->text(QAccessible::Value), QStringLiteral("Left"));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Leadership"));
    QCOMPARE(spoken->text(QAccessible::Value), QStringLiteral("Right"));
    QCOMPARE(QAccessible::queryAccessibleInterface(derived)->text(QAccessible::Name),
             QStringLiteral("Team"));
    // The list it opens is its child, and its actions open it.
    QCOMPARE(spoken->childCount(), 1);
    QCOMPARE(spoken->child(0)->object(), combo->view());
    QCOMPARE(spoken->indexOfChild(spoken->child(0)), 0);
    QVERIFY(!spoken->state().expanded);
    spoken->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(combo->view()->isVisible());
    QVERIFY(spoken->state().expanded);
    combo->hidePopup();
}

QTEST_MAIN(CColourFormViewTest)
#include "CColourFormViewTest.moc"
