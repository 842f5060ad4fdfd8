#include "CPlayerPage.h"

#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPlayerFrame.h"

CPlayerPage::CPlayerPage(CPlayerFrame& frame)
    : CColourFormView(
          [&host = frame.FrameHost()](const QString& key) {
              return host.Text(key.toUtf8().constData());
          },
          &frame),
      m_frame(frame) {
    connect(this, &CColourFormView::ApplyClicked, this, &CPlayerPage::Apply);
    connect(this, &CColourFormView::ResetClicked, this, &CPlayerPage::Reset);
}

void CPlayerPage::Apply() {
    CPlayer* player = m_frame.Record();
    if (!player || !WriteChanges(*player)) {
        return;
    }
    m_frame.Commit();
    // Re-read: the controls now show the applied record as their unchanged state.
    if (const CPlayer* applied = m_frame.Record()) {
        Fill(*applied);
    }
}

void CPlayerPage::Reset() {
    CPlayer* player = m_frame.Record();
    if (!player || m_frame.History().IsEmpty()) {
        return;
    }
    CopyPageFields(*player, m_frame.OpenedRecord());
    m_frame.Commit();
    if (const CPlayer* reset = m_frame.Record()) {
        Fill(*reset);
    }
}
