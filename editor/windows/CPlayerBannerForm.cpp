#include "CPlayerBannerForm.h"

#include "editor/localisation/CLocalisationTable.h"
#include "editor/model/CPlayer.h"
#include "editor/windows/CPositionIcon.h"
#include "editor/windows/CFrameHost.h"

#include <QPixmap>

#include <array>

namespace {

// The banner colour of each position group: goalkeeper, defence, midfield, attack, other.
constexpr std::array<QRgb, 5> kGroupColours = {qRgb(0, 192, 192), qRgb(0, 192, 0),
                                               qRgb(192, 0, 0), qRgb(192, 192, 0),
                                               qRgb(255, 255, 0)};

} // namespace

CPlayerBannerForm::CPlayerBannerForm(CFrameHost& host, QWidget* parent)
    : CGradientBanner(parent), m_host(host) {}

void CPlayerBannerForm::Fill(const CPlayer& player) {
    SetTitle(QStringLiteral("%1 %2").arg(QString::fromUtf8(player.FirstName()),
                                         QString::fromUtf8(player.LastName())));
    const int position = player.Value(EPlayerColumn::PreferredPosition1);
    const bool known = position >= 0 && position < CLocalisationTable::kPositionCount;
    SetCaption(known ? m_host.Text(std::string(CLocalisationTable::PositionKey(position)).c_str())
                     : QString());
    const int group = std::clamp(player.PositionGroup(), 0, 4);
    // Star icons exist for the groups on the pitch only.
    const bool star = player.Value(EPlayerColumn::StarPlayer) != 0 && group < 4;
    SetPicture(QPixmap::fromImage(CPositionIcon::Of(group, star)
                                      .scaled(32, 32, Qt::KeepAspectRatio,
                                              Qt::SmoothTransformation)));
    SetColour(QColor(kGroupColours[static_cast<size_t>(group)]));
}
