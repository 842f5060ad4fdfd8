#pragma once

#include <QString>

// Where the programs find what ships with them. In the build tree (and on Windows) everything
// lies beside the program; an installation puts the asset library and the editor's data
// (localisation files, Arts pictures) in the places the platform's layout has for them.
class CProgramFolders {
public:
    // The folder holding Wren_Utils for the program in `programFolder`: that folder when the
    // library lies there, else the installation's library folder.
    static QString LibraryFolder(const QString& programFolder);
    // "Wren_Utils" in LibraryFolder (the loader adds the platform's prefix and suffix).
    static QString LibraryPath(const QString& programFolder);
    // The folder holding the localisation files and the Arts pictures: `programFolder` when
    // the English texts lie there, else the installation's data folder. Ends in '/'.
    static QString DataFolder(const QString& programFolder);
};
