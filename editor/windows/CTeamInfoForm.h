#pragma once

#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/toolkit/CColourFormView.h"

#include <cstdint>
#include <optional>
#include <vector>

class CFrameHost;
class CIdComboBox;
class CTeam;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QSpinBox;
class QStandardItemModel;

// The information page of a team window: names, stadiums, opponent, elite flag, prestige
// and rivals. Edits reach the team on Apply; a control the user left alone leaves its field
// as stored, even when it could not show the stored value.
class CTeamInfoForm : public CColourFormView {
    Q_OBJECT
public:
    CTeamInfoForm(int32_t teamId, CFrameHost& host, QWidget* parent = nullptr);

    void Fill();
    void FillFrom(const CTeam& team);
    // False (nothing written) when a name is refused or the team no longer exists.
    bool Apply();

    // Rivals: Add and a double click ask the team selection dialog; the team itself and a
    // team already listed are refused with a message.
    void AddRival();
    void ReplaceRival(int row);
    void RemoveSelectedRival();
    std::vector<int32_t> RivalIds() const;

    QLineEdit* NameBox() const { return m_name; }
    QLineEdit* MediumNameBox() const { return m_mediumName; }
    QLineEdit* ShortNameBox() const { return m_shortName; }
    CIdComboBox* StadiumBox() const { return m_stadium; }
    CIdComboBox* TrainingStadiumBox() const { return m_trainingStadium; }
    CIdComboBox* OpponentBox() const { return m_opponent; }
    QCheckBox* EliteBox() const { return m_elite; }
    QSpinBox* PrestigeBox() const { return m_prestige; }
    QListView* RivalsList() const { return m_rivals; }
    QPushButton* AddRivalButton() const { return m_addRival; }
    QPushButton* RemoveRivalButton() const { return m_removeRival; }

private:
    void BuildChoices();
    // The chosen team if the rival list may take it (in place of `replacedRow`).
    std::optional<int32_t> ChooseRival(std::optional<size_t> replacedRow);
    void SetRivalRow(int row, int32_t teamId);

    int32_t m_teamId;
    CFrameHost& m_host;
    bool m_filledElite = false;
    QLabel* m_id = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_mediumName = nullptr;
    QLineEdit* m_shortName = nullptr;
    CIdComboBox* m_stadium = nullptr;
    CIdComboBox* m_trainingStadium = nullptr;
    CIdComboBox* m_opponent = nullptr;
    QCheckBox* m_elite = nullptr;
    CArrowRangeSpinBox* m_prestige = nullptr;
    QListView* m_rivals = nullptr;
    QStandardItemModel* m_rivalItems = nullptr;
    QPushButton* m_addRival = nullptr;
    QPushButton* m_removeRival = nullptr;
};
