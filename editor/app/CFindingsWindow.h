#pragma once

#include "editor/model/SCheckFinding.h"

#include <QWidget>

#include <vector>

class CFrameHost;
class QLabel;
class QStandardItemModel;
class QTableView;

// The findings of the database check: severity icon, record kind, name and message per row;
// activating a row (double click, Enter) opens the record's window.
class CFindingsWindow : public QWidget {
    Q_OBJECT
public:
    CFindingsWindow(CFrameHost& host, QWidget* parent = nullptr);

    // Shows these findings of the loaded database.
    void SetFindings(std::vector<SCheckFinding> findings);
    QTableView* View() { return m_view; }

private:
    void OpenRow(int row);

    CFrameHost& m_host;
    std::vector<SCheckFinding> m_findings;
    QStandardItemModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_summary = nullptr;
};
