#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Reads a picture to import, refusing what would import as something else than the file holds:
// a file its decoder reports damaged or cut short (a truncated JPEG decodes as a mostly grey
// picture with only a warning), and a picture larger than the decoders may allocate.
class CPictureFile {
public:
    enum class EProblem { None, Unreadable, Damaged, TooLarge };

    struct SLoaded {
        QImage image;                       // null unless problem is None
        EProblem problem = EProblem::None;
        QSize size;                         // as the file declares it, when known
        QString detail;                     // the decoder's own words on a damaged file
        // One English line for the command line: "too large: 9000 × 9000 pixels", ...
        QString Reason() const;
    };

    // Files larger than this are not read: no picture the game shows comes near it.
    static constexpr qint64 kMaxFileBytes = qint64{256} << 20;

    static SLoaded Load(const QString& path);
    static SLoaded FromData(const QByteArray& data);
};
