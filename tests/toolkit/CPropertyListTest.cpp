#include "editor/toolkit/CPropertyColours.h"
#include "editor/toolkit/CPropertyList.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

namespace {

QString Lookup(const QString& key) {
    static const QHash<QString, QString> texts{
        {"Caption_True", "True"},          {"Caption_False", "False"},
        {"Caption_Info", "Player info"},   {"Caption_Info_Help", "About the player."},
        {"Caption_Talent", "Talent"},      {"Caption_Talent_Help", "Talent, from 0 to 5."},
        {"Caption_Calm", "Calm"},          {"Caption_Black", "Black"},
        {"Caption_Brown", "Brown"},        {"Caption_Red", "Red"}};
    return texts.value(key, key);
}

// A list shown on screen with one item of every kind.
struct Fixture {
    CPropertyList list;
    int heading, talent, calm, hair, colour, note;
    Fixture() {
        CPropertyModel* m = list.Model();
        m->SetColours(std::make_shared<CPropertyColours>(QList<CPropertyColours::SColour>{
            {1, Qt::red, QStringLiteral("Red")}, {2, Qt::blue, QStringLiteral("Blue")}}));
        heading = m->AddHeading(QStringLiteral("Caption_Info"));
        talent = m->AddNumber(QStringLiteral("Caption_Talent"), 0, 5);
        calm = m->AddBool(QStringLiteral("Caption_Calm"));
        hair = m->AddChoice(QStringLiteral("Caption_Hair"),
                            {QStringLiteral("Caption_Black"), QStringLiteral("Caption_Brown"),
                             QStringLiteral("Caption_Red")});
        colour = m->AddColour(QStringLiteral("Caption_Colour"));
        note = m->AddText(QStringLiteral("Caption_Note"));
        list.SetTextLookup(Lookup);
        list.resize(360, 320);
        list.show();
        list.activateWindow();
    }
    QString Shown(int row) const { return list.Model()->index(row, 1).data().toString(); }
    // Opens the editor of a row the way a user does: select it, press F2.
    QWidget* OpenEditor(int row) {
        list.SelectRow(row);
        QTest::keyClick(list.View(), Qt::Key_F2);
        return list.View()->indexWidget(list.Model()->index(row, 1));
    }
};

} // namespace

class CPropertyListTest : public QObject {
    Q_OBJECT
private slots:
    void itemsShowTheirValuesAndTheSelectedRowsHelp();
    void editorsKeepRangesAndReportOnlyRealEdits();
    void aValueTheEditorCannotShowStaysUntilTheUserChangesIt();
};

void CPropertyListTest::itemsShowTheirValuesAndTheSelectedRowsHelp() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.list));
    CPropertyModel* m = f.list.Model();
    m->SetValue(f.talent, 4);
    m->SetValue(f.calm, 1);
    m->SetValue(f.hair, 1);
    m->SetValue(f.colour, 2);
    m->SetValue(f.note, QStringLiteral("left-footed"));
    QCOMPARE(m->index(f.talent, 0).data().toString(), QStringLiteral("Talent"));
    QCOMPARE(f.Shown(f.talent), QStringLiteral("4"));
    QCOMPARE(f.Shown(f.calm), QStringLiteral("True"));
    m->SetValue(f.calm, 0);
    QCOMPARE(f.Shown(f.calm), QStringLiteral("False"));
    QCOMPARE(f.Shown(f.hair), QStringLiteral("Brown"));
    QCOMPARE(f.Shown(f.colour), QStringLiteral("Blue"));
    QVERIFY(!m->index(f.colour, 1).data(Qt::DecorationRole).isNull());
    QCOMPARE(f.Shown(f.note), QStringLiteral("left-footed"));
    QVERIFY(f.list.View()->isFirstColumnSpanned(f.heading, {}));
    QVERIFY(!(m->flags(m->index(f.heading, 1)) & Qt::ItemIsEditable));

    // The help follows the selection, also when moved with the keyboard.
    f.list.SelectRow(f.heading);
    QCOMPARE(f.list.HelpLabel()->text(), QStringLiteral("About the player."));
    QTest::keyClick(f.list.View(), Qt::Key_Down);
    QCOMPARE(f.list.SelectedRow(), f.talent);
    QCOMPARE(f.list.HelpLabel()->text(), QStringLiteral("Talent, from 0 to 5."));
    // A fill keeps the selection.
    m->SetValue(f.talent, 2);
    QCOMPARE(f.list.SelectedRow(), f.talent);

    // Too narrow for names and values: moving through the values leaves the names in view.
    m->SetValue(f.note, QString(60, u'w'));
    f.list.resize(60, 320);
    QTRY_VERIFY(f.list.View()->horizontalScrollBar()->maximum() > 0);
    f.list.SelectRow(f.note);
    QTest::keyClick(f.list.View(), Qt::Key_Up);
    QCOMPARE(f.list.SelectedRow(), f.colour);
    QCOMPARE(f.list.View()->horizontalScrollBar()->value(), 0);
}

void CPropertyListTest::editorsKeepRangesAndReportOnlyRealEdits() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.list));
    CPropertyModel* m = f.list.Model();
    m->SetValue(f.talent, 3);
    QSignalSpy edited(m, &CPropertyModel::ValueEdited);

    auto* spin = qobject_cast<QSpinBox*>(f.OpenEditor(f.talent));
    QVERIFY(spin);
    QCOMPARE(spin->accessibleName(), QStringLiteral("Talent"));
    QCOMPARE(spin->minimum(), 0);
    QCOMPARE(spin->maximum(), 5);
    QCOMPARE(spin->value(), 3);
    QTest::keyClick(spin, Qt::Key_Up);
    // Live, before the editor closes.
    QCOMPARE(m->Value(f.talent).toInt(), 4);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), 5);
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(m->Value(f.talent).toInt(), 5);
    QVERIFY(m->IsChanged(f.talent));
    QCOMPARE(edited.count(), 2);
    // The model refuses what the range does not allow, from any caller.
    QVERIFY(!m->setData(m->index(f.talent, 1), 6, Qt::EditRole));
    QVERIFY(!m->setData(m->index(f.heading, 1), 1, Qt::EditRole));

    auto* calm = qobject_cast<QComboBox*>(f.OpenEditor(f.calm));
    QVERIFY(calm);
    QCOMPARE(calm->itemText(1), QStringLiteral("True"));
    calm->setCurrentIndex(1);
    QTest::keyClick(calm, Qt::Key_Return);
    QCOMPARE(m->Value(f.calm).toInt(), 1);

    m->SetValue(f.colour, 1);
    auto* colour = qobject_cast<QComboBox*>(f.OpenEditor(f.colour));
    QVERIFY(colour);
    QCOMPARE(colour->count(), 2);
    QCOMPARE(colour->currentText(), QStringLiteral("Red"));
    QTest::keyClick(colour, Qt::Key_Down);
    QCOMPARE(m->Value(f.colour).toInt(), 2);

    auto* note = qobject_cast<QLineEdit*>(f.OpenEditor(f.note));
    QVERIFY(note);
    QTest::keyClicks(note, QStringLiteral("calm"));
    QTest::keyClick(note, Qt::Key_Return);
    QCOMPARE(m->Value(f.note).toString(), QStringLiteral("calm"));

    // A new fill is the unchanged state again.
    m->SetValue(f.talent, 1);
    QVERIFY(!m->IsChanged(f.talent));
}

void CPropertyListTest::aValueTheEditorCannotShowStaysUntilTheUserChangesIt() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.list));
    CPropertyModel* m = f.list.Model();
    m->SetValue(f.talent, 9);
    m->SetValue(f.hair, 7);
    QCOMPARE(f.Shown(f.talent), QStringLiteral("9"));
    QCOMPARE(f.Shown(f.hair), QString());

    // Opening and closing the editors (the spinner shows 5, the drop-down nothing) writes
    // nothing back.
    QVERIFY(qobject_cast<QSpinBox*>(f.OpenEditor(f.talent)));
    f.list.SelectRow(f.calm);
    QVERIFY(qobject_cast<QComboBox*>(f.OpenEditor(f.hair)));
    f.list.SelectRow(f.calm);
    QCOMPARE(m->Value(f.talent).toInt(), 9);
    QCOMPARE(m->Value(f.hair).toInt(), 7);
    QVERIFY(!m->IsChanged(f.talent));
    QVERIFY(!m->IsChanged(f.hair));

    auto* spin = qobject_cast<QSpinBox*>(f.OpenEditor(f.talent));
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(m->Value(f.talent).toInt(), 4);
    QVERIFY(m->IsChanged(f.talent));
}

QTEST_MAIN(CPropertyListTest)
#include "CPropertyListTest.moc"
