#include "services/statementshape.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// What an ASCII character starts; beyond ASCII a character is a space, a
// digit or else part of a word.
enum class Start : unsigned char { Other, Space, Text, Name, Minus, Slash, X, Zero, Digit, Dot, Word, Forbidden };

constexpr std::array<Start, 128> asciiStarts = [] {
    std::array<Start, 128> t{};
    for (char16_t c : {u'\t', u'\n', u'\v', u'\f', u'\r', u' '})
        t[c] = Start::Space;
    for (char16_t c = u'a'; c <= u'z'; ++c)
        t[c] = t[c - 32] = Start::Word;
    t[u'_'] = Start::Word;
    t[u'x'] = t[u'X'] = Start::X;
    for (char16_t c = u'1'; c <= u'9'; ++c)
        t[c] = Start::Digit;
    t[u'0'] = Start::Zero;
    t[u'.'] = Start::Dot;
    t[u'\''] = Start::Text;
    t[u'"'] = t[u'`'] = t[u'['] = Start::Name;
    t[u'-'] = Start::Minus;
    t[u'/'] = Start::Slash;
    for (char16_t c : {u'?', u':', u'@', u'$', u'#'})
        t[c] = Start::Forbidden;
    return t;
}();

constexpr std::array<bool, 128> asciiWordParts = [] {
    std::array<bool, 128> t{};
    for (char16_t c = 0; c < 128; ++c)
        t[c] = asciiStarts[c] == Start::Word || asciiStarts[c] == Start::X || asciiStarts[c] == Start::Digit
            || asciiStarts[c] == Start::Zero || c == u'$';
    return t;
}();

bool isWordPart(char16_t u)
{
    return u > 0x7f || asciiWordParts[u];
}

bool isDigit(char16_t u)
{
    return QChar::isDigit(u);
}

// Whether word is keyword (upper-case letters), in any case. A word with a
// character beyond ASCII is left to Qt's case folding, which may fold it
// onto a letter of the keyword.
bool isKeyword(QStringView word, QLatin1StringView keyword)
{
    if (word.size() != keyword.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t u = word[i].unicode();
        if (u > 0x7f)
            return word.compare(keyword, Qt::CaseInsensitive) == 0;
        if ((u & ~0x20) != char16_t(keyword[i].unicode()))
            return false;
    }
    return true;
}

// Cuts a statement in one pass over its text: the pieces are recognised as
// they come and only the last two that are neither space nor comment are
// remembered. A decimal that may be a whole value waits for the next piece
// to know whether a "," or ")" closes it. ORDER, GROUP or a compound SELECT
// met after a value they keep was taken makes the statement cut again from
// its start, knowing them (most statements have none, so one pass is the
// rule).
class ShapeCutter
{
public:
    ShapeCutter(const QString &sql, ShapeStyle style)
        : m_sql(sql), m_text(reinterpret_cast<const char16_t *>(sql.constData())), m_size(sql.size()), m_style(style)
    {}

    std::optional<StatementShape> cut();

private:
    enum class Outcome { Shaped, NoShape, Again };
    enum class Kind { Space, Comment, Text, Blob, Number, Decimal, Hexadecimal, Word, QuotedName, Symbol, Malformed };
    struct Piece
    {
        Kind kind;
        qsizetype start;
        qsizetype end;
        bool doubled = false; // a text holding a doubled quote
        bool nul = false;     // a text holding a NUL character
    };

    Outcome pass();
    // The piece that starts at from; Malformed when it is one the shape leaves
    // to the engine (a placeholder, an unclosed quote, a malformed number).
    Piece piece(qsizetype from) const;
    Piece number(qsizetype from) const;
    bool isLead(const Piece &p);
    Outcome take(const Piece &p, char16_t last, char16_t beforeLast);
    // The end of a quoted piece from its opening quote at from, a doubled
    // closing quote inside; -1 when it is not closed.
    qsizetype quotedEnd(qsizetype from, char16_t close) const;
    qsizetype textEnd(qsizetype from, bool *doubled, bool *nul) const;
    qsizetype numberEnd(qsizetype from, bool *decimal) const;
    qsizetype wordEnd(qsizetype from) const;
    Outcome word(qsizetype start, qsizetype end);
    Outcome allStay();
    void resolvePendingDecimal(char16_t next);
    void write(qsizetype upTo, QLatin1StringView placeholder);
    void putPlaceholder(qsizetype start, qsizetype end, QLatin1StringView placeholder);
    bool takeNumber(qsizetype start, qsizetype end, char16_t last, char16_t beforeLast);
    void takeText(qsizetype start, qsizetype end, bool doubled);
    // PostgreSQL: where a number starting at start begins with its sign.
    qsizetype signedStart(qsizetype start, char16_t last, char16_t beforeLast) const;
    // PostgreSQL: puts the next numbered placeholder for the literal from
    // start to end.
    void takeLiteral(qsizetype start, qsizetype end, ShapeLiteral::Kind kind, qlonglong whole = 0);

    const QString &m_sql;
    const char16_t *m_text;
    qsizetype m_size;
    ShapeStyle m_style;
    // Found anywhere in the statement: ORDER or GROUP keep the numbers,
    // a compound SELECT keeps every literal.
    bool m_numbersStay = false;
    bool m_allStay = false;

    // The state of one pass.
    StatementShape m_shape;
    qsizetype m_copied = 0;  // the statement's text is in the shape up to here
    qsizetype m_written = 0; // the characters of the shape's text written so far
    bool m_numberTaken = false;
    bool m_anyTaken = false;
    bool m_insert = false;
    bool m_inResultColumns = false;
    bool m_inValues = false; // after the VALUES keyword of an INSERT
    int m_depth = 0;
    qsizetype m_pendingStart = -1; // a decimal waiting for what follows it
    qsizetype m_pendingEnd = -1;
    qsizetype m_lastStart = -1;          // where the last piece neither space nor comment starts
    qsizetype m_pendingSignedStart = -1; // PostgreSQL: the waiting decimal's sign
};

qsizetype ShapeCutter::quotedEnd(qsizetype from, char16_t close) const
{
    for (qsizetype i = from + 1; i < m_size; ++i) {
        if (m_text[i] != close)
            continue;
        if (close != u']' && i + 1 < m_size && m_text[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

qsizetype ShapeCutter::textEnd(qsizetype from, bool *doubled, bool *nul) const
{
    for (qsizetype i = from + 1; i < m_size; ++i) {
        const char16_t u = m_text[i];
        if (u == 0)
            *nul = true;
        if (u != u'\'')
            continue;
        if (i + 1 < m_size && m_text[i + 1] == u'\'') {
            *doubled = true;
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

qsizetype ShapeCutter::numberEnd(qsizetype from, bool *decimal) const
{
    qsizetype i = from;
    auto digits = [&] {
        while (i < m_size && isDigit(m_text[i]))
            ++i;
    };
    digits();
    *decimal = false;
    if (i < m_size && m_text[i] == u'.') {
        *decimal = true;
        ++i;
        digits();
    }
    if (i < m_size && (m_text[i] == u'e' || m_text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < m_size && (m_text[j] == u'+' || m_text[j] == u'-'))
            ++j;
        if (j < m_size && isDigit(m_text[j])) {
            *decimal = true;
            i = j;
            digits();
        }
    }
    return i;
}

qsizetype ShapeCutter::wordEnd(qsizetype from) const
{
    while (from < m_size && isWordPart(m_text[from]))
        ++from;
    return from;
}

// The statement's text from the last value taken up to upTo, then what
// comes in the value's place, written straight into the shape's text.
void ShapeCutter::write(qsizetype upTo, QLatin1StringView placeholder)
{
    const qsizetype run = upTo - m_copied;
    const qsizetype needed = m_written + run + placeholder.size();
    if (needed > m_shape.text.size())
        m_shape.text.resize(std::max(needed, m_size + 16 + m_shape.text.size() / 2));
    char16_t *out = reinterpret_cast<char16_t *>(m_shape.text.data()) + m_written;
    std::copy_n(m_text + m_copied, run, out);
    out += run;
    for (char ch : placeholder)
        *out++ = char16_t(ch);
    m_written = needed;
}

void ShapeCutter::putPlaceholder(qsizetype start, qsizetype end, QLatin1StringView placeholder)
{
    if (!m_anyTaken && m_shape.values.capacity() == 0)
        m_shape.values.reserve(m_size / 16 + 2);
    write(start, placeholder);
    m_copied = end;
    m_anyTaken = true;
}

// A whole number of up to 18 ASCII digits always fits in 64 bits; any other
// is left to Qt, which says whether it fits.
bool ShapeCutter::takeNumber(qsizetype start, qsizetype end, char16_t last, char16_t beforeLast)
{
    qlonglong value = 0;
    bool ok = end - start <= 18;
    for (qsizetype i = start; ok && i < end; ++i) {
        const char16_t u = m_text[i];
        ok = u >= u'0' && u <= u'9';
        if (ok)
            value = value * 10 + (u - u'0');
    }
    if (!ok)
        value = QStringView(m_sql).sliced(start, end - start).toLongLong(&ok);
    if (!ok)
        return false;
    m_numberTaken = true;
    if (m_style == ShapeStyle::PostgreSql) {
        const qsizetype from = signedStart(start, last, beforeLast);
        takeLiteral(from, end, ShapeLiteral::Kind::Whole, from < start && m_text[from] == u'-' ? -value : value);
        return true;
    }
    putPlaceholder(start, end, QLatin1StringView("?"));
    m_shape.values.emplace_back(value);
    return true;
}

qsizetype ShapeCutter::signedStart(qsizetype start, char16_t last, char16_t beforeLast) const
{
    const bool unary =
        beforeLast == u'(' || beforeLast == u',' || beforeLast == u'=' || beforeLast == u'<' || beforeLast == u'>';
    return (last == u'-' || last == u'+') && unary && m_lastStart >= m_copied ? m_lastStart : start;
}

void ShapeCutter::takeLiteral(qsizetype start, qsizetype end, ShapeLiteral::Kind kind, qlonglong whole)
{
    char placeholder[24];
    const int length = std::snprintf(placeholder, sizeof placeholder, "$%lld", qlonglong(m_shape.literals.size() + 1));
    putPlaceholder(start, end, QLatin1StringView(placeholder, length));
    m_shape.literals.append(ShapeLiteral{QString(m_sql.constData() + start, end - start), kind, whole});
}

void ShapeCutter::takeText(qsizetype start, qsizetype end, bool doubled)
{
    if (m_style == ShapeStyle::PostgreSql) {
        takeLiteral(start, end, ShapeLiteral::Kind::Text);
        return;
    }
    QString value(m_sql.constData() + start + 1, end - start - 2);
    if (doubled)
        value.replace(QLatin1StringView("''"), QLatin1StringView("'"));
    putPlaceholder(start, end, QLatin1StringView("?"));
    m_shape.values.emplace_back(std::move(value));
}

// The waiting decimal is one whole value when a "," or ")" follows it.
void ShapeCutter::resolvePendingDecimal(char16_t next)
{
    if (m_pendingStart < 0)
        return;
    if (next == u',' || next == u')') {
        const qsizetype start = m_pendingStart;
        m_numberTaken = true;
        if (m_style == ShapeStyle::PostgreSql) {
            takeLiteral(m_pendingSignedStart, m_pendingEnd, ShapeLiteral::Kind::Decimal);
            m_pendingStart = -1;
            return;
        }
        putPlaceholder(start, m_pendingEnd, QLatin1StringView("CAST(? AS REAL)"));
        m_shape.values.emplace_back(QString(m_sql.constData() + start, m_pendingEnd - start));
    }
    m_pendingStart = -1;
}

// A compound SELECT keeps every literal; when one was taken already, the
// statement is cut again knowing it.
ShapeCutter::Outcome ShapeCutter::allStay()
{
    if (m_allStay)
        return Outcome::Shaped;
    m_allStay = true;
    return m_anyTaken ? Outcome::Again : Outcome::Shaped;
}

// A keyword that changes what is taken after it (FROM, VALUES), or in the
// whole statement (ORDER, GROUP, UNION, INTERSECT, EXCEPT).
ShapeCutter::Outcome ShapeCutter::word(qsizetype start, qsizetype end)
{
    const QStringView w(m_text + start, end - start);
    switch (w.size()) {
    case 4:
        if (m_depth == 0 && m_inResultColumns && isKeyword(w, QLatin1StringView("FROM")))
            m_inResultColumns = false;
        break;
    case 5:
        if (isKeyword(w, QLatin1StringView("ORDER")) || isKeyword(w, QLatin1StringView("GROUP"))) {
            const bool again = !m_numbersStay && m_numberTaken;
            m_numbersStay = true;
            return again ? Outcome::Again : Outcome::Shaped;
        }
        if (isKeyword(w, QLatin1StringView("UNION")))
            return allStay();
        break;
    case 6:
        if (m_insert && m_depth == 0 && !m_inValues && isKeyword(w, QLatin1StringView("VALUES")))
            m_inValues = true;
        else if (isKeyword(w, QLatin1StringView("EXCEPT")))
            return allStay();
        break;
    case 9:
        if (isKeyword(w, QLatin1StringView("INTERSECT")))
            return allStay();
        break;
    default:
        break;
    }
    return Outcome::Shaped;
}

ShapeCutter::Piece ShapeCutter::number(qsizetype from) const
{
    bool decimal = false;
    const qsizetype end = numberEnd(from, &decimal);
    if (end < m_size && isWordPart(m_text[end]))
        return {Kind::Malformed, from, end};
    return {decimal ? Kind::Decimal : Kind::Number, from, end};
}

ShapeCutter::Piece ShapeCutter::piece(qsizetype from) const
{
    const char16_t c = m_text[from];
    const char16_t next = from + 1 < m_size ? m_text[from + 1] : 0;
    Start start = Start::Word;
    if (c < 0x80)
        start = asciiStarts[c];
    else if (QChar::isSpace(c))
        start = Start::Space;
    else if (QChar::isDigit(c))
        start = Start::Digit;
    qsizetype end = from + 1;
    switch (start) {
    case Start::Space:
        while (end < m_size && QChar::isSpace(m_text[end]))
            ++end;
        return {Kind::Space, from, end};
    case Start::Text: {
        Piece text{Kind::Text, from, 0};
        text.end = textEnd(from, &text.doubled, &text.nul);
        return text.end < 0 ? Piece{Kind::Malformed, from, 0} : text;
    }
    case Start::Name:
        end = quotedEnd(from, c == u'[' ? u']' : c);
        return {end < 0 ? Kind::Malformed : Kind::QuotedName, from, end};
    case Start::Minus:
        if (next != u'-')
            break;
        end = QStringView(m_sql).indexOf(QLatin1Char('\n'), from);
        return {Kind::Comment, from, end < 0 ? m_size : end};
    case Start::Slash:
        if (next != u'*')
            break;
        end = QStringView(m_sql).indexOf(QLatin1StringView("*/"), from + 2);
        return {end < 0 ? Kind::Malformed : Kind::Comment, from, end + 2};
    case Start::X:
        if (next != u'\'')
            return {Kind::Word, from, wordEnd(end)};
        end = quotedEnd(from + 1, next);
        return {end < 0 ? Kind::Malformed : Kind::Blob, from, end};
    case Start::Zero:
        if (next == u'x' || next == u'X')
            return {Kind::Hexadecimal, from, wordEnd(from + 2)};
        return number(from);
    case Start::Digit:
        return number(from);
    case Start::Dot:
        if (!isDigit(next))
            break;
        return number(from);
    case Start::Word:
        return {Kind::Word, from, wordEnd(end)};
    case Start::Forbidden:
        return {Kind::Malformed, from, end};
    case Start::Other:
        break;
    }
    return {Kind::Symbol, from, end};
}

// Whether the first piece that is neither space nor comment makes a
// statement with a shape.
bool ShapeCutter::isLead(const Piece &p)
{
    if (p.kind != Kind::Word)
        return false;
    const QStringView w(m_text + p.start, p.end - p.start);
    const bool select = isKeyword(w, QLatin1StringView("SELECT"));
    m_insert = isKeyword(w, QLatin1StringView("INSERT"));
    m_inResultColumns = select;
    return select || m_insert || isKeyword(w, QLatin1StringView("UPDATE")) || isKeyword(w, QLatin1StringView("DELETE"));
}

// Takes the value of the piece p, or notes what it changes for the pieces
// after it. last and beforeLast are the two pieces before p that are neither
// space nor comment, when they are symbols.
ShapeCutter::Outcome ShapeCutter::take(const Piece &p, char16_t last, char16_t beforeLast)
{
    const bool mayTake = !m_allStay && !m_inResultColumns;
    switch (p.kind) {
    case Kind::Symbol:
        if (m_text[p.start] == u'(')
            ++m_depth;
        else if (m_text[p.start] == u')')
            --m_depth;
        break;
    case Kind::Word:
        return word(p.start, p.end);
    case Kind::Text:
        if (mayTake && !p.nul)
            takeText(p.start, p.end, p.doubled);
        break;
    case Kind::Number:
        if (mayTake && !m_numbersStay)
            takeNumber(p.start, p.end, last, beforeLast);
        break;
    case Kind::Decimal:
        if (mayTake && !m_numbersStay && m_inValues && m_depth == 1
            && (last == u'(' || last == u','
                || ((last == u'-' || last == u'+') && (beforeLast == u'(' || beforeLast == u',')))) {
            m_pendingStart = p.start;
            m_pendingEnd = p.end;
            m_pendingSignedStart = signedStart(p.start, last, beforeLast);
        }
        break;
    default:
        break;
    }
    return Outcome::Shaped;
}

ShapeCutter::Outcome ShapeCutter::pass()
{
    m_shape.values.clear();
    m_written = 0;
    m_copied = 0;
    m_numberTaken = m_anyTaken = m_insert = m_inResultColumns = m_inValues = false;
    m_shape.literals.clear();
    m_depth = 0;
    m_pendingStart = -1;
    m_lastStart = -1;
    bool lead = false;
    char16_t last = 0;
    char16_t beforeLast = 0;
    for (qsizetype i = 0; i < m_size;) {
        const Piece p = piece(i);
        if (p.kind == Kind::Malformed)
            return Outcome::NoShape;
        i = p.end;
        if (p.kind == Kind::Space || p.kind == Kind::Comment)
            continue;
        const char16_t symbol = p.kind == Kind::Symbol ? m_text[p.start] : 0;
        resolvePendingDecimal(symbol);
        if (!lead && !isLead(p))
            return Outcome::NoShape;
        lead = true;
        if (take(p, last, beforeLast) == Outcome::Again)
            return Outcome::Again;
        beforeLast = last;
        last = symbol;
        m_lastStart = p.start;
    }
    if (!lead)
        return Outcome::NoShape;
    m_pendingStart = -1;
    if (m_copied == 0) {
        m_shape.text = m_sql;
    } else {
        write(m_size, {});
        m_shape.text.truncate(m_written);
    }
    return Outcome::Shaped;
}

std::optional<StatementShape> ShapeCutter::cut()
{
    Outcome outcome = pass();
    while (outcome == Outcome::Again)
        outcome = pass();
    if (outcome == Outcome::NoShape)
        return std::nullopt;
    return std::move(m_shape);
}

} // namespace

std::optional<StatementShape> statementShape(const QString &sql, ShapeStyle style)
{
    return ShapeCutter(sql, style).cut();
}
