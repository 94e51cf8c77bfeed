#include "data/engine/textout.h"

#include "data/engine/jetruntime.h"

#include <QLocale>

namespace vinorium::data {

namespace {

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
            case '\t':
                out += QLatin1String("\\t");
                break;
            case '\r':
                out += QLatin1String("\\r");
                break;
            case '\n':
                out += QLatin1String("\\n");
                break;
            case '\\':
                out += QLatin1String("\\\\");
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

QString toolText(const Field& field) {
    if (field.isNull()) {
        return QStringLiteral("\\N");
    }
    const QVariant v = field.value();
    switch (v.userType()) {
        case QMetaType::LongLong:
            return QString::number(v.toLongLong());
        case QMetaType::Double: {
            const double d = v.toDouble();
            if (d == 0.0) {
                return QStringLiteral("0");
            }
            return QString::number(d, 'g', QLocale::FloatingPointShortest);
        }
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime();
            return jet::storedDateText(dt);
        }
        case QMetaType::QByteArray:
            return escaped(QString::fromUtf8(v.toByteArray()));
        default:
            return escaped(v.toString());
    }
}

QString toolRow(const Query& query) {
    QStringList fields;
    for (int i = 0; i < query.fieldCount(); ++i) {
        fields << toolText(query.field(i));
    }
    return fields.join(QLatin1Char('\t'));
}

QString toolHeader(const Query& query) {
    return query.fieldNames().join(QLatin1Char('\t'));
}

}  // namespace vinorium::data
