#include "CFieldCaptions.h"

#include "editor/model/CPlayerField.h"

QString CFieldCaptions::Of(const CPlayerField& field, const Lookup& text) {
    return text(field.DisplayKey().c_str());
}

QString CFieldCaptions::WithFilterName(const CPlayerField& field, const Lookup& text) {
    return QStringLiteral("%1 (%2)").arg(Of(field, text), QString::fromLatin1(field.Name()));
}

QString CFieldCaptions::OfColumnName(const QString& columnName, const Lookup& text) {
    const CPlayerField* field = CPlayerField::Find(columnName.toStdString());
    return field && field->IsColumn() ? Of(*field, text) : columnName;
}
