#pragma once
// The voucher grid: the article grid of a voucher as an in-memory table of
// text cells (row 0 the column titles), with the column widths and
// alignments a screen would show. The stock engine reads the data rows; the
// widths only matter where the grid is shown.

#include "services/errors.h"

#include <QList>
#include <QString>
#include <QStringList>

// Column widths are measured in the unit of a text-width measure.
class TextMetrics
{
public:
    virtual ~TextMetrics() = default;
    // The width text takes on screen.
    virtual int textWidth(const QString &text) const = 0;
};

// A measure without a screen: every character has the same average width.
class FixedTextMetrics : public TextMetrics
{
public:
    explicit FixedTextMetrics(int characterWidth = 120) : m_characterWidth(characterWidth) {}
    int textWidth(const QString &text) const override { return int(text.size()) * m_characterWidth; }

private:
    int m_characterWidth;
};

// The text box that edits a grid cell; only its visibility matters here.
struct CellEditor
{
    bool Visible = true;
};

enum class ColumnAlignment { General, Left };

class VoucherGrid
{
public:
    static constexpr int VoucherColumns = 38;

    VoucherGrid() = default;

    int Rows() const { return int(m_cells.size()); }
    // Keeps the rows that remain; added rows are empty.
    void setRows(int rows);
    int Cols() const { return m_cols; }
    // Keeps the columns that remain; added columns are empty, width 0.
    void setCols(int cols);

    // Empties every cell, titles included; rows and columns stay.
    void Clear();
    void Refresh() {}

    // A cell's text. A row or column outside the grid raises the
    // "subscript out of range" run-time error.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // The title of a column (cell col of row 0).
    QString TextArray(int col) const { return TextMatrix(0, col); }
    void setTextArray(int col, const QString &text) { setTextMatrix(0, col, text); }

    int ColWidth(int col) const;
    void setColWidth(int col, int width);
    ColumnAlignment ColAlignment(int col) const;
    void setColAlignment(int col, ColumnAlignment alignment);

private:
    void check(int row, int col) const;
    void checkCol(int col) const;

    QList<QStringList> m_cells;
    QList<int> m_widths;
    QList<ColumnAlignment> m_alignments;
    int m_cols = 0;
};
