#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>

class CFrameHost;
class QLabel;
class QModelIndex;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

// Asks for one team: the leagues with their teams, each league's crests loaded when it is
// first expanded. Confirming on a league or on nothing says so and keeps the dialog open.
class CTeamSelectDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIconSize = 24;
    static constexpr double kCrestScale = 0.1875;

    // The prompt is the key of the line above the tree.
    CTeamSelectDialog(CFrameHost& host, const char* promptKey, QWidget* parent = nullptr);

    // The chosen team's id, or nothing when the user cancelled (or no database is loaded).
    static std::optional<int32_t> ChooseTeam(CFrameHost& host, const char* promptKey,
                                             QWidget* parent);

    std::optional<int32_t> SelectedTeamId() const { return m_teamId; }
    QString SelectedTeamName() const { return m_teamName; }

    QTreeView* Tree() { return m_tree; }
    // Makes the team current in the tree (its league expanded); false when it is not listed.
    bool SelectTeam(int32_t teamId);

    void accept() override;

private:
    void Fill();
    void LoadCrests(const QModelIndex& leagueIndex);
    void OnDoubleClicked(const QModelIndex& index);

    CFrameHost& m_host;
    QLabel* m_prompt = nullptr;
    QTreeView* m_tree = nullptr;
    QStandardItemModel* m_model = nullptr;
    std::optional<int32_t> m_teamId;
    QString m_teamName;
};
