#include "services/currency.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace {

// Whole digits and fraction digits of a magnitude, rounded to four decimals.
qint64 roundedRaw(const QString &whole, QString fraction)
{
    fraction = fraction.leftJustified(5, QLatin1Char('0'));
    qint64 raw = whole.toLongLong() * 10000 + fraction.left(4).toLongLong();
    const int next = fraction.at(4).digitValue();
    bool beyondHalf = false;
    for (qsizetype i = 5; i < fraction.size() && !beyondHalf; ++i)
        beyondHalf = fraction.at(i) >= QLatin1Char('1') && fraction.at(i) <= QLatin1Char('9');
    if (next > 5 || (next == 5 && (beyondHalf || raw % 2 != 0)))
        ++raw;
    return raw;
}

} // namespace

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        return Currency();
    // Rounded on the shortest decimal text of the value, so that a decimal
    // half (0.00005) is a half and goes to the even neighbour.
    const QString text = QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const qint64 raw = roundedRaw(point < 0 ? text : text.left(point), point < 0 ? QString() : text.mid(point + 1));
    return fromRaw(value < 0 ? -raw : raw);
}

Currency Currency::fromDecimalText(const QString &text, bool *ok)
{
    static const QRegularExpression decimal(QStringLiteral("^\\s*([+-]?)(\\d*)(?:\\.(\\d*))?\\s*$"));
    const QRegularExpressionMatch m = decimal.match(text);
    QString whole = m.captured(2);
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    *ok = m.hasMatch() && (!m.captured(2).isEmpty() || !m.captured(3).isEmpty()) && whole.size() <= 14;
    if (!*ok)
        return Currency();
    const qint64 raw = roundedRaw(whole, m.captured(3));
    return fromRaw(m.captured(1) == QLatin1String("-") ? -raw : raw);
}

Currency Currency::fromRaw(qint64 tenThousandths)
{
    Currency c;
    c.m_raw = tenThousandths;
    return c;
}

QString Currency::toText() const
{
    // Written from the last digit backwards into a buffer: the fraction
    // without its trailing zeros, the point, the whole digits, the sign.
    const bool negative = m_raw < 0;
    const quint64 magnitude = negative ? quint64(-m_raw) : quint64(m_raw);
    char buffer[32];
    char *const end = buffer + sizeof(buffer);
    char *at = end;
    quint64 fraction = magnitude % 10000;
    if (fraction != 0) {
        int digits = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        for (; digits > 0; --digits, fraction /= 10)
            *--at = char('0' + fraction % 10);
        *--at = '.';
    }
    quint64 whole = magnitude / 10000;
    do {
        *--at = char('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (negative)
        *--at = '-';
    return QString::fromLatin1(at, end - at);
}
