#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QRadioButton;

// What a comparison starts from: the original backup of the loaded database, or another
// installation's folder, typed or chosen with Browse. The folder's box and Browse are enabled
// only while another installation is chosen.
class CBaseChoice : public QWidget {
    Q_OBJECT
public:
    // The captions, already in the user's language (with their key letters).
    struct STexts {
        QString original;
        QString installation;
        // The folder box's name and the title of Browse's folder dialog.
        QString folder;
        QString browse;
    };

    explicit CBaseChoice(const STexts& texts, QWidget* parent = nullptr);

    bool Original() const;
    // The installation's folder as typed or chosen ('/' separators, trimmed); empty for the
    // original backup.
    QString Folder() const;
    // Another installation, with this folder in the box.
    void ChooseInstallation(const QString& folder);
    // The original backup, or another installation whose folder is given.
    bool IsComplete() const;

    QRadioButton* OriginalChoice() const { return m_original; }
    QRadioButton* InstallationChoice() const { return m_installation; }
    QLineEdit* FolderEdit() const { return m_folder; }
    QPushButton* BrowseButton() const { return m_browse; }

signals:
    // The choice or the folder changed.
    void Changed();

private:
    void Browse();
    void UpdateState();

    QString m_folderCaption;
    QRadioButton* m_original = nullptr;
    QRadioButton* m_installation = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
};
