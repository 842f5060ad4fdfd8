#pragma once

#include "editor/windows/CPlayerPage.h"

#include <QDate>
#include <QString>

class CPositionComboBox;
class CPropertyList;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSpinBox;

// The information page: names, birth date, size, positions, foot, the star flag (written at
// once), the teams of the player and the traits in a property list.
class CPlayerInfoForm : public CPlayerPage {
    Q_OBJECT
public:
    static constexpr int kMaxNameBytes = 255;

    explicit CPlayerInfoForm(CPlayerFrame& frame);

    const char* TabKey() const override { return "Tab_PlayerInfo"; }
    QIcon TabIcon() const override;
    void Fill(const CPlayer& player) override;
    // Only the teams list: a squad change elsewhere must not wipe edits not yet applied.
    void FillTeams(const CPlayer& player);
    static void CopyFields(CPlayer& into, const CPlayer& from);

    CPropertyList* Traits() const { return m_traits; }
    QListWidget* TeamList() const { return m_teams; }

protected:
    bool WriteChanges(CPlayer& player) override;
    void CopyPageFields(CPlayer& into, const CPlayer& from) const override;

private:
    struct SShown {
        QString firstName, lastName, commonName;
        QDate birthDate;
        int height = 0, weight = 0, footed = -1;
        int positions[3] = {-1, -1, -1};
    };

    void OnStarClicked(bool checked);
    void OnTeamActivated(QListWidgetItem* item);
    bool NamesFit();

    QLabel* m_id;
    QLineEdit* m_firstName;
    QLineEdit* m_lastName;
    QLineEdit* m_commonName;
    QDateEdit* m_birthDate;
    QSpinBox* m_height;
    QSpinBox* m_weight;
    CPositionComboBox* m_positions[3];
    QComboBox* m_footed;
    QCheckBox* m_star;
    QListWidget* m_teams;
    CPropertyList* m_traits;
    SShown m_shown;
};
