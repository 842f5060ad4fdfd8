#include "CPictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

namespace {

// The decoders report damage (libjpeg's "Premature end of JPEG file", libpng's CRC errors) only
// as warnings while still returning a picture, so the warnings of one read are collected.
QStringList* g_warnings = nullptr;

void CollectWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (g_warnings && type != QtDebugMsg && type != QtInfoMsg)
        g_warnings->append(message);
}

class CWarningCollector {
public:
    explicit CWarningCollector(QStringList& warnings) {
        g_warnings = &warnings;
        m_previous = qInstallMessageHandler(&CollectWarning);
    }
    ~CWarningCollector() {
        qInstallMessageHandler(m_previous);
        g_warnings = nullptr;
    }
    CWarningCollector(const CWarningCollector&) = delete;
    CWarningCollector& operator=(const CWarningCollector&) = delete;

private:
    QtMessageHandler m_previous = nullptr;
};

bool TooLarge(const QSize& size) {
    const int limitMiB = QImageReader::allocationLimit();
    if (!size.isValid() || limitMiB <= 0)
        return false;
    // Every import converts to 32 bits a pixel.
    const qint64 bytes = qint64{size.width()} * size.height() * 4;
    return bytes > qint64{limitMiB} << 20;
}

} // namespace

QString CPictureFile::SLoaded::Reason() const {
    switch (problem) {
    case EProblem::None:
        return {};
    case EProblem::Unreadable:
        return QStringLiteral("missing, or not a PNG or JPEG file");
    case EProblem::Damaged:
        return QStringLiteral("damaged or incomplete (%1)").arg(detail);
    case EProblem::TooLarge:
        if (!size.isValid())
            return QStringLiteral("too large: a file over %1 MiB").arg(kMaxFileBytes >> 20);
        return QStringLiteral("too large: %1 × %2 pixels").arg(size.width()).arg(size.height());
    }
    return {};
}

CPictureFile::SLoaded CPictureFile::Load(const QString& path) {
    SLoaded loaded;
    // Only a regular file: a FIFO would block the read.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        loaded.problem = EProblem::Unreadable;
        return loaded;
    }
    if (file.size() > kMaxFileBytes) {
        loaded.problem = EProblem::TooLarge;
        loaded.size = QImageReader(path).size();
        return loaded;
    }
    return FromData(file.readAll());
}

CPictureFile::SLoaded CPictureFile::FromData(const QByteArray& data) {
    SLoaded loaded;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QStringList warnings;
    const CWarningCollector collector(warnings);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg") {
        loaded.problem = EProblem::Unreadable;
        return loaded;
    }
    loaded.size = reader.size();
    if (TooLarge(loaded.size)) {
        loaded.problem = EProblem::TooLarge;
        return loaded;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        loaded.problem = EProblem::Damaged;
        loaded.detail = warnings.isEmpty() ? reader.errorString() : warnings.join(QStringLiteral("; "));
        return loaded;
    }
    if (!warnings.isEmpty()) {
        loaded.problem = EProblem::Damaged;
        loaded.detail = warnings.join(QStringLiteral("; "));
        return loaded;
    }
    loaded.image = image;
    return loaded;
}
