#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"
#include "UserSteps.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerFilter.h"
#include "editor/toolkit/CAttributeBar.h"
#include "editor/toolkit/CErrorLineEdit.h"
#include "editor/windows/CAllPlayersFrame.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CBulkEditDialog.h"
#include "editor/windows/CPlayerAttributesForm.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayersTableView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

using namespace UserSteps;

namespace {

using C = EPlayerColumn;

// Types the filter and applies it with Enter.
void ApplyFilter(CAllPlayersFrame& table, const QString& text) {
    Retype(table.FilterEdit(), text);
    QTest::keyClick(table.FilterEdit(), Qt::Key_Return);
}

// Opens the table the way a user does: View › All Players by its shortcut; then the filter, if
// one is given.
CAllPlayersFrame* OpenTable(CMainFrame& frame, const QString& filter = {}) {
    if (!Activate(&frame))
        return nullptr;
    QTest::keyClick(&frame, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    auto* table = qobject_cast<CAllPlayersFrame*>(frame.ActiveFrame());
    if (table && !filter.isEmpty())
        ApplyFilter(*table, filter);
    return table;
}

std::vector<int32_t> Rows(const CAllPlayersFrame& table) {
    return table.Model()->Players();
}

int ColumnOf(const CAllPlayersFrame& table, const char* name) {
    const auto& columns = table.Model()->Columns();
    for (size_t c = 0; c < columns.size(); ++c)
        if (std::string_view(columns[c]->Name()) == name)
            return static_cast<int>(c);
    return -1;
}

void ClickHeader(CAllPlayersFrame& table, int column) {
    QHeaderView* header = table.View()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
}

// Fills the first change of Edit Selected by keyboard and presses OK with the mouse.
void ChangeInDialog(const QString& field, int operationSteps, const QString& value,
                    QString* preview = nullptr) {
    WhenModalShown([=](QDialog* dialog) {
        auto* bulk = qobject_cast<CBulkEditDialog*>(dialog);
        QVERIFY(bulk);
        const CBulkEditDialog::SRow& row = bulk->Rows().front();
        row.field->setFocus();
        QTest::keyClicks(row.field, field);
        for (int i = 0; i < operationSteps; ++i)
            QTest::keyClick(row.operation, Qt::Key_Down);
        QTest::keyClicks(row.value, value);
        if (preview)
            *preview = bulk->Preview()->text();
        auto* box = dialog->findChild<QDialogButtonBox*>();
        QPushButton* ok = box->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
}

// Types a value into an attribute's box of an open player window and applies the page.
void ApplyAttribute(CPlayerFrame& window, int bar, int value) {
    auto* abilities = qobject_cast<CPlayerAttributesForm*>(window.Page(2));
    window.Tabs()->setCurrentIndex(2);
    Retype(abilities->Bar(bar)->Box(), QString::number(value));
    QTest::mouseClick(abilities->ApplyButton(), Qt::LeftButton);
}

} // namespace

class AllPlayersTest : public FreshEditorTest {
    Q_OBJECT

private slots:
    void filterAndQuickFiltersPickPlayers();
    void sortingAndColumnChooserKeptInSettings();
    void fieldsShowTheirNamesInTheEditorLanguage();
    void bulkEditIsOneUndoStepAndSurvivesASave();
    void copyAndOpenFromTheTable();
    void editSelectedFromTheEditMenu();
    void undoInAPlayerWindowKeepsALaterBulkChange();
};

void AllPlayersTest::filterAndQuickFiltersPickPlayers() {
    CGameDatabase& db = *m_frame->Database();
    CAllPlayersFrame* table = OpenTable(*m_frame);
    QVERIFY(table);
    const int all = static_cast<int>(db.Players().size());
    QCOMPARE(table->Model()->rowCount(), all);
    QCOMPARE(table->CountText(), QStringLiteral("Players shown: %1 of %1").arg(all));
    QCOMPARE(m_frame->statusBar()->findChild<QLabel*>()->text(), table->CountText());
    // The table's Undo is the document's.
    QCOMPARE(m_frame->MenuKind(), QStringLiteral("main"));

    // A fault is underlined with its message as tool tip; the rows stay as they were.
    Retype(table->FilterEdit(), QStringLiteral("pace>="));
    QCOMPARE(table->FilterEdit()->ErrorMessage(), QStringLiteral("expected a number at 7"));
    QCOMPARE(table->FilterEdit()->toolTip(), QStringLiteral("expected a number at 7"));
    QCOMPARE(table->FilterEdit()->ErrorRange(), qMakePair(5, 1));
    QTest::keyClick(table->FilterEdit(), Qt::Key_Return);
    QCOMPARE(table->Model()->rowCount(), all);
    QVERIFY(m_fixture->prompts.isEmpty());

    QTest::keyClicks(table->FilterEdit(), QStringLiteral("80 and age<24 and name~\"A\""));
    QVERIFY(table->FilterEdit()->ErrorMessage().isEmpty());
    QTest::keyClick(table->FilterEdit(), Qt::Key_Return);
    SQueryError error;
    auto expected = CPlayerFilter::Parse("pace>=80 and age<24 and name~\"a\"", error);
    QVERIFY(expected);
    const std::vector<int32_t> picked =
        expected->Select(SPlayerFieldContext(db, CPlayerField::AgeDate()));
    QVERIFY(!picked.empty());
    std::vector<int32_t> rows = Rows(*table);
    std::sort(rows.begin(), rows.end());
    QCOMPARE(rows, picked);
    QCOMPARE(table->CountText(),
             QStringLiteral("Players shown: %1 of %2").arg(picked.size()).arg(all));

    // Quick filters narrow the text filter: attackers only (fourth entry), by keyboard.
    table->PositionFilter()->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(table->PositionFilter(), Qt::Key_Down);
    QCOMPARE(table->PositionFilter()->currentText(), QStringLiteral("Attackers"));
    QVERIFY(table->Model()->rowCount() < static_cast<int>(picked.size()));
    for (int32_t id : Rows(*table))
        QCOMPARE(db.FindPlayer(id)->PositionGroup(), 3);

    // A team: only its players; "Players without a team" is the second entry.
    ApplyFilter(*table, QString());
    table->PositionFilter()->setCurrentIndex(0);
    table->TeamFilter()->setFocus();
    QTest::keyClick(table->TeamFilter(), Qt::Key_Down);
    QCOMPARE(table->TeamFilter()->currentText(), QStringLiteral("Players without a team"));
    for (int32_t id : Rows(*table))
        QVERIFY(db.FindPlayer(id)->Teams().empty());
    QTest::keyClick(table->TeamFilter(), Qt::Key_Down);
    const int team = table->TeamFilter()->currentData().toInt();
    std::vector<int32_t> squad = db.PlayersOfTeam(team);
    std::sort(squad.begin(), squad.end());
    rows = Rows(*table);
    std::sort(rows.begin(), rows.end());
    QCOMPARE(rows, squad);
}

void AllPlayersTest::sortingAndColumnChooserKeptInSettings() {
    CGameDatabase& db = *m_frame->Database();
    CAllPlayersFrame* table = OpenTable(*m_frame, QStringLiteral("league=1"));
    QVERIFY(table);
    QVERIFY(table->Model()->rowCount() > 20);
    // The columns fit the names and teams the filter shows, whole.
    const auto textsFit = [&] {
        QTableView* view = table->View();
        for (const char* name : {"name", "team"}) {
            const int column = ColumnOf(*table, name);
            for (int row = 0; row < 20; ++row) {
                const QString text = table->Model()->index(row, column).data().toString();
                if (view->columnWidth(column) < view->fontMetrics().horizontalAdvance(text))
                    return false;
            }
        }
        return true;
    };
    QVERIFY(textsFit());

    // Overall: ascending on the first click, descending on the second.
    const int overall = ColumnOf(*table, "overall");
    QVERIFY(overall >= 0);
    ClickHeader(*table, overall);
    auto ratings = [&] {
        std::vector<int> values;
        for (int32_t id : Rows(*table))
            values.push_back(db.FindPlayer(id)->ComputeOverall());
        return values;
    };
    std::vector<int> values = ratings();
    QVERIFY(std::is_sorted(values.begin(), values.end()));
    ClickHeader(*table, overall);
    values = ratings();
    QVERIFY(std::is_sorted(values.rbegin(), values.rend()));
    QCOMPARE(table->Model()->data(table->Model()->index(0, overall)).toInt(), values.front());

    // The header's menu adds a column; it is kept for the next window and the next start.
    QHeaderView* header = table->View()->horizontalHeader();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(10, 5),
                                header->viewport()->mapToGlobal(QPoint(10, 5)));
    QApplication::sendEvent(header->viewport(), &menuEvent);
    QMenu* menu = table->ColumnMenu();
    QTRY_VERIFY(menu->isVisible());
    QAction* pace = menu->findChild<QAction*>(QStringLiteral("pace"));
    QVERIFY(pace);
    QVERIFY(!pace->isChecked());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(pace).center());
    QVERIFY(ColumnOf(*table, "pace") >= 0);
    QVERIFY(textsFit());
    QCOMPARE(m_fixture->App()->MainFrame()->Settings()->value(
                 QString::fromLatin1(CAllPlayersFrame::kColumnsSetting)),
             QVariant(QStringList({"name", "team", "age", "preferred_position_1", "overall",
                                   "star_player", "pace"})));
    const int paceColumn = ColumnOf(*table, "pace");
    const int32_t first = table->Model()->PlayerAt(0);
    QCOMPARE(table->Model()->data(table->Model()->index(0, paceColumn)).toInt(),
             db.FindPlayer(first)->Value(C::Pace));

    m_frame->MdiArea()->closeActiveSubWindow();
    m_fixture->Stop();
    m_frame = m_fixture->Start()->MainFrame();
    table = OpenTable(*m_frame);
    QVERIFY(table);
    QVERIFY(ColumnOf(*table, "pace") >= 0);
    QCOMPARE(table->Model()->headerData(ColumnOf(*table, "pace"), Qt::Horizontal).toString(),
             QStringLiteral("Pace"));
}

void AllPlayersTest::fieldsShowTheirNamesInTheEditorLanguage() {
    m_fixture->Stop();
    m_fixture->EditorSettings().setValue(QStringLiteral("Editor Language"),
                                         QStringLiteral("French"));
    m_frame = m_fixture->Start()->MainFrame();
    m_frame->show();
    CAllPlayersFrame* table = OpenTable(*m_frame);
    QVERIFY(table);

    // Headers by name, the filter's name in their tool tips.
    QStringList headers;
    for (int c = 0; c < table->Model()->columnCount(); ++c)
        headers << table->Model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({QString::fromUtf8("Nom affiché"), QString::fromUtf8("Équipe"),
                                   QString::fromUtf8("Âge"), QStringLiteral("Poste 1"),
                                   QStringLiteral("Note globale"), QStringLiteral("Vedette")}));
    QCOMPARE(table->Model()->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("Poste 1 (preferred_position_1)"));
    // The spreadsheet copy keeps the names scripts and files use.
    QVERIFY(table->Model()->TabSeparated({0}).startsWith(QStringLiteral("name\tteam\tage\t")));

    // The column chooser, by name and in the order of the names.
    QMenu* menu = table->ColumnMenu();
    QAction* pace = menu->findChild<QAction*>(QStringLiteral("pace"));
    QCOMPARE(pace->text(), QStringLiteral("Vitesse"));
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << action->text();
    QStringList sorted = entries;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    QCOMPARE(entries, sorted);

    // The filter's tool tip points at the list of fields, which types a chosen name.
    QVERIFY(table->FilterEdit()->toolTip().contains(QString::fromUtf8("Champs…")));
    WhenModalShown([](QDialog* dialog) {
        auto* fields = dialog->findChild<QTableWidget*>(QStringLiteral("FilterFieldsTable"));
        QVERIFY(fields);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Champs du filtre"));
        const auto found = fields->findItems(QStringLiteral("Vitesse"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QCOMPARE(fields->item(found[0]->row(), 1)->text(), QStringLiteral("pace"));
        fields->setFocus();
        fields->setCurrentCell(found[0]->row(), 0);
        QTest::keyClick(fields, Qt::Key_Return);
    });
    Retype(table->FilterEdit(), QString());
    QTest::mouseClick(table->findChild<QPushButton*>(QStringLiteral("FilterFields")),
                      Qt::LeftButton);
    QCOMPARE(table->FilterEdit()->text(), QStringLiteral("pace"));
    QTest::keyClicks(table->FilterEdit(), QStringLiteral(">=1"));
    QTest::keyClick(table->FilterEdit(), Qt::Key_Return);
    QVERIFY(table->Model()->rowCount() > 0);

    // Edit Selected offers fields by name and says what is wrong in words.
    QString preview;
    QString fieldShown;
    QString chosen;
    WhenModalShown([&](QDialog* dialog) {
        auto* bulk = qobject_cast<CBulkEditDialog*>(dialog);
        QVERIFY(bulk);
        const CBulkEditDialog::SRow& row = bulk->Rows().front();
        row.field->setFocus();
        QTest::keyClicks(row.field, QStringLiteral("vitesse"));
        fieldShown = row.field->currentText();
        preview = bulk->Preview()->text();
        chosen = bulk->findChildren<QLabel*>().first()->text();
        QTest::keyClicks(row.value, QStringLiteral("1.5"));
        const QString fraction = bulk->Preview()->text();
        QVERIFY2(fraction.contains(QStringLiteral("nombre entier")), qPrintable(fraction));
        dialog->reject();
    });
    // The offscreen platform gives activation back to nobody when the dialog closes.
    QVERIFY(Activate(m_frame));
    ClickRow(table->View(), 0);
    QTest::keyClick(table->View(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(chosen, QString::fromUtf8("1 joueur sélectionné."));
    QCOMPARE(fieldShown, QStringLiteral("Vitesse"));
    QCOMPARE(preview, QString::fromUtf8("Vitesse: Saisissez un nombre après « = »."));
}

void AllPlayersTest::bulkEditIsOneUndoStepAndSurvivesASave() {
    CGameDatabase& db = *m_frame->Database();
    CAllPlayersFrame* table = OpenTable(*m_frame, QStringLiteral("position_group=0 and team<50"));
    QVERIFY(table);
    const std::vector<int32_t> keepers = Rows(*table);
    QVERIFY(keepers.size() > 5);
    std::map<int32_t, int32_t> before;
    for (int32_t id : keepers)
        before[id] = db.FindPlayer(id)->Value(C::Reflexes);
    // Some already at 97 or more clamp at 100.
    db.FindPlayer(keepers[0])->SetValue(C::Reflexes, 98);
    before[keepers[0]] = 98;

    // A player window opened with Enter follows every step; the reflexes bar is the 22nd.
    ClickRow(table->View(), 1);
    QTest::keyClick(table->View(), Qt::Key_Return);
    auto* playerWindow = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QVERIFY(playerWindow);
    const int32_t shownId = playerWindow->PlayerId();
    auto shownReflexes = [&] {
        return qobject_cast<CPlayerAttributesForm*>(playerWindow->Page(2))->Bar(21)->Value();
    };
    QCOMPARE(shownReflexes(), before[shownId]);
    QVERIFY(OpenTable(*m_frame) == table);
    table->View()->clearSelection();

    // Nothing selected: Edit Selected is off.
    QVERIFY(!table->EditButton()->isEnabled());
    table->View()->setFocus();
    QTest::keyClick(table->View(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(table->EditButton()->isEnabled());
    QString preview;
    ChangeInDialog(QStringLiteral("reflexes"), 1, QStringLiteral("5"), &preview);
    QTest::keyClick(table->View(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY2(preview.startsWith(QStringLiteral("Changes planned: ")) &&
                 preview.contains(QStringLiteral(" values (%1 players); clamped to their range: ")
                                      .arg(keepers.size())),
             qPrintable(preview));
    QVERIFY(!preview.endsWith(QStringLiteral(": 0.")));

    for (int32_t id : keepers)
        QCOMPARE(db.FindPlayer(id)->Value(C::Reflexes), std::min(100, before[id] + 5));
    QCOMPARE(m_frame->Document().UndoStack().count(), 1);
    QVERIFY(m_frame->isWindowModified());
    QCOMPARE(shownReflexes(), std::min(100, before[shownId] + 5));
    QAction* undo = m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"));
    QVERIFY(undo->isVisible() && undo->isEnabled());

    // One Undo takes back every player's change; Redo brings all back.
    // The offscreen platform gives activation back to nobody when the dialog closes.
    QVERIFY(Activate(m_frame));
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    for (int32_t id : keepers)
        QCOMPARE(db.FindPlayer(id)->Value(C::Reflexes), before[id]);
    QCOMPARE(shownReflexes(), before[shownId]);
    QVERIFY(!undo->isEnabled());
    QTest::keyClick(m_frame, Qt::Key_Y, Qt::ControlModifier);
    for (int32_t id : keepers)
        QCOMPARE(db.FindPlayer(id)->Value(C::Reflexes), std::min(100, before[id] + 5));

    // Saved and loaded again by the model, the change is there and nothing else moved.
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!m_frame->isWindowModified());
    CGameDatabase loaded;
    QVERIFY(SavedFiles::LoadDatabase(*m_fixture, loaded));
    for (const auto& [id, player] : db.Players()) {
        const CPlayer* again = loaded.FindPlayer(id);
        QVERIFY(again);
        QCOMPARE(again->Value(C::Reflexes), player.Value(C::Reflexes));
        QCOMPARE(again->Value(C::Pace), player.Value(C::Pace));
    }
    QCOMPARE(loaded.FindPlayer(keepers[0])->Value(C::Reflexes), 100);
}

void AllPlayersTest::copyAndOpenFromTheTable() {
    CGameDatabase& db = *m_frame->Database();
    CAllPlayersFrame* table = OpenTable(*m_frame, QStringLiteral("team=1"));
    QVERIFY(table);
    QVERIFY(table->Model()->rowCount() > 3);

    // Two rows chosen with the mouse, copied with Ctrl+C through Edit › Copy.
    ClickRow(table->View(), 0);
    ClickRow(table->View(), 2, Qt::ControlModifier);
    QApplication::clipboard()->clear();
    QTest::keyClick(m_frame, Qt::Key_C, Qt::ControlModifier);
    const CPlayer& a = *db.FindPlayer(table->Model()->PlayerAt(0));
    const CPlayer& b = *db.FindPlayer(table->Model()->PlayerAt(2));
    auto line = [&](const CPlayer& p) {
        return QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
            .arg(QString::fromStdString(p.DisplayName()),
                 QString::fromStdString(db.FindTeam(p.Teams().front())->Name()))
            .arg(CPlayerField::Age(p, CPlayerField::AgeDate()))
            .arg(p.Value(C::PreferredPosition1))
            .arg(p.ComputeOverall())
            .arg(p.Value(C::StarPlayer));
    };
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("name\tteam\tage\tpreferred_position_1\toverall\tstar_player\n") +
                 line(a) + u'\n' + line(b) + u'\n');

    // A double click opens the player's window.
    QTest::mouseDClick(table->View()->viewport(), Qt::LeftButton, {}, RowCentre(table->View(), 2));
    auto* player = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QVERIFY(player);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow()->windowTitle(), m_frame->PlayerTitle(b.Id()));
    // The shortcut brings the table back instead of opening a second one.
    QVERIFY(OpenTable(*m_frame) == table);
}

void AllPlayersTest::editSelectedFromTheEditMenu() {
    CGameDatabase& db = *m_frame->Database();
    QAction* editSelected = m_frame->ActionForKey(QStringLiteral("Menu_EditEditSelected"));
    QVERIFY(editSelected);
    QCOMPARE(editSelected->text(), QStringLiteral("&Edit Selected..."));
    auto* edit = m_frame->menuBar()->findChild<QMenu*>(QStringLiteral("Menu_Edit"));
    QVERIFY(edit && edit->actions().contains(editSelected));
    // The Edit menu as a click on the menu bar opens it.
    const auto openEditMenu = [&] {
        QTest::mouseClick(m_frame->menuBar(), Qt::LeftButton, {},
                          m_frame->menuBar()->actionGeometry(edit->menuAction()).center());
        return QTest::qWaitFor([&] { return edit->isVisible(); });
    };
    QVERIFY(openEditMenu());
    QVERIFY(editSelected->isVisible() && !editSelected->isEnabled());
    QTest::keyClick(edit, Qt::Key_Escape);

    CAllPlayersFrame* table = OpenTable(*m_frame, QStringLiteral("team=1"));
    QVERIFY(table);
    QVERIFY(table->Model()->rowCount() > 2);
    QVERIFY(!editSelected->isEnabled());
    ClickRow(table->View(), 0);
    ClickRow(table->View(), 1, Qt::ShiftModifier);
    QVERIFY(editSelected->isEnabled());
    const int32_t first = table->Model()->PlayerAt(0);
    const int32_t second = table->Model()->PlayerAt(1);
    const int32_t third = table->Model()->PlayerAt(2);
    const int stamina = db.FindPlayer(third)->Value(C::Stamina);

    ChangeInDialog(QStringLiteral("stamina"), 0, QStringLiteral("77"));
    QVERIFY(openEditMenu());
    edit->setActiveAction(editSelected);
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_COMPARE(db.FindPlayer(first)->Value(C::Stamina), 77);
    QCOMPARE(db.FindPlayer(second)->Value(C::Stamina), 77);
    QCOMPARE(db.FindPlayer(third)->Value(C::Stamina), stamina);
    QCOMPARE(m_frame->Document().UndoStack().count(), 1);

    // Another window active: off again.
    QVERIFY(m_frame->OpenPlayer(third));
    QVERIFY(!editSelected->isEnabled());
}

void AllPlayersTest::undoInAPlayerWindowKeepsALaterBulkChange() {
    CGameDatabase& db = *m_frame->Database();
    CAllPlayersFrame* table = OpenTable(*m_frame, QStringLiteral("team=1"));
    QVERIFY(table);
    const int32_t id = table->Model()->PlayerAt(0);
    const CPlayer before = *db.FindPlayer(id);
    const int pace = before.Value(C::Pace) == 60 ? 61 : 60;
    const int stamina = before.Value(C::Stamina) == 70 ? 71 : 70;
    const int bulkPace = pace == 40 ? 41 : 40;
    ClickRow(table->View(), 0);
    QTest::keyClick(table->View(), Qt::Key_Return);
    auto* window = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QVERIFY(window && window->PlayerId() == id);
    QMdiSubWindow* windowFrame = m_frame->MdiArea()->activeSubWindow();

    // The window changes the pace, then the stamina; then a bulk edit sets the pace.
    ApplyAttribute(*window, 2, pace);
    ApplyAttribute(*window, 3, stamina);
    QCOMPARE(db.FindPlayer(id)->Value(C::Pace), pace);
    QCOMPARE(db.FindPlayer(id)->Value(C::Stamina), stamina);
    QVERIFY(OpenTable(*m_frame) == table);
    ClickRow(table->View(), 0);
    ChangeInDialog(QStringLiteral("pace"), 0, QString::number(bulkPace));
    QTest::keyClick(table->View(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(db.FindPlayer(id)->Value(C::Pace), bulkPace);
    auto* abilities = qobject_cast<CPlayerAttributesForm*>(window->Page(2));
    QCOMPARE(abilities->Bar(2)->Value(), bulkPace);

    // The window's Undo takes back its own stamina change and leaves the bulk edit's pace.
    m_frame->MdiArea()->setActiveSubWindow(windowFrame);
    QVERIFY(Activate(m_frame));
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(db.FindPlayer(id)->Value(C::Stamina), before.Value(C::Stamina));
    QCOMPARE(db.FindPlayer(id)->Value(C::Pace), bulkPace);
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(db.FindPlayer(id)->Value(C::Pace), bulkPace);
    QTest::keyClick(m_frame, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(m_frame, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(db.FindPlayer(id)->Value(C::Stamina), stamina);
    QCOMPARE(db.FindPlayer(id)->Value(C::Pace), bulkPace);

    // The other way round: the window sets the pace after the bulk edit, and undoing the bulk
    // edit keeps that later value.
    ApplyAttribute(*window, 2, pace);
    QVERIFY(OpenTable(*m_frame) == table);
    QVERIFY(m_frame->Document().UndoStack().canUndo());
    table->View()->setFocus();
    QTest::keyClick(table->View(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!m_frame->Document().UndoStack().canUndo());
    QCOMPARE(db.FindPlayer(id)->Value(C::Pace), pace);
}

QTEST_MAIN(AllPlayersTest)
#include "AllPlayersTest.moc"
