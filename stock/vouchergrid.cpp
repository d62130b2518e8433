#include "stock/vouchergrid.h"

namespace {

[[noreturn]] void outOfRange(int row, int col)
{
    throw RunTimeError(RunError{
        381, QStringLiteral("Subíndice fuera del intervalo (fila %1, columna %2)").arg(row).arg(col), {}, {}, {}});
}

} // namespace

void VoucherGrid::setRows(int rows)
{
    rows = qMax(rows, 0);
    while (m_cells.size() > rows)
        m_cells.removeLast();
    while (m_cells.size() < rows)
        m_cells.append(QStringList(m_cols, QString()));
}

void VoucherGrid::setCols(int cols)
{
    m_cols = qMax(cols, 0);
    for (QStringList &row : m_cells) {
        while (row.size() > m_cols)
            row.removeLast();
        while (row.size() < m_cols)
            row.append(QString());
    }
    m_widths.resize(m_cols);
    m_alignments.resize(m_cols);
}

void VoucherGrid::Clear()
{
    for (QStringList &row : m_cells)
        row.fill(QString());
}

void VoucherGrid::check(int row, int col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= m_cols)
        outOfRange(row, col);
}

void VoucherGrid::checkCol(int col) const
{
    if (col < 0 || col >= m_cols)
        outOfRange(0, col);
}

QString VoucherGrid::TextMatrix(int row, int col) const
{
    check(row, col);
    return m_cells.at(row).at(col);
}

void VoucherGrid::setTextMatrix(int row, int col, const QString &text)
{
    check(row, col);
    m_cells[row][col] = text;
}

int VoucherGrid::ColWidth(int col) const
{
    checkCol(col);
    return m_widths.at(col);
}

void VoucherGrid::setColWidth(int col, int width)
{
    checkCol(col);
    m_widths[col] = width;
}

ColumnAlignment VoucherGrid::ColAlignment(int col) const
{
    checkCol(col);
    return m_alignments.at(col);
}

void VoucherGrid::setColAlignment(int col, ColumnAlignment alignment)
{
    checkCol(col);
    m_alignments[col] = alignment;
}
