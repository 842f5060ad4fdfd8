#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class CFrameHost;
class CGameDatabase;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QListView;
class QSortFilterProxyModel;
class QStandardItemModel;

// Asks which team of another installation to copy here: its teams by name, filtered as the
// user types, whether the squad and the crest and kit pictures come along, and which league here
// the team joins.
class CImportTeamDialog : public QDialog {
    Q_OBJECT
public:
    CImportTeamDialog(CFrameHost& host, const CGameDatabase& from, const QString& source,
                      QWidget* parent = nullptr);

    std::optional<int32_t> TeamId() const;
    bool WithPlayers() const;
    bool WithPictures() const;
    std::optional<int32_t> LeagueId() const;

    QLineEdit* Filter() const { return m_filter; }
    QListView* Teams() const { return m_list; }
    QCheckBox* WithPlayersBox() const { return m_withPlayers; }
    QCheckBox* WithPicturesBox() const { return m_withPictures; }
    QComboBox* LeagueBox() const { return m_league; }

private:
    void UpdateButtons();

    QLineEdit* m_filter = nullptr;
    QListView* m_list = nullptr;
    QStandardItemModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QCheckBox* m_withPlayers = nullptr;
    QCheckBox* m_withPictures = nullptr;
    QComboBox* m_league = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
