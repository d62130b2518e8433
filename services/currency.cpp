#include "services/currency.h"

#include <cmath>

Currency Currency::fromDouble(double value)
{
    // nearbyint rounds halves to even under the default rounding mode.
    const long double scaled = static_cast<long double>(value) * 10000.0L;
    return fromRaw(static_cast<qint64>(std::nearbyint(scaled)));
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
