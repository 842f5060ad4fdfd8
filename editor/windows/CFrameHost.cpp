#include "CFrameHost.h"

#include "editor/model/CGameDatabase.h"

CPlayer* CFrameHost::FindPlayer(int32_t id) {
    CGameDatabase* db = Database();
    return db ? db->FindPlayer(id) : nullptr;
}

CTeam* CFrameHost::FindTeam(int32_t id) {
    CGameDatabase* db = Database();
    return db ? db->FindTeam(id) : nullptr;
}

CLeague* CFrameHost::FindLeague(int32_t id) {
    CGameDatabase* db = Database();
    return db ? db->FindLeague(id) : nullptr;
}
