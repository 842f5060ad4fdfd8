#include "CTeamDrag.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

const char* const CTeamDrag::kMimeType = "application/x-kestrel-foreign-team";

void CTeamDrag::WriteInto(QMimeData& data) const {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << folder << qint32(teamId);
    data.setData(QString::fromLatin1(kMimeType), bytes);
    // Other programs get the team's id as text.
    data.setText(QString::number(teamId));
}

std::optional<CTeamDrag> CTeamDrag::From(const QMimeData* data) {
    if (!data || !data->hasFormat(QString::fromLatin1(kMimeType))) {
        return std::nullopt;
    }
    QDataStream in(data->data(QString::fromLatin1(kMimeType)));
    CTeamDrag drag;
    qint32 id = 0;
    in >> drag.folder >> id;
    if (in.status() != QDataStream::Ok || drag.folder.isEmpty()) {
        return std::nullopt;
    }
    drag.teamId = id;
    return drag;
}
