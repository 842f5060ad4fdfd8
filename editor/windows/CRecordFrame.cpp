#include "CRecordFrame.h"

#include "editor/document/CDatabaseDocument.h"
#include "editor/document/SChange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CGradientBanner.h"
#include "editor/windows/CFrameHost.h"

#include <QVBoxLayout>

CRecordFrame::CRecordFrame(Kind kind, int recordId, CFrameHost& host, QWidget* parent)
    : CChildFrame(kind, host, parent), m_recordId(recordId) {}

QString CRecordFrame::TitleOf(CFrameHost& host, Kind kind, int id) {
    const CGameDatabase* db = host.Database();
    if (!db) {
        return {};
    }
    const char* caption = nullptr;
    QString name;
    switch (kind) {
    case Kind::League:
        if (const CLeague* league = db->FindLeague(id)) {
            caption = "Caption_League";
            name = QString::fromStdString(league->name);
        }
        break;
    case Kind::Team:
    case Kind::PlayersList:
        if (const CTeam* team = db->FindTeam(id)) {
            caption = "Caption_Team";
            name = QString::fromStdString(team->Name());
        } else if (id == CGameDatabase::kNoTeamId) {
            // The players without a team have no team record of their own in most databases.
            caption = "Caption_Team";
            name = host.Text("Caption_NoTeam");
        }
        break;
    case Kind::Player:
        if (db->FindPlayer(id)) {
            caption = "Caption_Player";
            name = QString::fromStdString(db->PlayerDisplayName(id));
        }
        break;
    default:
        break;
    }
    return caption ? QStringLiteral("%1 - %2").arg(host.Text(caption), name) : QString();
}

void CRecordFrame::DocumentChanged(const SChange& change) {
    if (change.origin == this) {
        return;
    }
    if (change.Reloaded()) {
        Fill();
    } else {
        OutsideChange(change);
    }
}

void CRecordFrame::SetBannerAndBody(CGradientBanner* banner, QWidget* body) {
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    banner->setParent(content);
    layout->addWidget(banner);
    body->setParent(content);
    layout->addWidget(body, 1);
    SetContent(content);
}

void CRecordFrame::MarkChanged() {
    Host().Document().MarkModified();
}

void CRecordFrame::Announce(SChange change) {
    change.origin = this;
    Host().Document().NotifyChanged(std::move(change));
}
