#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "UserSteps.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/database/CMessageSink.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/localisation/CLocalisationTable.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CAttributeBar.h"
#include "editor/toolkit/CPictureView.h"
#include "editor/toolkit/CPropertyList.h"
#include "editor/windows/CPlayerAppearanceForm.h"
#include "editor/windows/CPlayerAttributesForm.h"
#include "editor/windows/CPlayerBannerForm.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayerInfoForm.h"
#include "editor/windows/CTeamFrame.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <functional>

namespace {

using C = EPlayerColumn;

// The first player of a team who is `wanted`, after `skip` others; 0 when there is none.
int32_t PlayerOfATeam(const CGameDatabase& db, const std::function<bool(const CPlayer&)>& wanted,
                      int skip = 0) {
    for (const auto& [id, player] : db.Players()) {
        if (!player.Teams().empty() && wanted(player) && skip-- == 0) {
            return id;
        }
    }
    return 0;
}

// One who plays in the field, is no star and has a first name.
int32_t OutfieldPlayer(const CGameDatabase& db, int skip = 0) {
    return PlayerOfATeam(
        db,
        [](const CPlayer& player) {
            return player.Value(C::PreferredPosition1) >= 9 &&
                   player.Value(C::PreferredPosition1) <= 25 && !player.FirstName().empty() &&
                   player.Value(C::StarPlayer) == 0;
        },
        skip);
}

int32_t WithSpecificFace(const CGameDatabase& db) {
    return PlayerOfATeam(db, [](const CPlayer& p) { return p.Value(C::SpecificFace) > 0; });
}

int32_t Goalkeeper(const CGameDatabase& db) {
    return PlayerOfATeam(db, [](const CPlayer& p) { return p.Value(C::PreferredPosition1) == 0; });
}

template <typename T>
T* Named(QWidget* root, const QString& accessibleName) {
    for (T* widget : root->findChildren<T*>()) {
        if (widget->accessibleName() == accessibleName && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

} // namespace

class PlayerWindowTest : public FreshEditorTest {
    Q_OBJECT

public:
    PlayerWindowTest() : FreshEditorTest(QSize(1200, 900)) {}

private:
    // The window of `player` (0: an outfield player) in front.
    CPlayerFrame* Open(int32_t player = 0) {
        m_player = player ? player : OutfieldPlayer(Db());
        if (!m_frame->OpenPlayer(m_player)) {
            return nullptr;
        }
        m_frame->MdiArea()->activeSubWindow()->showMaximized();
        return Frame();
    }
    CGameDatabase& Db() { return *m_frame->Database(); }
    CPlayer& Record() { return *Db().FindPlayer(m_player); }
    CPlayerFrame* Frame() {
        QMdiSubWindow* active = m_frame->MdiArea()->activeSubWindow();
        return active ? qobject_cast<CPlayerFrame*>(active->widget()) : nullptr;
    }
    CPlayerInfoForm* Info() { return static_cast<CPlayerInfoForm*>(Frame()->Page(0)); }
    CPlayerAppearanceForm* Looks() { return static_cast<CPlayerAppearanceForm*>(Frame()->Page(1)); }
    CPlayerAttributesForm* Abilities() {
        return static_cast<CPlayerAttributesForm*>(Frame()->Page(2));
    }
    // Clicks the page's tab, as a user does.
    void ShowPage(int index) {
        UserSteps::ClickTab(Frame()->Tabs(), index);
        QCOMPARE(Frame()->Tabs()->currentIndex(), index);
    }
    void Retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, c.toLatin1());
            } else {
                // A key of a keyboard layout with that letter.
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(box, &press);
            }
        }
    }
    // Opens a property row's editor with the keyboard and moves it `steps` up (negative: down).
    void StepProperty(CPropertyList* list, int row, int steps) {
        list->View()->setFocus();
        list->SelectRow(row);
        QTest::keyClick(list->View(), Qt::Key_F2);
        QWidget* editor = list->View()->indexWidget(list->Model()->index(row, 1));
        QVERIFY(editor);
        // Up raises a spinner; a drop-down goes down its list to the next value.
        const bool dropDown = qobject_cast<QComboBox*>(editor) != nullptr;
        for (int i = 0; i < std::abs(steps); ++i) {
            QTest::keyClick(editor, (steps > 0) != dropDown ? Qt::Key_Up : Qt::Key_Down);
        }
        QTest::keyClick(editor, Qt::Key_Return);
    }
    void KeyOnPage(QWidget* focus, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        focus->setFocus();
        QTest::keyClick(focus, key, modifiers);
    }
    QAction* Action(const char* key) {
        for (QAction* action : m_frame->findChildren<QAction*>()) {
            if (action->objectName() == QLatin1String(key) ||
                action->text() == m_frame->Text(key)) {
                return action;
            }
        }
        return nullptr;
    }

    int32_t m_player = 0;

private slots:
    void pagesFillFromTheRecordWithNamedControls();
    void editsReachTheRecordOnlyOnApplyAndAreUndoable();
    void resetOnAppearanceRestoresAppearanceOnlyAndCanBeUndone();
    void undoTwiceThenApplyDropsTheRedoBranch();
    void goalkeeperOverallFollowsTheGoalkeepingAttributes();
    void attributeBoxesRefuseNonDigitsAndNumbersOver100();
    void valuesTheControlsCannotShowStayUntilTouched();
    void overLongNamesAreRefusedNamingTheField();
    void starFlagIsWrittenAtOnceAndTeamsOpenFromTheList();
    void undoAfterAMoveLeavesTheTeamListAlone();
    void anEditSavedWithCtrlSIsInTheFile();
    void specificFaceComesFromTheArchivesAndFollowsTheList();
};

void PlayerWindowTest::pagesFillFromTheRecordWithNamedControls() {
    CPlayerFrame* window = Open();
    QVERIFY(window);
    const CPlayer& p = Record();
    QCOMPARE(window->Tabs()->count(), 3);
    QCOMPARE(window->Tabs()->tabText(0), m_frame->Text("Tab_PlayerInfo"));
    QCOMPARE(window->Tabs()->tabText(2), m_frame->Text("Tab_PlayerAbilities"));
    auto* banner = window->findChild<CPlayerBannerForm*>();
    QCOMPARE(banner->Title(), QString::fromStdString(p.FirstName() + " " + p.LastName()));
    QCOMPARE(banner->Caption(),
             m_frame->Text(CLocalisationTable::PositionKey(p.Value(C::PreferredPosition1)).data()));
    QCOMPARE(banner->Colour(), QColor(192, 0, 0));

    // Controls are found by their labels' texts, as screen readers find them.
    auto* first = Named<QLineEdit>(Info(), QStringLiteral("First name"));
    QVERIFY(first);
    QCOMPARE(first->text(), QString::fromStdString(p.FirstName()));
    QCOMPARE(Named<QLineEdit>(Info(), QStringLiteral("Last name"))->text(),
             QString::fromStdString(p.LastName()));
    const QList<QLabel*> labels = Info()->findChildren<QLabel*>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [this](QLabel* label) {
        return label->text() == QStringLiteral("ID=%1").arg(m_player);
    }));
    auto* position = Named<QComboBox>(Info(), m_frame->Text("Caption_PreferredPosition1"));
    QVERIFY(position);
    QCOMPARE(position->count(), 32);
    QCOMPARE(position->currentIndex(), p.Value(C::PreferredPosition1));
    QCOMPARE(Info()->TeamList()->count(), static_cast<int>(p.Teams().size()));
    QCOMPARE(Info()->TeamList()->item(0)->text(),
             QString::fromStdString(Db().FindTeam(p.Teams().front())->Name()));
    CPropertyModel* traits = Info()->Traits()->Model();
    QCOMPARE(traits->index(1, 0).data().toString(), QStringLiteral("Leadership"));
    QCOMPARE(traits->Value(1).toInt(), p.Value(C::Leadership));
    QCOMPARE(traits->RowOfKey(QStringLiteral("Caption_AgeRate2")), 19);
    QCOMPARE(traits->Maximum(traits->RowOfKey(QStringLiteral("Caption_Tacticaliconid1"))), 13);

    ShowPage(2);
    auto* pace = Named<QLineEdit>(Abilities(), QStringLiteral("Pace"));
    QVERIFY(pace);
    QCOMPARE(pace->text().toInt(), p.Value(C::Pace));
    QVERIFY(Named<QSlider>(Abilities(), QStringLiteral("Acceleration")));
    QCOMPARE(Abilities()->Overall()->Value(), static_cast<int>(p.ComputeOverall()));
    QVERIFY(!Abilities()->Overall()->Box()->isEnabled());

    ShowPage(1);
    CPropertyModel* looks = Looks()->Properties()->Model();
    QCOMPARE(looks->Value(1).toInt(), p.Value(C::FaceType));
    QCOMPARE(looks->Value(2).toInt(), p.Value(C::HairColour) - 1);
    // The pictures come from the Arts folder beside the editor.
    QVERIFY(Looks()->Face()->HasPicture());
    QVERIFY(Looks()->Hair()->HasPicture());
    QVERIFY(Looks()->FacialHair()->HasPicture());
    // Every control of every page says what it is.
    for (QWidget* page : {static_cast<QWidget*>(Info()), static_cast<QWidget*>(Looks()),
                          static_cast<QWidget*>(Abilities())}) {
        for (QWidget* control : page->findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                qobject_cast<QAbstractButton*>(control) || qobject_cast<QSlider*>(control) ||
                qobject_cast<QAbstractSpinBox*>(control)) {
                // The line edit inside a spin box or date picker is named by its owner.
                if (qobject_cast<QAbstractSpinBox*>(control->parentWidget())) {
                    continue;
                }
                QVERIFY2(!control->accessibleName().isEmpty() &&
                             !control->accessibleName().startsWith(QStringLiteral("Caption_")),
                         qPrintable(control->metaObject()->className() + QStringLiteral(" ") +
                                    control->accessibleName()));
            }
        }
    }
}

void PlayerWindowTest::editsReachTheRecordOnlyOnApplyAndAreUndoable() {
    QVERIFY(Open());
    const CPlayer before = Record();
    Retype(Named<QLineEdit>(Info(), QStringLiteral("First name")), QStringLiteral("Ottó"));
    Retype(Named<QLineEdit>(Info(), QStringLiteral("Last name")), QStringLiteral("Kovács"));
    const int calm = Info()->Traits()->Model()->RowOfKey(QStringLiteral("Caption_Calm"));
    const int wasCalm = before.Value(C::Calm);
    StepProperty(Info()->Traits(), calm, wasCalm ? -1 : 1);
    // Nothing reaches the record before Apply.
    QCOMPARE(Record().FirstName(), before.FirstName());
    QVERIFY(!m_frame->isWindowModified());
    KeyOnPage(Named<QLineEdit>(Info(), QStringLiteral("Last name")), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(Record().FirstName(), std::string("Ottó"));
    QCOMPARE(Record().LastName(), std::string("Kovács"));
    QCOMPARE(Record().Value(C::Calm), 1 - wasCalm);
    QVERIFY(m_frame->isWindowModified());
    QVERIFY(Frame()->CanUndo());
    QCOMPARE(Frame()->findChild<CPlayerBannerForm*>()->Title(), QStringLiteral("Ottó Kovács"));
    // The window is found under the new name: opening the player again activates it.
    QVERIFY(m_frame->MdiArea()->activeSubWindow()->windowTitle().endsWith(
        QString::fromStdString(Db().PlayerDisplayName(m_player))));
    QVERIFY(m_frame->OpenPlayer(m_player));
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 1);

    ShowPage(2);
    Retype(Abilities()->Bar(0)->Box(), QStringLiteral("91"));
    Retype(Abilities()->Bar(2)->Box(), QStringLiteral("7"));
    Abilities()->Bar(24)->Bar()->setFocus();
    QTest::keyClick(Abilities()->Bar(24)->Bar(), Qt::Key_Home);
    QCOMPARE(Abilities()->Bar(24)->Box()->text(), QStringLiteral("0"));
    QTest::mouseClick(Abilities()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::Acceleration), 91);
    QCOMPARE(Record().Value(C::Pace), 7);
    QCOMPARE(Record().Value(C::Throwing), 0);
    QCOMPARE(Record().Value(C::Aggression), before.Value(C::Aggression));

    ShowPage(1);
    const int face = before.Value(C::FaceType);
    StepProperty(Looks()->Properties(), 1, face < 25 ? 1 : -1);
    const int newFace = face < 25 ? face + 1 : face - 1;
    // The picture follows the list before Apply.
    QCOMPARE(Looks()->Properties()->Model()->Value(1).toInt(), newFace);
    QCOMPARE(Record().Value(C::FaceType), face);
    QTest::mouseClick(Looks()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::FaceType), newFace);
    QCOMPARE(Frame()->History().Count(), 4);

    // Ctrl+Z and Ctrl+Y act on the active window's history, through the main window.
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Record().Value(C::FaceType), face);
    QCOMPARE(Looks()->Properties()->Model()->Value(1).toInt(), face);
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Record().Value(C::Acceleration), before.Value(C::Acceleration));
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Record().FirstName(), before.FirstName());
    QVERIFY(!Frame()->CanUndo());
    QVERIFY(!Action("Menu_EditUndo")->isEnabled());
    QVERIFY(Action("Menu_EditRedo")->isEnabled());
    QTest::keyClick(m_frame, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Record().FirstName(), std::string("Ottó"));
    ShowPage(0);
    QCOMPARE(Named<QLineEdit>(Info(), QStringLiteral("First name"))->text(), QStringLiteral("Ottó"));
}

void PlayerWindowTest::resetOnAppearanceRestoresAppearanceOnlyAndCanBeUndone() {
    QVERIFY(Open());
    const CPlayer before = Record();
    Retype(Named<QLineEdit>(Info(), QStringLiteral("Last name")), QStringLiteral("Reset"));
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    ShowPage(1);
    const int hair = before.Value(C::HairType);
    StepProperty(Looks()->Properties(), 3, hair < 11 ? 1 : -1);
    QTest::mouseClick(Looks()->ApplyButton(), Qt::LeftButton);
    QVERIFY(Record().Value(C::HairType) != hair);

    QTest::mouseClick(Looks()->ResetButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::HairType), hair);
    QCOMPARE(Looks()->Properties()->Model()->Value(3).toInt(), hair);
    // The information page's edit stays.
    QCOMPARE(Record().LastName(), std::string("Reset"));
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Record().Value(C::HairType) != hair);
    QCOMPARE(Record().LastName(), std::string("Reset"));
}

void PlayerWindowTest::undoTwiceThenApplyDropsTheRedoBranch() {
    QVERIFY(Open());
    QLineEdit* last = Named<QLineEdit>(Info(), QStringLiteral("Last name"));
    for (const char* name : {"One", "Two", "Three"}) {
        Retype(last, QString::fromLatin1(name));
        QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    }
    QCOMPARE(Frame()->History().Count(), 4);
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Record().LastName(), std::string("One"));
    QVERIFY(Action("Menu_EditRedo")->isEnabled());
    Retype(last, QStringLiteral("Four"));
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Frame()->History().Count(), 3);
    QVERIFY(!Frame()->CanRedo());
    QVERIFY(!Action("Menu_EditRedo")->isEnabled());
    // Apply without a change pushes nothing.
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Frame()->History().Count(), 3);
}

void PlayerWindowTest::goalkeeperOverallFollowsTheGoalkeepingAttributes() {
    QVERIFY(Open(Goalkeeper(Db())));
    ShowPage(2);
    QStringList keeping;
    for (const char* key : {"Caption_Awareness", "Caption_Determination", "Caption_Rushing",
                            "Caption_Handling", "Caption_Punching", "Caption_Aggression",
                            "Caption_Reflexes", "Caption_Anticipation", "Caption_Throwing",
                            "Caption_Jumping", "Caption_Strength"}) {
        keeping << m_frame->Text(key);
    }
    for (int i = 0; i < CPlayerAttributesForm::kAttributeCount; ++i) {
        CAttributeBar* bar = Abilities()->Bar(i);
        Retype(bar->Box(), keeping.contains(bar->Label()->text()) ? QStringLiteral("99")
                                                                   : QStringLiteral("3"));
    }
    QTest::mouseClick(Abilities()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Abilities()->Overall()->Value(), 99);
    QCOMPARE(Abilities()->Overall()->Box()->text(), QStringLiteral("99"));
    QCOMPARE(static_cast<int>(Record().ComputeOverall()), 99);
}

void PlayerWindowTest::attributeBoxesRefuseNonDigitsAndNumbersOver100() {
    QVERIFY(Open());
    ShowPage(2);
    const int stored = Record().Value(C::Stamina);
    QLineEdit* stamina = Named<QLineEdit>(Abilities(), QStringLiteral("Stamina"));
    QVERIFY(stamina);
    const QString message = m_frame->Text("Message_Number_0_To_100_Only");
    Retype(stamina, QStringLiteral("1a"));
    QCOMPARE(stamina->text(), QStringLiteral("1"));
    QCOMPARE(m_frame->statusBar()->currentMessage(), message);
    m_frame->statusBar()->clearMessage();
    Retype(stamina, QStringLiteral("101"));
    QCOMPARE(stamina->text(), QStringLiteral("10"));
    QCOMPARE(m_frame->statusBar()->currentMessage(), message);
    QCOMPARE(Named<QSlider>(Abilities(), QStringLiteral("Stamina"))->value(), 10);
    // The record waits for Apply.
    QCOMPARE(Record().Value(C::Stamina), stored);
    Retype(stamina, QString());
    QCOMPARE(Named<QSlider>(Abilities(), QStringLiteral("Stamina"))->value(), 0);
}

void PlayerWindowTest::valuesTheControlsCannotShowStayUntilTouched() {
    QVERIFY(Open());
    // Stored values the controls cannot show: accessory 0 (shown as Nil), a hair colour outside
    // the list, a leadership over its range, an attribute over 100, no second position.
    CPlayer& p = Record();
    p.SetValue(C::Accessory1, 0);
    p.SetValue(C::HairColour, 9);
    p.SetValue(C::Leadership, 7);
    p.SetValue(C::Crossing, 150);
    p.SetValue(C::PreferredPosition2, -1);
    p.SetValue(C::Height, 230);
    // As another program's values would come: told by the document.
    SChange change;
    change.what = SChange::Fields;
    change.players = {m_player};
    m_frame->Document().NotifyChanged(change);
    ShowPage(1);
    CPropertyModel* looks = Looks()->Properties()->Model();
    const int accessory = looks->RowOfKey(QStringLiteral("Caption_Accessory1"));
    QCOMPARE(looks->index(accessory, 1).data().toString(), m_frame->Text("Caption_Nil"));
    // Another item changes; Apply writes that one only.
    StepProperty(Looks()->Properties(), looks->RowOfKey(QStringLiteral("Caption_LegType")), 1);
    QTest::mouseClick(Looks()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::Accessory1), 0);
    QCOMPARE(Record().Value(C::HairColour), 9);
    ShowPage(0);
    Retype(Named<QLineEdit>(Info(), QStringLiteral("Last name")), QStringLiteral("Kept"));
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::Leadership), 7);
    QCOMPARE(Record().Value(C::PreferredPosition2), -1);
    QCOMPARE(Record().Value(C::Height), 230);
    // No second position shows as the empty entry at the top of its list.
    auto* second = Named<QComboBox>(Info(), m_frame->Text("Caption_PreferredPosition2"));
    QVERIFY(second);
    QCOMPARE(second->currentIndex(), 0);
    QCOMPARE(second->currentText(), QString());
    QCOMPARE(second->count(), 33);
    // A third position set back to none by keys; a code without an entry stays until then.
    auto* third = Named<QComboBox>(Info(), m_frame->Text("Caption_PreferredPosition3"));
    Record().SetValue(C::PreferredPosition3, 40);
    m_frame->Document().NotifyChanged(change);
    QCOMPARE(third->currentIndex(), -1);
    Retype(Named<QLineEdit>(Info(), QStringLiteral("Last name")), QStringLiteral("Again"));
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::PreferredPosition3), 40);
    third->setFocus();
    QTest::keyClick(third, Qt::Key_Home);
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::PreferredPosition3), -1);
    QTest::keyClick(third, Qt::Key_Down);
    QCOMPARE(third->currentText(), m_frame->Text(CLocalisationTable::PositionKey(0).data()));
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::PreferredPosition3), 0);
    ShowPage(2);
    Retype(Abilities()->Bar(0)->Box(), QStringLiteral("40"));
    QTest::mouseClick(Abilities()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::Crossing), 150);
    // Chosen by the user, Nil is written as the game's 15.
    ShowPage(1);
    StepProperty(Looks()->Properties(), accessory, -1);
    StepProperty(Looks()->Properties(), accessory, 1);
    QCOMPARE(looks->Value(accessory).toInt(), 14);
    QVERIFY(!looks->IsChanged(accessory));
    StepProperty(Looks()->Properties(), accessory, -2);
    QTest::mouseClick(Looks()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().Value(C::Accessory1), 13);
}

void PlayerWindowTest::overLongNamesAreRefusedNamingTheField() {
    QVERIFY(Open());
    const CPlayer before = Record();
    // 150 two-byte letters: 300 bytes of UTF-8.
    Retype(Named<QLineEdit>(Info(), QStringLiteral("Last name")), QString(150, QChar(0xE9)));
    Retype(Named<QLineEdit>(Info(), QStringLiteral("First name")), QStringLiteral("Short"));
    m_fixture->prompts.clear();
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.front().startsWith(QStringLiteral("warn: ")));
    QVERIFY(m_fixture->prompts.front().contains(QStringLiteral("Last name")));
    // Nothing of the page was applied, nothing was cut.
    QCOMPARE(Record().LastName(), before.LastName());
    QCOMPARE(Record().FirstName(), before.FirstName());
    QCOMPARE(Frame()->History().Count(), 1);
    QCOMPARE(Named<QLineEdit>(Info(), QStringLiteral("Last name"))->text().size(), 150);
    // 255 bytes fit.
    Retype(Named<QLineEdit>(Info(), QStringLiteral("Last name")), QString(255, u'x'));
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(Record().LastName().size(), 255u);
}

void PlayerWindowTest::starFlagIsWrittenAtOnceAndTeamsOpenFromTheList() {
    QVERIFY(Open());
    const int32_t team = Record().Teams().front();
    QVERIFY(m_frame->OpenTeam(team));
    QVERIFY(m_frame->OpenPlayer(m_player));
    auto* star = Named<QCheckBox>(Info(), m_frame->Text("Caption_StarPlayer"));
    QVERIFY(star);
    QVERIFY(!star->isChecked());
    star->setFocus();
    QTest::keyClick(star, Qt::Key_Space);
    QCOMPARE(Record().Value(C::StarPlayer), 1);
    QCOMPARE(Frame()->History().Count(), 2);
    QVERIFY(m_frame->isWindowModified());
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Record().Value(C::StarPlayer), 0);
    QVERIFY(!star->isChecked());

    // Double-clicking a team of the list opens (here: activates) that team's window.
    QListWidget* teams = Info()->TeamList();
    const QRect row = teams->visualItemRect(teams->item(0));
    // A double click is a click and a second press that the system reports as a double one.
    QTest::mouseClick(teams->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(teams->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_VERIFY(qobject_cast<CTeamFrame*>(m_frame->MdiArea()->activeSubWindow()->widget()));
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 2);
}

void PlayerWindowTest::undoAfterAMoveLeavesTheTeamListAlone() {
    QVERIFY(Open());
    const int32_t from = Record().Teams().front();
    int32_t to = 0;
    for (const auto& [id, team] : Db().Teams()) {
        if (id != from && !Record().IsInTeam(id) && Db().PlayersOfTeam(id).size() < 25) {
            to = id;
            break;
        }
    }
    QVERIFY(to != 0);
    Retype(Named<QLineEdit>(Info(), QStringLiteral("Last name")), QStringLiteral("Mover"));
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QVERIFY(Db().MovePlayer(m_player, from, to));
    const std::vector<int32_t> teams = Record().Teams();
    QVERIFY(Record().IsInTeam(to));
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Record().LastName() != "Mover");
    QCOMPARE(Record().Teams(), teams);
    QVERIFY(!Record().IsInTeam(from));
    QTest::keyClick(m_frame, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Record().Teams(), teams);
    // Reset keeps them too.
    QTest::mouseClick(Info()->ResetButton(), Qt::LeftButton);
    QCOMPARE(Record().Teams(), teams);
}

void PlayerWindowTest::anEditSavedWithCtrlSIsInTheFile() {
    QVERIFY(Open());
    Retype(Named<QLineEdit>(Info(), QStringLiteral("Last name")), QStringLiteral("Saved"));
    ShowPage(2);
    Retype(Named<QLineEdit>(Abilities(), QStringLiteral("Passing")), QStringLiteral("77"));
    QTest::mouseClick(Abilities()->ApplyButton(), Qt::LeftButton);
    ShowPage(0);
    QTest::mouseClick(Info()->ApplyButton(), Qt::LeftButton);
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!m_frame->isWindowModified());

    CGameDatabase loaded;
    CIgnoringSink sink;
    QVERIFY(loaded.LoadGameDatabase(m_fixture->DatabasePath().toStdString(), "", sink));
    const CPlayer* saved = loaded.FindPlayer(m_player);
    QVERIFY(saved);
    QCOMPARE(saved->LastName(), std::string("Saved"));
    QCOMPARE(saved->Value(C::Passing), 77);
}

void PlayerWindowTest::specificFaceComesFromTheArchivesAndFollowsTheList() {
    QVERIFY(Open());
    QVERIFY(m_frame->OpenPlayer(WithSpecificFace(Db())));
    m_player = Frame()->PlayerId();
    ShowPage(1);
    QVERIFY(Looks()->SpecificFace()->HasPicture());
    const QImage face = Looks()->Face()->Shown().toImage();
    // Live, before Apply: no specific face empties its frame; another face type redraws.
    CPropertyModel* looks = Looks()->Properties()->Model();
    const int specific = looks->RowOfKey(QStringLiteral("Caption_SpecificFace"));
    Looks()->Properties()->View()->setFocus();
    Looks()->Properties()->SelectRow(specific);
    QTest::keyClick(Looks()->Properties()->View(), Qt::Key_F2);
    auto* spin = qobject_cast<QSpinBox*>(
        Looks()->Properties()->View()->indexWidget(looks->index(specific, 1)));
    QVERIFY(spin);
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(spin, Qt::Key_0);
    QCOMPARE(looks->Value(specific).toInt(), 0);
    QVERIFY(!Looks()->SpecificFace()->HasPicture());
    QTest::keyClick(spin, Qt::Key_Return);
    StepProperty(Looks()->Properties(), 1, Record().Value(C::FaceType) < 25 ? 1 : -1);
    QVERIFY(Looks()->Face()->Shown().toImage() != face);
    QVERIFY(Record().Value(C::SpecificFace) > 0);
}

QTEST_MAIN(PlayerWindowTest)
#include "PlayerWindowTest.moc"
