#pragma once

#include <QDockWidget>

#include <functional>
#include <memory>
#include <string>

class CGameDatabase;
class CMessageSink;
class QTreeWidget;
class QTreeWidgetItem;

// The docking bar on the left of the main window: it loads and holds the game database and
// lists its leagues with their level, teams and players.
class CWorkspaceBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 250;

    explicit CWorkspaceBar(QWidget* parent = nullptr);
    ~CWorkspaceBar() override;

    using Progress = std::function<void(const std::string& key)>;
    // Loads the game database and the in-game names; false (reported to the sink) on failure.
    bool LoadDatabase(const QString& path, const QString& textDbPath, CMessageSink& sink,
                      const Progress& progress);
    CGameDatabase* Database() { return m_database.get(); }
    const QString& DatabasePath() const { return m_path; }
    const QString& TextDbPath() const { return m_textDbPath; }

    // Fills the leagues list again from the database, keeping the selected league.
    void RefreshLeagues();
    QTreeWidget* LeaguesList() { return m_list; }

signals:
    void LeagueActivated(int leagueId);

protected:
    QSize sizeHint() const override;

private:
    void OnItemActivated(QTreeWidgetItem* item);

    std::unique_ptr<CGameDatabase> m_database;
    QString m_path;
    QString m_textDbPath;
    QTreeWidget* m_list = nullptr;
};
