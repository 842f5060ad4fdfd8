#include "editor/toolkit/CCountText.h"

#include <QStringList>

QString CCountText::Of(const TextLookup& text, const QString& key, qint64 count) {
    return Choose(text(key), text(QStringLiteral("Caption_PluralOne")), count).arg(count);
}

QString CCountText::Choose(const QString& forms, const QString& singularCounts, qint64 count) {
    const qsizetype bar = forms.indexOf(u'|');
    if (bar < 0)
        return forms;
    bool singular = false;
    bool listed = false;
    for (const QString& word : singularCounts.split(u' ', Qt::SkipEmptyParts)) {
        bool number = false;
        const qint64 value = word.toLongLong(&number);
        listed = listed || number;
        singular = singular || (number && value == count);
    }
    // Without a usable list (a file from before counted texts), English's rule.
    if (!listed)
        singular = count == 1;
    return singular ? forms.left(bar) : forms.mid(bar + 1);
}
