#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QMimeData;

// What a drag of a team from another installation carries (a row of a Compare window): the
// installation's folder and the team's id there. A drop copies the team into this database.
class CTeamDrag {
public:
    static const char* const kMimeType;

    QString folder;
    int32_t teamId = 0;

    void WriteInto(QMimeData& data) const;
    // Nothing when the data holds no team (or was not written by WriteInto).
    static std::optional<CTeamDrag> From(const QMimeData* data);
};
