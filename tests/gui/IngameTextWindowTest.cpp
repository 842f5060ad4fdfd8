#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"
#include "UserSteps.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CInGameNames.h"
#include "editor/windows/CIngameFindDialog.h"
#include "editor/windows/CIngameFrame.h"
#include "editor/windows/CIngameTextModel.h"
#include "editor/windows/CIngameTextView.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <optional>

namespace {

using SavedFiles::Bytes;
using SavedFiles::ReadTexts;
using UserSteps::Activate;

std::vector<CIngameTextEntry> EntriesOnDisk(const QString& path) {
    const std::optional<CIngameTextDb> texts = ReadTexts(path);
    return texts ? texts->Entries() : std::vector<CIngameTextEntry>();
}

// A text database of our own, texts in this order.
QString WriteTexts(const QString& path, const std::vector<std::pair<uint32_t, QString>>& texts) {
    CIngameTextDb db = CIngameTextDb::CreateNew(path.toStdString());
    for (const auto& [id, text] : texts)
        db.AddText(id, text.toStdString());
    CIgnoringSink sink;
    return db.SaveIngameTextDb(sink) ? path : QString();
}

// Opens the file the way a user does: File › Open In-game Texts (Ctrl+O), the path typed
// into the file dialog.
CIngameFrame* OpenTexts(CMainFrame& frame, const QString& path) {
    if (!Activate(&frame))
        return nullptr;
    WhenModalShown([path](QDialog* dialog) {
        QVERIFY(qobject_cast<QFileDialog*>(dialog));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setFocus();
        QTest::keyClicks(name, QDir::toNativeSeparators(path));
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    return qobject_cast<CIngameFrame*>(frame.ActiveFrame());
}

// Types any characters, also those no keyboard layout of the test machine has.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QMdiSubWindow* WindowOf(CIngameFrame& texts) {
    return qobject_cast<QMdiSubWindow*>(texts.parentWidget());
}

int RowOfId(const CIngameFrame& texts, uint32_t textId) {
    const QAbstractItemModel* model = texts.List()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data(CIngameTextModel::kTextIdRole).toULongLong() == textId)
            return row;
    return -1;
}

int RowOf(const CIngameFrame& texts, const QString& text) {
    const QAbstractItemModel* model = texts.List()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString() == text)
            return row;
    return -1;
}

size_t EntryOfRow(const CIngameFrame& texts, int row) {
    return texts.List()
        ->model()
        ->index(row, 0)
        .data(CIngameTextModel::kEntryIndexRole)
        .toULongLong();
}

// Selects the row with a click, opens its editor with F2 (or a double click) and types.
void EditRow(CIngameFrame& texts, int row, const QString& text, bool doubleClick = false) {
    CIngameTextView* list = texts.List();
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    const QPoint at = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (doubleClick)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    else
        QTest::keyClick(list, Qt::Key_F2);
    // A click on the row already selected opens the editor itself, a moment later.
    QTRY_VERIFY(list->IsEditing());
    auto* editor = qobject_cast<QLineEdit*>(list->indexWidget(list->currentIndex()));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    Type(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits after the key event has been handled.
    QTRY_VERIFY(!list->IsEditing());
}

void Save(CMainFrame& frame) {
    QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
}

} // namespace

class IngameTextWindowTest : public FreshEditorTest {
    Q_OBJECT

private slots:
    void editedTextIsSavedAloneAndFoundAgain();
    void rowsOfARepeatedIdEditTheirOwnEntry();
    void emptiedTextIsNoLongerListed();
    void findGoesDownwardsRoundAndInAnyCase();
    void unsavedEditsAreAskedAboutOnCloseAndQuit();
    void failedWriteKeepsTheEditsAndFailedReadIsReported();
    void saveKeepsWhatTheDatabaseWroteMeanwhile();
};

void IngameTextWindowTest::editedTextIsSavedAloneAndFoundAgain() {
    const QString path = m_fixture->TextDbPath();
    const std::vector<CIngameTextEntry> before = EntriesOnDisk(path);
    const QByteArray gameBefore = Bytes(m_fixture->DatabasePath());
    QVERIFY(before.size() > 10);

    CIngameFrame* texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    QMdiSubWindow* window = WindowOf(*texts);
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("In-game texts - ")));
    // The first rows in text order are short; the window opens wide enough for sentences.
    QVERIFY(texts->List()->viewport()->width() >=
            texts->List()->fontMetrics().horizontalAdvance(QString(40, u'n')));
    QVERIFY(window->windowTitle().contains(QDir::toNativeSeparators(path)));
    QCOMPARE(texts->List()->accessibleName(), QStringLiteral("In-game texts"));
    QCOMPARE(texts->List()->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("In-game texts"));
    // Every non-empty text, sorted by text.
    const QAbstractItemModel* model = texts->List()->model();
    size_t shown = 0;
    for (const CIngameTextEntry& entry : before)
        shown += entry.text.empty() ? 0 : 1;
    QCOMPARE(static_cast<size_t>(model->rowCount()), shown);
    QCollator order;
    order.setCaseSensitivity(Qt::CaseInsensitive);
    for (int row = 1; row < model->rowCount(); ++row)
        QVERIFY(order.compare(model->index(row - 1, 0).data().toString(),
                              model->index(row, 0).data().toString()) <= 0);

    const int row = model->rowCount() / 2;
    const size_t entry = EntryOfRow(*texts, row);
    const QString edited = QString::fromUtf8("Kestrel Fu\xC3\x9F"
                                             "ball Club");
    EditRow(*texts, row, edited);
    QVERIFY(texts->IsModified());
    QVERIFY(window->isWindowModified());
    QVERIFY(m_frame->isWindowModified());
    // Nothing is written before the save command.
    QCOMPARE(EntriesOnDisk(path)[entry].text, before[entry].text);

    // The save command writes this window's file, not the game database, after backing the
    // file up with the database's backups, where Restore Backup finds it.
    const QByteArray fileBefore = Bytes(path);
    QVERIFY(Activate(m_frame));
    Save(*m_frame);
    const CBackupStore backups(
        CBackupStore::FolderFor(Utf8Path(m_fixture->DatabasePath().toStdString())));
    const std::vector<SBackupInfo> copies = backups.List("eng.db");
    QVERIFY(!copies.empty());
    std::vector<uint8_t> copied;
    std::string error;
    QVERIFY(backups.ReadVerified(copies.front(), copied, error));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(copied.data()),
                        static_cast<qsizetype>(copied.size())),
             fileBefore);
    QVERIFY(!texts->IsModified());
    QVERIFY(!window->isWindowModified());
    QCOMPARE(Bytes(m_fixture->DatabasePath()), gameBefore);
    const std::vector<CIngameTextEntry> after = EntriesOnDisk(path);
    QCOMPARE(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        QCOMPARE(after[i].textId, before[i].textId);
        QCOMPARE(after[i].text, i == entry ? edited.toStdString() : before[i].text);
    }

    window->close();
    QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
    texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    QVERIFY(RowOf(*texts, edited) >= 0);
    QVERIFY(m_fixture->prompts.isEmpty());
}

void IngameTextWindowTest::rowsOfARepeatedIdEditTheirOwnEntry() {
    const QString path = WriteTexts(m_fixture->GameFolder() + QStringLiteral("/twice.db"),
                                    {{7, "Alpha"}, {8, "Beta"}, {7, "Gamma"}, {9, "Delta"}});
    QVERIFY(!path.isEmpty());
    CIngameFrame* texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    const QAbstractItemModel* model = texts->List()->model();
    QCOMPARE(model->rowCount(), 4);
    const int alpha = RowOf(*texts, QStringLiteral("Alpha"));
    const int gamma = RowOf(*texts, QStringLiteral("Gamma"));
    // The second text of id 7 is greyed and says why.
    QVERIFY(!model->index(alpha, 0).data(Qt::ForegroundRole).isValid());
    QVERIFY(model->index(gamma, 0).data(Qt::ForegroundRole).isValid());
    QVERIFY(!model->index(alpha, 0).data(Qt::ToolTipRole).isValid());
    QVERIFY(model->index(gamma, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral("7")));

    EditRow(*texts, gamma, QStringLiteral("Epsilon"), true);
    QVERIFY(Activate(m_frame));
    Save(*m_frame);
    const std::vector<CIngameTextEntry> after = EntriesOnDisk(path);
    QCOMPARE(after.size(), 4u);
    // A text file other than the game language's is backed up beside itself.
    QCOMPARE(CBackupStore(Utf8Path((m_fixture->GameFolder() + "/backups").toStdString()))
                 .List("twice.db")
                 .size(),
             1u);
    QCOMPARE(after[0].text, std::string("Alpha"));
    QCOMPARE(after[2].text, std::string("Epsilon"));
    QCOMPARE(after[2].textId, 7u);

    EditRow(*texts, RowOf(*texts, QStringLiteral("Alpha")), QStringLiteral("Alef"));
    Save(*m_frame);
    QCOMPARE(EntriesOnDisk(path)[0].text, std::string("Alef"));
    QCOMPARE(EntriesOnDisk(path)[2].text, std::string("Epsilon"));
    QVERIFY(m_fixture->prompts.isEmpty());
}

void IngameTextWindowTest::emptiedTextIsNoLongerListed() {
    const QString path = WriteTexts(m_fixture->GameFolder() + QStringLiteral("/few.db"),
                                    {{1, "One"}, {2, "Two"}, {3, "Three"}});
    CIngameFrame* texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    // 128 characters, but 256 bytes: more than the file holds, refused with a message.
    EditRow(*texts, RowOf(*texts, QStringLiteral("One")), QString(128, QChar(0xE9)));
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().contains(QStringLiteral("longer than 255 bytes")));
    QVERIFY(!texts->IsModified());
    QVERIFY(RowOf(*texts, QStringLiteral("One")) >= 0);
    EditRow(*texts, RowOf(*texts, QStringLiteral("Two")), QString());
    // The row stays until the list is filled again.
    QCOMPARE(texts->List()->model()->rowCount(), 3);
    QVERIFY(Activate(m_frame));
    Save(*m_frame);
    const std::vector<CIngameTextEntry> after = EntriesOnDisk(path);
    QCOMPARE(after.size(), 3u);
    QCOMPARE(after[1].text, std::string());
    QCOMPARE(after[1].textId, 2u);

    WindowOf(*texts)->close();
    texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    QCOMPARE(texts->List()->model()->rowCount(), 2);
    QCOMPARE(RowOf(*texts, QString()), -1);
}

void IngameTextWindowTest::findGoesDownwardsRoundAndInAnyCase() {
    const QString path = WriteTexts(m_fixture->GameFolder() + QStringLiteral("/find.db"),
                                    {{1, QString::fromUtf8("a \xC3\xA7"
                                                           "e\xC5\x9F"
                                                           "me b")},
                                     {2, "Beta"},
                                     {3, QString::fromUtf8("\xC3\xA7"
                                                           "e\xC5\x9F"
                                                           "me")},
                                     {4, "Delta"},
                                     {5, "Epsilon"}});
    CIngameFrame* texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);

    // Edit › Find (Ctrl+F) opens the window's own modeless dialog.
    QVERIFY(Activate(m_frame));
    QTest::keyClick(m_frame, Qt::Key_F, Qt::ControlModifier);
    CIngameFindDialog* dialog = texts->FindDialog();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(dialog->TextBox()->accessibleName(), QStringLiteral("Find what:"));
    QCOMPARE(dialog->FindNextButton()->accessibleName(), QStringLiteral("Find Next"));
    QVERIFY(!dialog->FindNextButton()->isEnabled());

    CIngameTextView* list = texts->List();
    const QModelIndex first = list->model()->index(0, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
    Type(dialog->TextBox(), QString::fromUtf8("\xC3\x87"
                                              "E\xC5\x9E"
                                              "ME"));
    QVERIFY(dialog->FindNextButton()->isEnabled());
    // Downwards from the selection: each match in turn, then round from the top.
    QList<int> found;
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
        found.append(list->currentIndex().row());
        QVERIFY(list->currentIndex().data().toString().contains(QString::fromUtf8("\xC3\xA7"
                                                                                  "e\xC5\x9F"
                                                                                  "me")));
    }
    const int a = RowOf(*texts, QString::fromUtf8("a \xC3\xA7"
                                                  "e\xC5\x9F"
                                                  "me b"));
    const int b = RowOf(*texts, QString::fromUtf8("\xC3\xA7"
                                                  "e\xC5\x9F"
                                                  "me"));
    QCOMPARE(found.size(), 3);
    QVERIFY(found.at(0) != found.at(1));
    QCOMPARE(found.at(2), found.at(0));
    QCOMPARE(QSet<int>({found.at(0), found.at(1)}), QSet<int>({a, b}));
    // Starting below the first match, the search finds the next one down.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(std::min(a, b), 0)).center());
    QTest::keyClick(dialog->TextBox(), Qt::Key_Return);
    QCOMPARE(list->currentIndex().row(), std::max(a, b));
    QVERIFY(m_fixture->prompts.isEmpty());

    // Nothing found: said so, the selection stays.
    dialog->TextBox()->clear();
    QTest::keyClicks(dialog->TextBox(), QStringLiteral("zeta"));
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    QCOMPARE(list->currentIndex().row(), std::max(a, b));
    QCOMPARE(m_fixture->prompts.size(), 1);
    QCOMPARE(m_fixture->prompts.first(), QStringLiteral("inform: Cannot find \"zeta\"."));

    // Escape puts the dialog away; closing the window takes it with it.
    QTest::keyClick(dialog->TextBox(), Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
}

void IngameTextWindowTest::unsavedEditsAreAskedAboutOnCloseAndQuit() {
    const QString path =
        WriteTexts(m_fixture->GameFolder() + QStringLiteral("/ask.db"), {{1, "One"}, {2, "Two"}});
    const QByteArray original = Bytes(path);
    CIngameFrame* texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    EditRow(*texts, RowOf(*texts, QStringLiteral("One")), QStringLiteral("Uno"));

    // Cancel keeps the window and its edit.
    m_fixture->answer = CUserPrompts::Answer::Cancel;
    QVERIFY(!WindowOf(*texts)->close());
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().startsWith(QStringLiteral("save: ")));
    QVERIFY(m_fixture->prompts.first().contains(path));
    QVERIFY(texts->IsModified());
    QCOMPARE(Bytes(path), original);

    // Discard closes it and leaves the file as it was.
    m_fixture->answer = CUserPrompts::Answer::Discard;
    QVERIFY(WindowOf(*texts)->close());
    QCOMPARE(Bytes(path), original);
    QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty() ||
            !m_frame->MdiArea()->subWindowList().first()->isVisible());

    // Save writes the edit, then closes.
    texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    EditRow(*texts, RowOf(*texts, QStringLiteral("Two")), QStringLiteral("Dos"));
    m_fixture->answer = CUserPrompts::Answer::Save;
    QVERIFY(WindowOf(*texts)->close());
    QCOMPARE(EntriesOnDisk(path)[1].text, std::string("Dos"));
    QCOMPARE(EntriesOnDisk(path)[0].text, std::string("One"));

    // Quitting asks too: Cancel keeps the editor and the window open, Discard quits.
    texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    EditRow(*texts, RowOf(*texts, QStringLiteral("Dos")), QStringLiteral("Zwei"));
    const QByteArray saved = Bytes(path);
    m_fixture->prompts.clear();
    m_fixture->answer = CUserPrompts::Answer::Cancel;
    QVERIFY(Activate(m_frame));
    QTest::keyClick(m_frame, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(m_frame->isVisible());
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(WindowOf(*texts)->isVisible());
    QVERIFY(texts->IsModified());
    m_fixture->answer = CUserPrompts::Answer::Discard;
    QTest::keyClick(m_frame, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(!m_frame->isVisible());
    QCOMPARE(Bytes(path), saved);
}

void IngameTextWindowTest::failedWriteKeepsTheEditsAndFailedReadIsReported() {
    const QString path = WriteTexts(m_fixture->GameFolder() + QStringLiteral("/locked.db"),
                                    {{1, "One"}, {2, "Two"}});
    CIngameFrame* texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    EditRow(*texts, RowOf(*texts, QStringLiteral("Two")), QStringLiteral("Deux"));
    // A read-only file is not replaced.
    const QByteArray original = Bytes(path);
    const QFile::Permissions writable = QFile::permissions(path);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(Activate(m_frame));
    Save(*m_frame);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().startsWith(
        QStringLiteral("warn: The file could not be opened for writing.")));
    QVERIFY(m_fixture->prompts.first().contains(path));
    QVERIFY(m_fixture->prompts.first().contains(QStringLiteral("read-only")));
    QCOMPARE(Bytes(path), original);
    QVERIFY(texts->IsModified());
    QVERIFY(WindowOf(*texts)->isWindowModified());
    QCOMPARE(texts->Texts().Entries()[1].text, std::string("Deux"));
    QVERIFY(RowOf(*texts, QStringLiteral("Deux")) >= 0);

    // A backup that cannot be made stops the save before anything is written.
    QVERIFY(QFile::setPermissions(path, writable));
    const QString backups = m_fixture->GameFolder() + QStringLiteral("/backups");
    QVERIFY(QDir(backups).removeRecursively());
    {
        QFile blocker(backups);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    m_fixture->prompts.clear();
    Save(*m_frame);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().startsWith(
        QStringLiteral("warn: The file could not be backed up before saving")));
    QCOMPARE(Bytes(path), original);
    QVERIFY(texts->IsModified());

    // Once the file can be written again the same edits go out.
    QVERIFY(QFile::remove(backups));
    Save(*m_frame);
    QCOMPARE(EntriesOnDisk(path)[1].text, std::string("Deux"));
    QVERIFY(!texts->IsModified());

    // A file that is no text database is reported; the window lists nothing.
    const QString damaged = m_fixture->GameFolder() + QStringLiteral("/damaged.db");
    {
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(6, 'x'));
    }
    m_fixture->prompts.clear();
    texts = OpenTexts(*m_frame, damaged);
    QVERIFY(texts);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().startsWith(
        QStringLiteral("warn: The file could not be opened for reading.")));
    QCOMPARE(texts->List()->model()->rowCount(), 0);
    // Its empty list is never written over the file.
    m_fixture->prompts.clear();
    QVERIFY(Activate(m_frame));
    Save(*m_frame);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().startsWith(QStringLiteral("warn: The texts of this file")));
    QCOMPARE(Bytes(damaged), QByteArray(6, 'x'));
}

void IngameTextWindowTest::saveKeepsWhatTheDatabaseWroteMeanwhile() {
    const QString path = m_fixture->TextDbPath();
    CIngameFrame* texts = OpenTexts(*m_frame, path);
    QVERIFY(texts);
    const int menuRow = RowOfId(*texts, 1000);
    QVERIFY(menuRow >= 0);
    EditRow(*texts, menuRow, QStringLiteral("Kestrel Cup"));

    // Meanwhile a team is renamed and the database saved, which writes its names into the file.
    CGameDatabase* db = m_frame->Database();
    const int32_t teamId = db->Teams().begin()->first;
    const uint32_t nameId = *CInGameNames::TeamTextId(teamId, 0);
    db->FindTeam(teamId)->SetName("Renamed United");
    db->MarkDirty();
    QVERIFY(m_frame->SaveDatabase());
    QCOMPARE(RowOf(*texts, QStringLiteral("Renamed United")), -1);

    // The window's save writes its edit over the file as it is now, and lists the new name.
    QVERIFY(Activate(m_frame));
    Save(*m_frame);
    QVERIFY(!texts->IsModified());
    const std::optional<CIngameTextDb> withRename = ReadTexts(path);
    QVERIFY(withRename);
    QCOMPARE(withRename->FindText(1000), std::string("Kestrel Cup"));
    QCOMPARE(withRename->FindText(nameId), std::string("Renamed United"));
    QVERIFY(RowOf(*texts, QStringLiteral("Renamed United")) >= 0);
    QCOMPARE(texts->List()->currentIndex().data().toString(), QStringLiteral("Kestrel Cup"));

    // A team's name changed here goes into the database too, so its next save keeps it.
    const int32_t otherTeam = std::next(db->Teams().begin())->first;
    const uint32_t otherNameId = *CInGameNames::TeamTextId(otherTeam, 0);
    EditRow(*texts, RowOfId(*texts, otherNameId), QStringLiteral("Kestrel Rovers"));
    Save(*m_frame);
    QCOMPARE(db->FindTeam(otherTeam)->Name(), std::string("Kestrel Rovers"));
    db->MarkDirty();
    QVERIFY(m_frame->SaveDatabase());
    const std::optional<CIngameTextDb> withBoth = ReadTexts(path);
    QVERIFY(withBoth);
    QCOMPARE(withBoth->FindText(otherNameId), std::string("Kestrel Rovers"));
    QCOMPARE(withBoth->FindText(1000), std::string("Kestrel Cup"));

    // Another program added a text: replacing the file is asked first.
    {
        CIngameTextDb disk(path.toStdString());
        CIgnoringSink sink;
        QVERIFY(disk.ReadIngameTextDb(sink));
        disk.AddText(999, "Added elsewhere");
        QVERIFY(disk.SaveIngameTextDb(sink));
    }
    const QByteArray added = Bytes(path);
    EditRow(*texts, RowOfId(*texts, 1000), QStringLiteral("Kestrel Trophy"));
    m_fixture->prompts.clear();
    m_fixture->answer = CUserPrompts::Answer::No;
    Save(*m_frame);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().startsWith(QStringLiteral("yesno: ")));
    QCOMPARE(Bytes(path), added);
    QVERIFY(texts->IsModified());
    m_fixture->answer = CUserPrompts::Answer::Yes;
    Save(*m_frame);
    QVERIFY(!texts->IsModified());
    const std::optional<CIngameTextDb> disk = ReadTexts(path);
    QVERIFY(disk);
    QCOMPARE(disk->FindText(1000), std::string("Kestrel Trophy"));
    QVERIFY(!disk->HasText(999));
}

QTEST_MAIN(IngameTextWindowTest)
#include "IngameTextWindowTest.moc"
