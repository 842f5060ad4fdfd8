#include "CWineRegistry.h"

#include "editor/assets/InstallPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cctype>

namespace {

// Undoes the escapes of a quoted registry text: \\ \" \n \r \t \0 and \xHHHH.
QString Unescape(QStringView quoted) {
    QString out;
    out.reserve(quoted.size());
    for (qsizetype i = 0; i < quoted.size(); ++i) {
        const QChar c = quoted[i];
        if (c != u'\\' || i + 1 >= quoted.size()) {
            out += c;
            continue;
        }
        const QChar next = quoted[++i];
        if (next == u'n') {
            out += u'\n';
        } else if (next == u'r') {
            out += u'\r';
        } else if (next == u't') {
            out += u'\t';
        } else if (next == u'0') {
            out += QChar(0);
        } else if (next == u'x') {
            qsizetype end = i + 1;
            while (end < quoted.size() && end < i + 5 && isxdigit(quoted[end].toLatin1())) {
                ++end;
            }
            bool ok = false;
            const uint code = quoted.mid(i + 1, end - i - 1).toUInt(&ok, 16);
            if (ok) {
                out += QChar(static_cast<char16_t>(code));
                i = end - 1;
            } else {
                out += next;
            }
        } else {
            out += next;
        }
    }
    return out;
}

// A quoted text starting at `from`: the unescaped content and the index after its closing quote.
std::optional<std::pair<QString, qsizetype>> QuotedAt(QStringView line, qsizetype from) {
    if (from >= line.size() || line[from] != u'"') {
        return std::nullopt;
    }
    for (qsizetype i = from + 1; i < line.size(); ++i) {
        if (line[i] == u'\\') {
            ++i;
        } else if (line[i] == u'"') {
            return std::make_pair(Unescape(line.mid(from + 1, i - from - 1)), i + 1);
        }
    }
    return std::nullopt;
}

} // namespace

bool CWineRegistry::LoadFile(const QString& path, QString* error) {
    m_values.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        }
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        if (error) {
            *error = QStringLiteral("%1: the file is too large to be a registry file").arg(path);
        }
        return false;
    }
    LoadText(QString::fromUtf8(file.readAll()));
    return true;
}

void CWineRegistry::LoadText(const QString& text) {
    m_values.clear();
    QHash<QString, QString>* current = nullptr;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close < 0) {
                current = nullptr;
                continue;
            }
            // Key names double their backslashes in the file.
            const QString key =
                line.mid(1, close - 1).replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
            current = &m_values[key.toLower()];
            continue;
        }
        if (!current || !line.startsWith(u'"')) {
            continue;
        }
        const auto name = QuotedAt(line, 0);
        if (!name || name->second >= line.size() || line[name->second] != u'=') {
            continue;
        }
        current->insert(name->first.toLower(), line.mid(name->second + 1));
    }
}

std::optional<QString> CWineRegistry::RawValue(const QString& key, const QString& name) const {
    const auto keyIt = m_values.constFind(key.toLower());
    if (keyIt == m_values.constEnd()) {
        return std::nullopt;
    }
    const auto valueIt = keyIt->constFind(name.toLower());
    if (valueIt == keyIt->constEnd()) {
        return std::nullopt;
    }
    return *valueIt;
}

std::optional<QString> CWineRegistry::StringValue(const QString& key, const QString& name) const {
    const auto raw = RawValue(key, name);
    if (!raw) {
        return std::nullopt;
    }
    const auto quoted = QuotedAt(*raw, 0);
    if (!quoted) {
        return std::nullopt;
    }
    return quoted->first;
}

std::optional<quint32> CWineRegistry::DwordValue(const QString& key, const QString& name) const {
    const auto raw = RawValue(key, name);
    if (!raw || !raw->startsWith(QStringLiteral("dword:"), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    bool ok = false;
    const quint32 value = raw->mid(6).trimmed().toUInt(&ok, 16);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

QString CWineRegistry::MapWindowsPath(const QString& prefix, const QString& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != u':' || !windowsPath[0].isLetter()) {
        return {};
    }
    const QString letter = windowsPath.left(1).toLower();
    QString root = QDir(prefix).filePath(QStringLiteral("dosdevices/") + letter + u':');
    const QFileInfo link(root);
    if (link.exists()) {
        root = link.canonicalFilePath();
    } else if (letter == u"c") {
        root = QDir(prefix).filePath(QStringLiteral("drive_c"));
    } else {
        return {};
    }
    QString rest = windowsPath.mid(2);
    QString mapped = ResolveInstallPath(root, rest);
    if (!mapped.endsWith(u'/')) {
        mapped += u'/';
    }
    return mapped;
}
