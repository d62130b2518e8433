// The layout of a voucher's article grid: titles, widths and alignments of
// its 38 columns for a voucher type and the configuration.

#include "services/sharedservices.h"
#include "services/svctools.h"
#include "session/session.h"
#include "stock/clscmncptes.h"
#include "stock/stockvalues.h"

namespace {

// What the voucher type and the configuration decide about the layout.
struct GridFlags
{
    bool salesSystem = false;
    bool stockSystem = false;
    bool showDeposit = false;
    bool hideAmounts = false;
    bool lotAndSerialColumns = false;
};

// The hidden columns the engine keeps its per-row values in.
const QList<QPair<int, const char *>> AuxiliaryTitles = {
    {19, "AuxTipoArticulo"},     {20, "AuxRubroArticulo"},  {21, "AuxListaConIVA"},
    {22, "AuxPrecioConIVA"},     {23, "AuxCantidadInsumo"}, {24, "AuxImporteDescuentoArticulo"},
    {25, "AuxTipoCoeficiente"},  {26, "AuxCoeficiente"},    {27, "AuxStockDisponible"},
    {28, "AuxStockMinimo"},      {29, "AuxTasaIVA"},        {30, "AuxCpteOrigen"},
    {31, "AuxIdCpteOrigen"},     {32, "Lote_Origen"},       {33, "Lote_Aduana"},
    {34, ""},                    {35, ""},                  {37, "AuxCodigoPercepcion"},
};

// The system (VENTAS, STOCK ...) of a voucher type; "" when V_TA_CPTE does not hold it.
QString voucherSystem(SharedServices &services, const QString &tc)
{
    Recordset rs = services.session.OpenRecordset(QStringLiteral("SELECT SISTEMA FROM V_TA_CPTE WHERE CODIGO = '")
                                                  + sqlText(voucherCode(tc)) + QLatin1Char('\''));
    if (!rs.isOpen() || rs.isEmpty())
        return QString();
    return SvcTools::FieldText(rs.value(QStringLiteral("Sistema"))).trimmed();
}

GridFlags gridFlags(Session &session, const QString &system, const QString &tc)
{
    GridFlags flags;
    flags.salesSystem = sameText(system, QStringLiteral("VENTAS"));
    flags.stockSystem = sameText(system, QStringLiteral("STOCK"));
    flags.showDeposit = isSi(session.Cfg(QStringLiteral("PideDepositoEnCptes")));
    if (sameText(tc, QStringLiteral("OP")) || sameText(tc, QStringLiteral("OC"))) {
        flags.hideAmounts = true;
    } else if (sameText(tc, QStringLiteral("OT"))) {
        flags.showDeposit = false;
        flags.hideAmounts = isSi(session.Cfg(QStringLiteral("NoMostrarImportesEnOT")));
    } else if (sameText(tc, QStringLiteral("PR"))) {
        flags.showDeposit = false;
    }
    flags.lotAndSerialColumns = sameText(tc, QStringLiteral("DVPE"));
    return flags;
}

QString articleTitle(Session &session)
{
    const QString configured = session.Cfg(QStringLiteral("NombreArticulos"));
    return properCase(configured.trimmed().isEmpty() ? QStringLiteral("Código") : configured);
}

class GridLayout
{
public:
    GridLayout(VoucherGrid &grid, const TextMetrics &metrics) : g(grid), m(metrics) {}

    int x(int n) const { return m.textWidth(QString(n, QLatin1Char('X'))); }
    int width(const QString &text) const { return m.textWidth(text); }
    void column(int col, const QString &title, int w)
    {
        g.setTextArray(col, title);
        g.setColWidth(col, w);
    }
    void widen(int col, int by) { g.setColWidth(col, g.ColWidth(col) + by); }
    // Moves the width of column from into column into; from is hidden.
    void fold(int from, int into)
    {
        widen(into, g.ColWidth(from));
        g.setColWidth(from, 0);
    }

    VoucherGrid &g;
    const TextMetrics &m;
};

void layOutArticleGrid(GridLayout &l, const GridFlags &f, Session &session, const QString &title)
{
    l.g.Clear();
    l.g.setRows(2);
    l.g.setCols(VoucherGrid::VoucherColumns);

    l.column(0, title, l.x(15));
    l.g.setColAlignment(0, ColumnAlignment::Left);
    l.column(1, QStringLiteral("Descripción"), l.x(29));
    l.g.setColAlignment(1, ColumnAlignment::Left);

    l.column(2, QStringLiteral("Lista"), 0);
    if (f.salesSystem && isSi(session.Cfg(QStringLiteral("V_ListaPreciosPorItemArticulos")))) {
        l.widen(0, -l.x(1));
        l.widen(1, -l.x(3));
        l.g.setColWidth(2, l.x(4));
    }

    l.column(3, QStringLiteral("UD"), l.x(4));
    l.column(5, QStringLiteral("Cant."), l.x(6));
    l.column(6, QString(), 0);
    l.column(7, QString(), 0);
    if (isSi(session.Cfg(QStringLiteral("ConfirmaUDEquiv")))) {
        l.column(6, QStringLiteral("UDEquiv"), l.x(7));
        l.column(7, QStringLiteral("Cant. Equiv"), l.x(9));
    }

    l.column(4, QStringLiteral("Dep."), f.showDeposit ? l.x(4) : 0);

    if (f.stockSystem) {
        l.column(8, QString(), 0);
    } else {
        l.column(8, QStringLiteral("% Dto."), 0);
        if (isSi(session.Cfg(QStringLiteral("V_DescuentoPorArticulos")))) {
            l.widen(0, -l.x(1));
            l.widen(1, -l.x(3));
            l.g.setColWidth(8, l.x(5));
        }
    }

    l.column(9, QStringLiteral("Importe"), l.x(11));
    l.column(10, QStringLiteral("Total"), 0);
    if (f.stockSystem)
        l.column(13, QString(), 0);
    else
        l.column(13, QStringLiteral("TOTAL"), l.x(10));

    if (f.hideAmounts) {
        l.fold(9, 1);
        l.fold(10, 1);
        l.fold(13, 1);
    }

    l.column(11, QStringLiteral("AuxEsExento"), 0);
    l.column(12, QStringLiteral("AuxPrecioSinIVA"), 0);
    if (f.stockSystem)
        l.column(36, QString(), 0);
    else
        l.column(36, QStringLiteral("Impuestos"), l.x(10));
    l.column(14, QStringLiteral("AuxPideSerie"), 0);
    l.column(15, QStringLiteral("AuxPidelote"), 0);

    if (f.lotAndSerialColumns) {
        l.column(17, QStringLiteral("Nro. Serie"), l.width(QStringLiteral("Nro. de Serie")));
        l.column(16, QStringLiteral("Nro. Lote"), l.width(QStringLiteral("Nro. de Lote")));
    } else {
        l.column(17, QStringLiteral("AuxNroSerie"), 0);
        l.column(16, QStringLiteral("AuxNroLote"), 0);
    }
    l.column(18, QStringLiteral("AuxRestoPorAplicar"), 0);

    if (f.stockSystem) {
        l.widen(1, l.g.ColWidth(9) - 480);
        l.g.setColWidth(9, 0);
        l.fold(10, 1);
        l.widen(3, l.width(QStringLiteral("XXXX")));
        l.widen(5, l.width(QStringLiteral("XXXXXXX")));
    }

    for (const auto &[col, auxTitle] : AuxiliaryTitles)
        l.column(col, QString::fromLatin1(auxTitle), 0);
    l.g.Refresh();
}

} // namespace

void ClsCmnCptes::InicializaGrids(VoucherGrid *, VoucherGrid *MSFlexGrid2, VoucherGrid *, CellEditor *,
                                  CellEditor *txtEdit2, CellEditor *, const TextMetrics *Obj, const QString &tc,
                                  VoucherGrid *)
{
    // The tasks, other-concepts and item-count grids are never laid out here.
    const QString system = voucherSystem(m_services, tc);
    const GridFlags flags = gridFlags(m_session, system, tc);
    const QString title = articleTitle(m_session);
    if (!MSFlexGrid2)
        return;
    const FixedTextMetrics fallback;
    GridLayout layout(*MSFlexGrid2, Obj ? *Obj : fallback);
    layOutArticleGrid(layout, flags, m_session, title);
    if (txtEdit2)
        txtEdit2->Visible = false;
}
