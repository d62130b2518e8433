#include "services/statementshape.h"

#include <vector>

namespace {

enum class Token { Space, Comment, Text, Blob, Number, Decimal, Hexadecimal, Word, QuotedName, Symbol };

struct Piece
{
    Token kind;
    qsizetype start;
    qsizetype size;
};

bool isWordStart(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_' || u > 0x7f;
}

bool isWordPart(QChar c)
{
    const char16_t u = c.unicode();
    return isWordStart(c) || (u >= u'0' && u <= u'9') || u == u'$';
}

// The end of a quoted piece that starts at from (the opening quote); a
// doubled closing quote is part of the piece. -1 when it is not closed.
qsizetype quotedEnd(const QString &sql, qsizetype from, QChar close)
{
    for (qsizetype i = from + 1; i < sql.size(); ++i) {
        if (sql.at(i) != close)
            continue;
        if (close != QLatin1Char(']') && i + 1 < sql.size() && sql.at(i + 1) == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

// The end of the number that starts at from, and whether it is decimal.
qsizetype numberEnd(const QString &sql, qsizetype from, bool *decimal)
{
    qsizetype i = from;
    auto digits = [&] {
        while (i < sql.size() && sql.at(i).isDigit())
            ++i;
    };
    digits();
    *decimal = false;
    if (i < sql.size() && sql.at(i) == QLatin1Char('.')) {
        *decimal = true;
        ++i;
        digits();
    }
    if (i < sql.size() && (sql.at(i) == QLatin1Char('e') || sql.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < sql.size() && (sql.at(j) == QLatin1Char('+') || sql.at(j) == QLatin1Char('-')))
            ++j;
        if (j < sql.size() && sql.at(j).isDigit()) {
            *decimal = true;
            i = j;
            digits();
        }
    }
    return i;
}

// The statement cut into pieces; empty when it holds something the shape
// leaves to the engine (a placeholder, an unclosed quote, a malformed number).
std::vector<Piece> pieces(const QString &sql)
{
    std::vector<Piece> out;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        qsizetype end = i + 1;
        Token kind = Token::Symbol;
        if (c.isSpace()) {
            while (end < sql.size() && sql.at(end).isSpace())
                ++end;
            kind = Token::Space;
        } else if (c == QLatin1Char('\'')) {
            end = quotedEnd(sql, i, c);
            kind = Token::Text;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            end = quotedEnd(sql, i, c == QLatin1Char('[') ? QLatin1Char(']') : c);
            kind = Token::QuotedName;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            end = sql.indexOf(QLatin1Char('\n'), i);
            end = end < 0 ? sql.size() : end;
            kind = Token::Comment;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            end = sql.indexOf(QLatin1String("*/"), i + 2);
            end = end < 0 ? -1 : end + 2;
            kind = Token::Comment;
        } else if ((c == QLatin1Char('x') || c == QLatin1Char('X')) && next == QLatin1Char('\'')) {
            end = quotedEnd(sql, i + 1, next);
            kind = Token::Blob;
        } else if (c == QLatin1Char('0') && (next == QLatin1Char('x') || next == QLatin1Char('X'))) {
            end = i + 2;
            while (end < sql.size() && isWordPart(sql.at(end)))
                ++end;
            kind = Token::Hexadecimal;
        } else if (c.isDigit() || (c == QLatin1Char('.') && next.isDigit())) {
            bool decimal = false;
            end = numberEnd(sql, i, &decimal);
            if (end < sql.size() && isWordPart(sql.at(end)))
                return {};
            kind = decimal ? Token::Decimal : Token::Number;
        } else if (isWordStart(c)) {
            while (end < sql.size() && isWordPart(sql.at(end)))
                ++end;
            kind = Token::Word;
        } else if (c == QLatin1Char('?') || c == QLatin1Char(':') || c == QLatin1Char('@') || c == QLatin1Char('$')
                   || c == QLatin1Char('#')) {
            return {};
        }
        if (end < 0)
            return {};
        out.push_back({kind, i, end - i});
        i = end;
    }
    return out;
}

class ShapeBuilder
{
public:
    ShapeBuilder(const QString &sql, std::vector<Piece> pieces) : m_sql(sql), m_pieces(std::move(pieces)) {}

    std::optional<StatementShape> build();

private:
    QStringView text(const Piece &p) const { return QStringView(m_sql).mid(p.start, p.size); }
    bool isWord(const Piece &p, QLatin1String word) const
    {
        return p.kind == Token::Word && p.size == word.size()
            && text(p).compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(const Piece &p, char symbol) const
    {
        return p.kind == Token::Symbol && m_sql.at(p.start) == QLatin1Char(symbol);
    }
    // The nearest piece before (step -1) or after (step 1) index that is
    // neither space nor comment; nullptr at either end.
    const Piece *neighbour(size_t index, int step) const;
    bool isWholeValue(size_t index) const;
    void putPlaceholder(const Piece &p, QLatin1String placeholder);
    void takeText(const Piece &p);
    bool takeNumber(const Piece &p);

    const QString &m_sql;
    std::vector<Piece> m_pieces;
    StatementShape m_shape;
    qsizetype m_copied = 0;  // the statement's text is in m_shape.text up to here
};

const Piece *ShapeBuilder::neighbour(size_t index, int step) const
{
    for (qsizetype i = qsizetype(index) + step; i >= 0 && i < qsizetype(m_pieces.size()); i += step) {
        if (m_pieces[i].kind != Token::Space && m_pieces[i].kind != Token::Comment)
            return &m_pieces[i];
    }
    return nullptr;
}

// Whether the decimal at index is one whole value of a VALUES list: after
// "(" or "," (a sign between allowed) and before "," or ")".
bool ShapeBuilder::isWholeValue(size_t index) const
{
    const Piece *before = neighbour(index, -1);
    if (before && (isSymbol(*before, '-') || isSymbol(*before, '+')))
        before = neighbour(size_t(before - m_pieces.data()), -1);
    const Piece *after = neighbour(index, 1);
    return before && after && (isSymbol(*before, '(') || isSymbol(*before, ','))
        && (isSymbol(*after, ',') || isSymbol(*after, ')'));
}

// The statement's text from the last value taken up to p, then the
// placeholder text in place of p.
void ShapeBuilder::putPlaceholder(const Piece &p, QLatin1String placeholder)
{
    m_shape.text.append(m_sql.constData() + m_copied, p.start - m_copied);
    m_shape.text += placeholder;
    m_copied = p.start + p.size;
}

void ShapeBuilder::takeText(const Piece &p)
{
    const QStringView inner = text(p).mid(1, p.size - 2);
    QString value = inner.toString();
    if (inner.contains(QLatin1Char('\'')))
        value.replace(QLatin1String("''"), QLatin1String("'"));
    putPlaceholder(p, QLatin1String("?"));
    m_shape.values << value;
}

bool ShapeBuilder::takeNumber(const Piece &p)
{
    bool ok = false;
    const qlonglong value = text(p).toLongLong(&ok);
    if (!ok)
        return false;
    putPlaceholder(p, QLatin1String("?"));
    m_shape.values << value;
    return true;
}

std::optional<StatementShape> ShapeBuilder::build()
{
    const Piece *lead = neighbour(size_t(-1), 1);
    if (!lead)
        return std::nullopt;
    const bool select = isWord(*lead, QLatin1String("SELECT"));
    const bool insert = isWord(*lead, QLatin1String("INSERT"));
    if (!select && !insert && !isWord(*lead, QLatin1String("UPDATE")) && !isWord(*lead, QLatin1String("DELETE")))
        return std::nullopt;
    bool numbersStay = false;
    bool allStay = false;
    for (const Piece &p : m_pieces) {
        if (isWord(p, QLatin1String("ORDER")) || isWord(p, QLatin1String("GROUP")))
            numbersStay = true;
        if (isWord(p, QLatin1String("UNION")) || isWord(p, QLatin1String("INTERSECT")) || isWord(p, QLatin1String("EXCEPT")))
            allStay = true;
    }
    bool inResultColumns = select;
    int depth = 0;
    int valuesDepth = -1;  // the depth of the VALUES keyword of an INSERT
    m_shape.text.reserve(m_sql.size());
    m_shape.values.reserve(m_pieces.size() / 2);
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const Piece &p = m_pieces[i];
        if (isSymbol(p, '('))
            ++depth;
        else if (isSymbol(p, ')'))
            --depth;
        else if (depth == 0 && inResultColumns && isWord(p, QLatin1String("FROM")))
            inResultColumns = false;
        else if (insert && depth == 0 && valuesDepth < 0 && isWord(p, QLatin1String("VALUES")))
            valuesDepth = depth;
        const bool mayTake = !allStay && !inResultColumns;
        if (p.kind == Token::Text && mayTake && !text(p).contains(QChar(0))) {
            takeText(p);
            continue;
        }
        if (p.kind == Token::Number && mayTake && !numbersStay && takeNumber(p))
            continue;
        if (p.kind == Token::Decimal && mayTake && !numbersStay && valuesDepth >= 0 && depth == valuesDepth + 1
            && isWholeValue(i)) {
            putPlaceholder(p, QLatin1String("CAST(? AS REAL)"));
            m_shape.values << text(p).toString();
            continue;
        }
    }
    m_shape.text.append(m_sql.constData() + m_copied, m_sql.size() - m_copied);
    return m_shape;
}

} // namespace

std::optional<StatementShape> statementShape(const QString &sql)
{
    std::vector<Piece> cut = pieces(sql);
    if (cut.empty())
        return std::nullopt;
    return ShapeBuilder(sql, std::move(cut)).build();
}
