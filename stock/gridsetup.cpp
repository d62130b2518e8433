// The layout of a voucher's article grid: titles, widths and alignments of
// its 38 columns for a voucher type and the configuration.

#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
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
    {19, "AuxTipoArticulo"},
    {20, "AuxRubroArticulo"},
    {21, "AuxListaConIVA"},
    {22, "AuxPrecioConIVA"},
    {23, "AuxCantidadInsumo"},
    {24, "AuxImporteDescuentoArticulo"},
    {25, "AuxTipoCoeficiente"},
    {26, "AuxCoeficiente"},
    {27, "AuxStockDisponible"},
    {28, "AuxStockMinimo"},
    {29, "AuxTasaIVA"},
    {30, "AuxCpteOrigen"},
    {31, "AuxIdCpteOrigen"},
    {32, "Lote_Origen"},
    {33, "Lote_Aduana"},
    {34, ""},
    {35, ""},
    {37, "AuxCodigoPercepcion"},
};

// The system (VENTAS, STOCK ...) of a voucher type; "" when V_TA_CPTE does not hold it.
QString voucherSystem(SharedServices &services, const QString &tc)
{
    const QString sql =
        Statement(QStringLiteral("SELECT SISTEMA FROM V_TA_CPTE WHERE CODIGO = {}")).text(voucherCode(tc));
    RunCache &held = services.session.connection().runCache();
    if (const QVariant *system = held.find(VoucherDefinitions, sql))
        return system->toString();
    const RowRead rs = RowRead::of(services.session, sql);
    if (rs.failed())
        return QString();
    const QString system =
        rs.found() ? SvcTools::FieldText(rs.row().value(QStringLiteral("Sistema"))).trimmed() : QString();
    held.store(VoucherDefinitions, sql, system);
    return system;
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

// Lays out the article grid, in the order of its steps: each step sets the
// columns it names and may adjust the widths set before it.
class GridLayout
{
public:
    GridLayout(VoucherGrid &grid, const TextMetrics &metrics, const GridFlags &flags, Session &session)
        : g(grid), m(metrics), f(flags), s(session)
    {}

    void layOut(const QString &articleTitle)
    {
        reset();
        articleAndDescription(articleTitle);
        priceList();
        unitAndQuantity();
        deposit();
        discount();
        amounts();
        exemptionAndTaxes();
        lotsAndSerials();
        stockSystemWidths();
        auxiliaryColumns();
        g.Refresh();
    }

private:
    int x(int n) const { return m.textWidth(QString(n, QLatin1Char('X'))); }
    int width(const QString &text) const { return m.textWidth(text); }
    bool configured(const char *key) const { return isSi(s.Cfg(QString::fromLatin1(key))); }
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
    // Gives a shown column room taken from the article and description.
    void makeRoom(int col, int w)
    {
        widen(0, -x(1));
        widen(1, -x(3));
        g.setColWidth(col, w);
    }

    void reset()
    {
        g.Clear();
        g.setRows(2);
        g.setCols(VoucherGrid::VoucherColumns);
    }

    void articleAndDescription(const QString &title)
    {
        column(0, title, x(15));
        g.setColAlignment(0, ColumnAlignment::Left);
        column(1, QStringLiteral("Descripción"), x(29));
        g.setColAlignment(1, ColumnAlignment::Left);
    }

    void priceList()
    {
        column(2, QStringLiteral("Lista"), 0);
        if (f.salesSystem && configured("V_ListaPreciosPorItemArticulos"))
            makeRoom(2, x(4));
    }

    void unitAndQuantity()
    {
        column(3, QStringLiteral("UD"), x(4));
        column(5, QStringLiteral("Cant."), x(6));
        column(6, QString(), 0);
        column(7, QString(), 0);
        if (configured("ConfirmaUDEquiv")) {
            column(6, QStringLiteral("UDEquiv"), x(7));
            column(7, QStringLiteral("Cant. Equiv"), x(9));
        }
    }

    void deposit() { column(4, QStringLiteral("Dep."), f.showDeposit ? x(4) : 0); }

    void discount()
    {
        if (f.stockSystem) {
            column(8, QString(), 0);
            return;
        }
        column(8, QStringLiteral("% Dto."), 0);
        if (configured("V_DescuentoPorArticulos"))
            makeRoom(8, x(5));
    }

    void amounts()
    {
        column(9, QStringLiteral("Importe"), x(11));
        column(10, QStringLiteral("Total"), 0);
        if (f.stockSystem)
            column(13, QString(), 0);
        else
            column(13, QStringLiteral("TOTAL"), x(10));
        if (f.hideAmounts) {
            fold(9, 1);
            fold(10, 1);
            fold(13, 1);
        }
    }

    void exemptionAndTaxes()
    {
        column(11, QStringLiteral("AuxEsExento"), 0);
        column(12, QStringLiteral("AuxPrecioSinIVA"), 0);
        if (f.stockSystem)
            column(36, QString(), 0);
        else
            column(36, QStringLiteral("Impuestos"), x(10));
        column(14, QStringLiteral("AuxPideSerie"), 0);
        column(15, QStringLiteral("AuxPidelote"), 0);
    }

    void lotsAndSerials()
    {
        if (f.lotAndSerialColumns) {
            column(17, QStringLiteral("Nro. Serie"), width(QStringLiteral("Nro. de Serie")));
            column(16, QStringLiteral("Nro. Lote"), width(QStringLiteral("Nro. de Lote")));
        } else {
            column(17, QStringLiteral("AuxNroSerie"), 0);
            column(16, QStringLiteral("AuxNroLote"), 0);
        }
        column(18, QStringLiteral("AuxRestoPorAplicar"), 0);
    }

    // A stock voucher shows no amounts: their room goes to the description,
    // the unit and the quantity.
    void stockSystemWidths()
    {
        if (!f.stockSystem)
            return;
        widen(1, g.ColWidth(9) - 480);
        g.setColWidth(9, 0);
        fold(10, 1);
        widen(3, width(QStringLiteral("XXXX")));
        widen(5, width(QStringLiteral("XXXXXXX")));
    }

    void auxiliaryColumns()
    {
        for (const auto &[col, auxTitle] : AuxiliaryTitles)
            column(col, QString::fromLatin1(auxTitle), 0);
    }

    VoucherGrid &g;
    const TextMetrics &m;
    const GridFlags &f;
    Session &s;
};

} // namespace

void ClsCmnCptes::InicializaGrids(VoucherGrid &MSFlexGrid2, const QString &tc, CellEditor *txtEdit2,
                                  const TextMetrics *Obj)
{
    const QString system = voucherSystem(m_services, tc);
    const GridFlags flags = gridFlags(m_session, system, tc);
    const QString title = articleTitle(m_session);
    const FixedTextMetrics fallback;
    GridLayout(MSFlexGrid2, Obj ? *Obj : fallback, flags, m_session).layOut(title);
    if (txtEdit2)
        txtEdit2->Visible = false;
}
