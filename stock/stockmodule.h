#pragma once
// The stock module: the number of the internal "PE" voucher, the components
// of a composed article and the lots a quantity is drawn from. LimpiaTexto
// cleans the codes those lists hold.

#include <QList>
#include <QString>

class Numbering;
class SharedServices;

// One entry of a component list (component, its unit, quantity per unit of
// the composed article) or of a lot list (lot, blank, quantity drawn from it).
// Code and unit are fixed-width: cut, or blank-filled on the right.
struct ArticuloCantidad
{
    static constexpr int CodeWidth = 25;
    static constexpr int UnitWidth = 4;

    QString code = QString(CodeWidth, QLatin1Char(' '));
    QString unit = QString(UnitWidth, QLatin1Char(' '));
    double quantity = 0;

    void setCode(const QString &text) { code = fixedWidth(text, CodeWidth); }
    void setUnit(const QString &text) { unit = fixedWidth(text, UnitWidth); }
    static QString fixedWidth(const QString &text, int width) { return text.left(width).leftJustified(width); }
};

class Stock
{
public:
    Stock(SharedServices &services, Numbering &numbering);

    // The next number of voucher type tc as branch + 8-digit number + letter
    // (13 characters for a numbered book). The numbering may replace branch
    // and letter; the caller gets them back. A number that stock movements of
    // the type already use is moved past the highest one of that branch and
    // letter. Errors go to the operator under "AsignarNumeroComprobante";
    // giving up returns an empty text.
    QString AsignarNumeroComprobante(const QString &tc, QString &branch, QString &letter);

    // Whether article has rows in V_MA_INSUMOS. components becomes one entry
    // per row (unless checkOnly) followed by a blank entry. Errors go to the
    // operator under "IdArticuloTieneInsumos"; giving up returns false with
    // the list built so far.
    bool IdArticuloTieneInsumos(const QString &article, QList<ArticuloCantidad> &components, bool checkOnly);

    // Whether article has lots with stock (CANTIDAD above 0) in deposit, an
    // SQL literal such as '   1'. lots receives the quantities drawn for
    // needed, in lot-number order, and a blank entry for the part no lot
    // covers; without lots, entry 0 holds the whole need. Errors go to the
    // operator under "ArticuloTieneLotes"; giving up returns false with the
    // list built so far.
    bool ArticuloTieneLotes(const QString &article, const QString &deposit, QList<ArticuloCantidad> &lots,
                            double needed);

private:
    // The highest number of tc, branch and letter among the stock movements, plus one.
    QString nextUnusedNumber(const QString &tc, const QString &branch, const QString &letter);

    SharedServices &m_services;
    Numbering &m_numbering;
};

// The text without NUL, character 255 and line feeds, and without leading or
// trailing blanks.
QString LimpiaTexto(const QString &text);
