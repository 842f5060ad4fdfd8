#include "PlayerQuery.h"

#include "ModelCsv.h"

#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerField.h"
#include "editor/model/CPlayerFilter.h"
#include "editor/model/CPlayerSort.h"

namespace {

constexpr const char* kDefaultFields = "id,name,team,age,preferred_position_1,overall";

bool Filter(const CGameDatabase& database, const std::string& where, std::vector<int32_t>& ids,
            std::string& error) {
    SQueryError problem;
    auto filter = CPlayerFilter::Parse(where, problem);
    if (!filter) {
        error = "--where: " + problem.Text();
        return false;
    }
    ids = filter->Select(SPlayerFieldContext(database, CPlayerField::AgeDate()));
    return true;
}

bool Fields(const std::string& list, std::vector<const CPlayerField*>& fields, std::string& error) {
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        const CPlayerField* field = CPlayerField::Find(name);
        if (!field) {
            error = "--fields: unknown field '" + name + "'";
            return false;
        }
        fields.push_back(field);
        start = comma + 1;
    }
    return true;
}

size_t Characters(const std::string& text) {
    size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace

bool CPlayerQuery::List(const CGameDatabase& database, const SListRequest& request,
                        std::ostream& out, std::string& error) {
    std::vector<const CPlayerField*> fields;
    if (!Fields(request.fields.empty() ? kDefaultFields : request.fields, fields, error))
        return false;
    const CPlayerField* sortField = nullptr;
    bool descending = false;
    if (!request.sort.empty()) {
        std::string name = request.sort;
        const size_t colon = name.rfind(':');
        if (colon != std::string::npos) {
            const std::string order = name.substr(colon + 1);
            if (order != "asc" && order != "desc") {
                error = "--sort: order must be asc or desc, not '" + order + "'";
                return false;
            }
            descending = order == "desc";
            name.resize(colon);
        }
        sortField = CPlayerField::Find(name);
        if (!sortField) {
            error = "--sort: unknown field '" + name + "'";
            return false;
        }
    }
    std::vector<int32_t> ids;
    if (!Filter(database, request.where, ids, error))
        return false;
    const SPlayerFieldContext context(database, CPlayerField::AgeDate());
    if (sortField)
        CPlayerSort::Sort(ids, *sortField, descending, context);

    std::vector<std::vector<std::string>> rows;
    rows.reserve(ids.size() + 1);
    rows.emplace_back();
    for (const CPlayerField* field : fields)
        rows.back().push_back(field->Name());
    for (int32_t id : ids) {
        const CPlayer& player = *database.FindPlayer(id);
        rows.emplace_back();
        for (const CPlayerField* field : fields)
            rows.back().push_back(field->Text(player, context));
    }
    if (request.csv) {
        for (const auto& row : rows)
            out << CModelCsv::Line(row);
        return true;
    }
    std::vector<size_t> widths(fields.size(), 0);
    for (const auto& row : rows)
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], Characters(row[c]));
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line.append(widths[c] - Characters(row[c]) + 2, ' ');
        }
        out << line << "\n";
    }
    out << ids.size() << " of " << database.Players().size() << " players\n";
    return true;
}

bool CPlayerQuery::Plan(const CGameDatabase& database, const std::string& where,
                        const std::vector<std::string>& changes, SBulkPlan& plan,
                        std::string& error) {
    std::vector<CBulkChange> parsed;
    for (const std::string& text : changes) {
        SQueryError problem;
        auto change = CBulkChange::Parse(text, problem);
        if (!change) {
            error = "'" + text + "': " + problem.Text();
            return false;
        }
        parsed.push_back(*change);
    }
    std::vector<int32_t> ids;
    if (!Filter(database, where, ids, error))
        return false;
    plan = SBulkPlan::Make(database, ids, parsed);
    return true;
}

void CPlayerQuery::PrintChanges(const CGameDatabase& database, const SBulkPlan& plan,
                                std::ostream& out) {
    for (const SBulkValueChange& change : plan.changes)
        out << change.playerId << " " << database.PlayerDisplayName(change.playerId) << ": "
            << CPlayerField::OfColumn(change.column).Name() << " " << change.before << " -> "
            << change.after << "\n";
}

std::string CPlayerQuery::Summary(const SBulkPlan& plan, bool dryRun) {
    auto count = [](size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return std::string(dryRun ? "would change " : "changed ") +
           count(plan.playersChanged, "player", "players") + " (" +
           count(plan.changes.size(), "value", "values") + ", " +
           std::to_string(plan.valuesClamped) + " clamped)";
}
