#include "CFieldCaptions.h"

#include "editor/model/CPlayerField.h"
#include "editor/model/CRecordFieldKeys.h"

QString CFieldCaptions::Of(const CPlayerField& field, const Lookup& text) {
    return text(field.DisplayKey().c_str());
}

QString CFieldCaptions::WithFilterName(const CPlayerField& field, const Lookup& text) {
    return QStringLiteral("%1 (%2)").arg(Of(field, text), QString::fromLatin1(field.Name()));
}

QString CFieldCaptions::OfRecordField(ERecordKind kind, const std::string& field,
                                      const Lookup& text) {
    const auto key = CRecordFieldKeys::Of(kind, field);
    if (!key)
        return QString::fromStdString(field);
    const QString shown = text(key->key.c_str());
    return key->number.empty() ? shown : shown.arg(QString::fromStdString(key->number));
}
