#pragma once
// Currency values: fixed point with four decimals, as the ledger keeps them.
// Conversions from floating point round to the nearest 0.0001, halves to even.

#include <QString>
#include <QtGlobal>

class Currency
{
public:
    Currency() = default;
    static Currency fromDouble(double value);
    static Currency fromRaw(qint64 tenThousandths);
    // A plain decimal text ("-12.34567", blanks around allowed) rounded to
    // four decimals, halves to even, without passing through a double. *ok
    // is false (and the result 0) for any other text or one too large.
    static Currency fromDecimalText(const QString &text, bool *ok);

    qint64 raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / 10000.0; }
    // The shortest plain decimal text: "121", "7.8512", "-12.5", "0".
    QString toText() const;

    Currency operator+(Currency other) const { return fromRaw(m_raw + other.m_raw); }
    Currency operator-(Currency other) const { return fromRaw(m_raw - other.m_raw); }
    Currency operator-() const { return fromRaw(-m_raw); }
    auto operator<=>(const Currency &) const = default;
    bool isZero() const { return m_raw == 0; }

private:
    qint64 m_raw = 0;
};
