#include "services/currency.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        return Currency();
    // Rounded on the shortest decimal text of the value, so that a decimal
    // half (0.00005) is a half and goes to the even neighbour.
    const QString text = QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? text : text.left(point);
    QString fraction = point < 0 ? QString() : text.mid(point + 1);
    fraction = fraction.leftJustified(5, QLatin1Char('0'));
    qint64 raw = whole.toLongLong() * 10000 + fraction.left(4).toLongLong();
    const int next = fraction.at(4).digitValue();
    const bool beyondHalf = fraction.mid(5).contains(QRegularExpression(QStringLiteral("[1-9]")));
    if (next > 5 || (next == 5 && (beyondHalf || raw % 2 != 0)))
        ++raw;
    return fromRaw(value < 0 ? -raw : raw);
}

Currency Currency::fromRaw(qint64 tenThousandths)
{
    Currency c;
    c.m_raw = tenThousandths;
    return c;
}

QString Currency::toText() const
{
    const bool negative = m_raw < 0;
    const quint64 magnitude = negative ? quint64(-m_raw) : quint64(m_raw);
    QString text = QString::number(magnitude / 10000);
    quint64 fraction = magnitude % 10000;
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}
