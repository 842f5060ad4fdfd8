#pragma once

#include <QObject>
#include <QString>

class CGameDatabase;
class CKestrelApp;
class CMainFrame;

// File › Export Changes As Patch and File › Apply Patch: the database's changes against its
// original or another installation written as a patch file, and a patch file applied to the
// loaded database, after a preview, as one step of its history.
class CPatchFiles : public QObject {
    Q_OBJECT
public:
    CPatchFiles(CMainFrame& frame, CKestrelApp& app);

    void ExportChanges();
    void ApplyPatch();

private:
    // The database of the installation in folder (or the original of the loaded one when
    // folder is empty) into base, with the path of the file it came from; false after telling
    // the user why not.
    bool LoadBase(const QString& folder, CGameDatabase& base, std::string& basePath);
    // The key's text with what went wrong below it.
    QString Detailed(const char* key, const QString& detail) const;

    CMainFrame& m_frame;
    CKestrelApp& m_app;
};
