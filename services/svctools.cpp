#include "services/svctools.h"
#include "services/errors.h"

#include <QDir>
#include <QLocale>
#include <cmath>

namespace {

// Strict reading of a number text; false when the text is no number.
bool readNumber(const QString &text, double *value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool isNumberType(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isDateType(const QVariant &value)
{
    return value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime;
}

QString dateTimeToText(const QDateTime &dt)
{
    if (dt.time() == QTime(0, 0))
        return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

namespace SvcTools {

QString PadLeft(const QString &text, int width)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), QLatin1Char(' ')) + text;
}

QVariant FieldValue(const QVariant &field)
{
    if (!field.isValid() || field.isNull())
        return QString();
    return field;
}

QString FieldText(const QVariant &field)
{
    if (!field.isValid() || field.isNull())
        return QString();
    return NumberText(field);
}

QString ValueText(const QVariant &value, const QString &what)
{
    if (!value.isValid() || value.isNull())
        throwNullError(what);
    return NumberText(value);
}

Currency ToCurrency(const QString &text)
{
    double v = 0;
    return readNumber(text, &v) ? Currency::fromDouble(v) : Currency();
}

double ToDouble(const QString &text)
{
    double v = 0;
    return readNumber(text, &v) ? v : 0.0;
}

QString RemoveText(const QString &text, const QString &piece, const QString &piece2, const QString &piece3)
{
    QString result = text;
    for (const QString &p : {piece, piece2, piece3}) {
        if (!p.isEmpty())
            result.remove(p);
    }
    return result;
}

QString FolderPath(const QString &folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString NumberText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return plainNumber(value.toDouble());
    if (isDateType(value))
        return dateText(value);
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

} // namespace SvcTools

QString plainNumber(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return QStringLiteral("0");
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

double numericValue(const QString &text)
{
    // Like the classic Val(): blanks are skipped, the leading number is read.
    QString digits;
    bool seenDigit = false, seenPoint = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && digits.isEmpty()) {
            digits += c;
            continue;
        }
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            seenDigit = true;
            continue;
        }
        if (c == QLatin1Char('.') && !seenPoint) {
            digits += c;
            seenPoint = true;
            continue;
        }
        break;
    }
    if (!seenDigit)
        return 0.0;
    return QLocale::c().toDouble(digits);
}

Currency currencyOf(const QVariant &value, const QString &what)
{
    if (!value.isValid() || value.isNull())
        throwNullError(what);
    if (isNumberType(value))
        return Currency::fromDouble(value.toDouble());
    bool exact = false;
    const Currency decimal = Currency::fromDecimalText(SvcTools::NumberText(value), &exact);
    if (exact)
        return decimal; // a decimal text keeps every digit, whatever a double would hold
    double v = 0;
    if (!readNumber(SvcTools::NumberText(value), &v))
        throw RunTimeError(RunError{
            ErrorNumber::TypeMismatch,
            QStringLiteral("No coinciden los tipos: %1 no es un número ('%2')").arg(what, SvcTools::NumberText(value)),
            {},
            {},
            {}});
    return Currency::fromDouble(v);
}

double doubleOf(const QVariant &value, const QString &what)
{
    if (!value.isValid() || value.isNull())
        throwNullError(what);
    if (isNumberType(value))
        return value.toDouble();
    double v = 0;
    if (!readNumber(SvcTools::NumberText(value), &v))
        throw RunTimeError(RunError{
            ErrorNumber::TypeMismatch,
            QStringLiteral("No coinciden los tipos: %1 no es un número ('%2')").arg(what, SvcTools::NumberText(value)),
            {},
            {},
            {}});
    return v;
}

QString formatDigits(const QString &text, int digits)
{
    double v = 0;
    if (!readNumber(text, &v))
        return text;
    const double whole = std::nearbyint(v);
    const bool negative = whole < 0;
    QString body = QString::number(static_cast<qulonglong>(std::fabs(whole)));
    if (body.size() < digits)
        body = QString(digits - body.size(), QLatin1Char('0')) + body;
    return negative ? QLatin1Char('-') + body : body;
}

qint16 toInt16(double value)
{
    const double whole = std::nearbyint(value);
    if (whole > 32767 || whole < -32768)
        throw RunTimeError(RunError{6, QStringLiteral("Desbordamiento: %1").arg(plainNumber(value)), {}, {}, {}});
    return static_cast<qint16>(whole);
}

namespace {

// The digits of text from at, count of them, as a number; -1 when one is not
// a digit.
int digitsAt(QStringView text, qsizetype at, int count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The form the databases give back, "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss",
// read without the general formats below; false for any other text, which
// then takes the general way. Both ways give the same moment for these forms.
bool readIsoDateTime(QStringView text, QDate *date, QTime *time)
{
    if (text.size() != 10 && text.size() != 19)
        return false;
    if (text[4] != u'-' || text[7] != u'-')
        return false;
    *date = QDate(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    if (!date->isValid() || date->year() < 1)
        return false;
    if (text.size() == 10) {
        *time = QTime(0, 0);
        return true;
    }
    if (text[10] != u' ' || text[13] != u':' || text[16] != u':')
        return false;
    *time = QTime(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
    return time->isValid();
}

} // namespace

QDateTime parseDateTimeText(const QString &text)
{
    QDate isoDate;
    QTime isoTime;
    if (readIsoDateTime(text, &isoDate, &isoTime))
        return QDateTime(isoDate, isoTime, Qt::UTC);

    // The date and the time are read apart and joined in UTC, so that a date
    // whose local midnight falls in a daylight-saving gap keeps its midnight.
    const QString t = text.trimmed();
    qsizetype split = t.indexOf(QLatin1Char(' '));
    if (split < 0)
        split = t.indexOf(QLatin1Char('T'));
    const QString datePart = split < 0 ? t : t.left(split);
    QString timePart = split < 0 ? QString() : t.mid(split + 1).trimmed();
    const qsizetype point = timePart.indexOf(QLatin1Char('.'));
    if (point >= 0)
        timePart.truncate(point + 4); // milliseconds at most

    static const char *const dateFormats[] = {"yyyy-M-d", "yyyy/M/d", "d/M/yyyy", "d-M-yyyy", "d/M/yy"};
    QDate date;
    for (const char *format : dateFormats) {
        date = QDate::fromString(datePart, QString::fromLatin1(format));
        if (date.isValid()) {
            // Two-digit years: 00 to 29 are this century, 30 to 99 the last one.
            if (datePart.section(QLatin1Char('/'), 2).size() == 2 && date.year() < 1930)
                date = date.addYears(100);
            break;
        }
    }
    if (!date.isValid())
        return {};
    QTime time(0, 0);
    if (!timePart.isEmpty()) {
        time = QTime();
        for (const char *format : {"H:mm:ss", "H:mm:ss.z", "H:mm"}) {
            time = QTime::fromString(timePart, QString::fromLatin1(format));
            if (time.isValid())
                break;
        }
        if (!time.isValid())
            return {};
    }
    return QDateTime(date, time, Qt::UTC);
}

QString dateText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (value.typeId() == QMetaType::QDateTime)
        return dateTimeToText(value.toDateTime());
    const QString text = SvcTools::NumberText(value);
    QDate isoDate;
    QTime isoTime;
    if (readIsoDateTime(text, &isoDate, &isoTime))
        return isoTime == QTime(0, 0) ? text.left(10) : text;
    const QDateTime dt = parseDateTimeText(text);
    return dt.isValid() ? dateTimeToText(dt) : text;
}

QString startDateText(const QString &text)
{
    const QDateTime dt = parseDateTimeText(text);
    return dt.isValid() ? dt.date().toString(QStringLiteral("yyyy-MM-dd")) : text;
}

bool sameText(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}
