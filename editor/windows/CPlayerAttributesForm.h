#pragma once

#include "editor/windows/CPlayerPage.h"

#include <vector>

class CAttributeBar;

// The abilities page: the 25 attributes as number boxes with bars, and the overall rating,
// which follows preferred position 1 and cannot be edited.
class CPlayerAttributesForm : public CPlayerPage {
    Q_OBJECT
public:
    static constexpr int kAttributeCount = 25;

    explicit CPlayerAttributesForm(CPlayerFrame& frame);

    const char* TabKey() const override { return "Tab_PlayerAbilities"; }
    QIcon TabIcon() const override;
    void Fill(const CPlayer& player) override;
    static void CopyFields(CPlayer& into, const CPlayer& from);

    // In the page's order: left column top to bottom, then the right one.
    CAttributeBar* Bar(int index) const { return m_bars[static_cast<size_t>(index)]; }
    CAttributeBar* Overall() const { return m_overall; }

protected:
    bool WriteChanges(CPlayer& player) override;
    void CopyPageFields(CPlayer& into, const CPlayer& from) const override;
    void showEvent(QShowEvent* event) override;

private:
    std::vector<CAttributeBar*> m_bars;
    std::vector<int> m_shown;
    CAttributeBar* m_overall;
};
