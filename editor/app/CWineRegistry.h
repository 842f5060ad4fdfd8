#pragma once

#include <QHash>
#include <QString>

#include <optional>

// The values of a Wine prefix's registry file (system.reg), read as text, and the mapping of
// Windows paths to the prefix's drives.
class CWineRegistry {
public:
    static constexpr qint64 kMaxFileBytes = 256 * 1024 * 1024;

    // False, with `error` saying why, when the file cannot be read.
    bool LoadFile(const QString& path, QString* error = nullptr);
    void LoadText(const QString& text);

    // Key paths are relative to the file's root ("Software\\Brackwater\\Corvid 2004"), single
    // backslashes; key and value names match without regard to letter case.
    std::optional<QString> StringValue(const QString& key, const QString& name) const;
    std::optional<quint32> DwordValue(const QString& key, const QString& name) const;

    // "C:\\Games\\Corvid\\" to the folder it stands for under `prefix` (through dosdevices, or
    // drive_c when that link is missing); empty when the path has no drive letter.
    static QString MapWindowsPath(const QString& prefix, const QString& windowsPath);

private:
    std::optional<QString> RawValue(const QString& key, const QString& name) const;

    // Lower-case key path -> lower-case value name -> the text after '='.
    QHash<QString, QHash<QString, QString>> m_values;
};
