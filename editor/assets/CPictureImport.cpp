#include "CPictureImport.h"

#include "CPictureArchive.h"

#include <cstring>

namespace {

CPictureArchive::STarget Core(const CPictureImport::STarget& target) {
    return {target.archive.toUtf8().toStdString(), target.container.toStdString(),
            target.shape.toStdString(), target.entryExists};
}

CPictureImport::STarget FromCore(const CPictureArchive::STarget& target) {
    return {QString::fromStdString(target.archive), QByteArray::fromStdString(target.container),
            QByteArray::fromStdString(target.shape), target.entryExists};
}

} // namespace

CPictureImport::STarget CPictureImport::KitTarget(const QString& installFolder, int team, int kit) {
    return FromCore(CPictureArchive::KitTarget(installFolder.toUtf8().toStdString(), team, kit));
}

CPictureImport::STarget CPictureImport::CrestTarget(const QString& installFolder, int team) {
    return FromCore(CPictureArchive::CrestTarget(installFolder.toUtf8().toStdString(), team));
}

std::optional<CPictureImport::SPrepared>
CPictureImport::Prepare(const STarget& target, const QImage& picture,
                        const wren::ShapeImportRequest& options, QString& error) {
    if (picture.isNull()) {
        error = QStringLiteral("the picture is empty");
        return std::nullopt;
    }
    std::string reason;
    auto prepared = CPictureArchive::Prepare(Core(target), ToBgra(picture), options, reason);
    if (!prepared) {
        error = QString::fromStdString(reason);
        return std::nullopt;
    }
    return SPrepared{target, std::move(prepared->shape)};
}

bool CPictureImport::Write(const SPrepared& prepared, const CBackupStore& backups, int keep,
                           SWritten& written, QString& error) {
    CPictureArchive::SWritten done;
    std::string reason;
    if (!CPictureArchive::Write({Core(prepared.target), prepared.shape}, backups, keep, done,
                                reason)) {
        error = QString::fromStdString(reason);
        return false;
    }
    written.archive = QString::fromStdString(done.archive);
    written.backup = QString::fromStdString(done.backup);
    written.appended = done.appended;
    return true;
}

QString CPictureImport::FormatName(uint8_t type) {
    return QString::fromStdString(CPictureArchive::FormatName(type));
}

wren::BgraImage CPictureImport::ToBgra(const QImage& image) {
    // ARGB32 words are bytes blue, green, red, alpha in memory on the little-endian machines
    // the game runs on.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    wren::BgraImage out;
    out.width = static_cast<uint32_t>(argb.width());
    out.height = static_cast<uint32_t>(argb.height());
    out.pixels.resize(size_t{out.width} * out.height * 4);
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(out.pixels.data() + size_t{out.width} * 4 * static_cast<size_t>(y),
                    argb.constScanLine(y), size_t{out.width} * 4);
    return out;
}

QImage CPictureImport::ToImage(const wren::BgraImage& image) {
    if (image.width == 0 || image.height == 0 ||
        image.pixels.size() < size_t{image.width} * image.height * 4)
        return {};
    QImage out(static_cast<int>(image.width), static_cast<int>(image.height),
               QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        std::memcpy(out.scanLine(y),
                    image.pixels.data() + size_t{image.width} * 4 * static_cast<size_t>(y),
                    size_t{image.width} * 4);
    return out;
}
