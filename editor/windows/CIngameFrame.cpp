#include "CIngameFrame.h"

#include "editor/dialogs/CMessageBoxSink.h"
#include "editor/dialogs/CUserPrompts.h"
#include "editor/dialogs/CWaitCursor.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CInstallationLock.h"
#include "editor/database/CMessageSink.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CIngameFindDialog.h"
#include "editor/windows/CIngameTextModel.h"
#include "editor/windows/CIngameTextView.h"

#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>

namespace {

CMessageBoxSink::Lookup HostTexts(CFrameHost& host) {
    return [&host](const std::string& key) { return host.Text(key.c_str()); };
}

} // namespace

CIngameFrame::CIngameFrame(const QString& filePath, CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::IngameText, host, parent), m_filePath(filePath),
      m_texts(std::make_unique<CIngameTextDb>(filePath.toStdString())) {
    m_model = new CIngameTextModel(*m_texts, host.Text("Caption_IngameText"),
                                   host.Text("Caption_IngameTextShadowed"), this);
    m_list = new CIngameTextView(this);
    m_list->setObjectName(QStringLiteral("IngameTexts"));
    m_list->setAccessibleName(host.Text("Caption_IngameText"));
    m_list->setModel(m_model);
    m_list->setFont(host.SmallTitleFont());
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    SetContent(m_list);
    m_findDialog = new CIngameFindDialog(host, this);
    connect(m_findDialog, &CIngameFindDialog::FindNext, this, &CIngameFrame::FindNext);
    connect(m_model, &CIngameTextModel::ModifiedChanged, this, &CIngameFrame::ShowModified);
    connect(m_model, &CIngameTextModel::TextTooLong, this, [this](const QString& text) {
        CUserPrompts::Warn(
            this, Host()
                      .Text("Message_NameTooLong")
                      .replace(QStringLiteral("%s"), text.left(40) + QStringLiteral("\u2026")));
    });
}

CIngameFrame::~CIngameFrame() = default;

void CIngameFrame::Fill() {
    {
        CWaitCursor wait;
        CMessageBoxSink sink(HostTexts(Host()), this);
        m_read = m_texts->ReadIngameTextDb(sink);
    }
    Refill();
}

bool CIngameFrame::IsModified() const {
    return m_model->IsModified();
}

bool CIngameFrame::Save() {
    m_list->CommitOpenEditor();
    bool saved = false;
    bool changed = false;
    // Read again, backed up and written under the game's writer lock (or, with no game
    // loaded, the lock of the file's own folder).
    CInstallationLock lock;
    std::string lockError;
    const std::filesystem::path game = Host().BackupFolder().parent_path();
    if (!m_read) {
        CUserPrompts::Warn(this, Host().Text("Message_IngameTextNotRead"));
    } else if (!lock.Acquire(game.empty() ? std::filesystem::path(m_filePath.toStdU16String())
                                                .parent_path()
                                          : game,
                             lockError)) {
        CMessageBoxSink(HostTexts(Host()), this).Report("Error_Locked", lockError);
    } else if (TakeInFileChanges(changed) && Host().BackUpTextFile(m_filePath, this)) {
        CWaitCursor wait;
        CMessageBoxSink sink(HostTexts(Host()), this);
        saved = m_texts->SaveIngameTextDb(sink);
    }
    Host().ShowStatus(Host().Text(saved ? "Message_IngameTextSaved" : "Message_IngameTextNotSaved"),
                      QDir::toNativeSeparators(m_filePath));
    if (saved) {
        Host().IngameTextsSaved(m_filePath, *m_texts, m_model->EditedEntries());
        m_model->SetModified(false);
    }
    if (changed) {
        Refill();
    }
    return saved;
}

bool CIngameFrame::TakeInFileChanges(bool& changed) {
    CIngameTextDb fresh(m_texts->Path());
    CIgnoringSink sink;
    // A file gone or unreadable now is written anew from this window's texts.
    if (!fresh.ReadIngameTextDb(sink)) {
        return true;
    }
    if (m_texts->CopyEntriesInto(fresh, m_model->EditedEntries())) {
        changed = fresh.Entries() != m_texts->Entries();
        if (changed) {
            *m_texts = std::move(fresh);
        }
        return true;
    }
    return CUserPrompts::AskYesNo(
               this, Host()
                         .Text("Message_IngameTextReplaceChanged")
                         .replace(QStringLiteral("%s"), QDir::toNativeSeparators(m_filePath))) ==
           CUserPrompts::Answer::Yes;
}

void CIngameFrame::Refill() {
    const QModelIndex current = m_list->currentIndex();
    const std::size_t entry =
        current.isValid() ? current.data(CIngameTextModel::kEntryIndexRole).toULongLong() : 0;
    m_model->Fill();
    const int row = m_model->RowOfEntry(entry);
    if (row >= 0) {
        m_list->setCurrentIndex(m_model->index(row, 0));
        m_list->scrollTo(m_model->index(row, 0));
    } else if (m_model->rowCount() > 0) {
        m_list->setCurrentIndex(m_model->index(0, 0));
    }
}

bool CIngameFrame::ConfirmClose() {
    m_list->CommitOpenEditor();
    if (!IsModified()) {
        return true;
    }
    switch (CUserPrompts::AskSaveDiscardCancel(
        this, Host()
                  .Text("Message_SaveIngameTextChanges")
                  .replace(QStringLiteral("%s"), QDir::toNativeSeparators(m_filePath)))) {
    case CUserPrompts::Answer::Save:
        return Save();
    case CUserPrompts::Answer::Discard:
        return true;
    default:
        return false;
    }
}

void CIngameFrame::Find() {
    m_list->CommitOpenEditor();
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
    m_findDialog->TextBox()->setFocus();
    m_findDialog->TextBox()->selectAll();
}

bool CIngameFrame::FindNext(const QString& text) {
    const QModelIndex current = m_list->currentIndex();
    const int row = m_model->FindRow(text, current.isValid() ? current.row() + 1 : 0);
    if (row < 0) {
        CUserPrompts::Inform(
            m_findDialog->isVisible() ? static_cast<QWidget*>(m_findDialog) : this,
            Host().Text("Message_TextNotFound").replace(QStringLiteral("%s"), text));
        return false;
    }
    const QModelIndex found = m_model->index(row, 0);
    m_list->setCurrentIndex(found);
    m_list->scrollTo(found);
    return true;
}

void CIngameFrame::closeEvent(QCloseEvent* event) {
    if (!ConfirmClose()) {
        event->ignore();
        return;
    }
    m_findDialog->hide();
    event->accept();
}

void CIngameFrame::ShowModified(bool modified) {
    if (auto* window = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        window->setWindowModified(modified);
    }
    emit ModifiedChanged(modified);
}
