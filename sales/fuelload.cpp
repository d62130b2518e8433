#include "sales/fuelload.h"
#include "customers/accountcode.h"
#include "services/errors.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

#include <QTime>

namespace {

QTime readTime(const QString &text)
{
    for (const char *format : {"HH:mm:ss", "H:mm:ss", "HH:mm:ss.zzz", "HH:mm", "H:mm"}) {
        const QTime t = QTime::fromString(text, QString::fromLatin1(format));
        if (t.isValid())
            return t;
    }
    return {};
}

} // namespace

GncArticle LeeArticuloGnc(RunContext &context)
{
    GncArticle gnc;
    gnc.code = SvcTools::PadLeft(context.Cfg(QStringLiteral("KTZ_CODIGOGNC")), 25);
    SvcSession &orva = context.svc.session;
    gnc.description = orva.LookupValue(QStringLiteral("V_MA_ARTICULOS"), gnc.code, QStringLiteral("DESCRIPCION"),
                                       QStringLiteral("IDARTICULO"), 8, QString());
    gnc.unit = orva.LookupValue(QStringLiteral("V_MA_ARTICULOS"), gnc.code, QStringLiteral("IDUNIDAD"),
                                QStringLiteral("IDARTICULO"), 8, QString());
    return gnc;
}

LoadAmounts loadAmounts(Currency total, double volume, double fixedTax, double ivaRate)
{
    LoadAmounts parts;
    parts.nonTaxed = Currency::fromDouble(volume * fixedTax);
    Currency net = total - parts.nonTaxed;
    const double divisor = ivaRate / 100 + 1;
    if (divisor == 0)
        throw RunTimeError(
            RunError{11, QStringLiteral("División por cero: tasa de IVA %1").arg(plainNumber(ivaRate)), {}, {}, {}});
    net = Currency::fromDouble(net.toDouble() / divisor);
    parts.vat = Currency::fromDouble(net.toDouble() * ivaRate / 100);
    parts.netTaxed = total - (parts.nonTaxed + parts.vat);
    return parts;
}

QString ObtieneTurnoCarga(const QVariant &hora)
{
    const QString text = dateText(SvcTools::FieldValue(hora)).trimmed();
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    QString timePart;
    if (blank >= 0)
        timePart = text.mid(blank).trimmed();
    else if (readTime(text).isValid())
        timePart = text; // a bare time of day
    // A date without a time part is a load at midnight.
    const QTime time = timePart.isEmpty() ? QTime(0, 0) : readTime(timePart);
    if (!time.isValid())
        throw RunTimeError(RunError{ErrorNumber::TypeMismatch,
                                    QStringLiteral("No coinciden los tipos: Hora no es una hora ('%1')").arg(text),
                                    {},
                                    {},
                                    {}});
    if (time >= QTime(6, 0) && time < QTime(14, 0))
        return QStringLiteral("   5");
    if (time >= QTime(14, 0) && time < QTime(22, 0))
        return QStringLiteral("   6");
    return QStringLiteral("   7");
}

SalesDocument LeeCarga(const Recordset &load)
{
    SalesDocument doc;
    doc.date = dateText(SvcTools::FieldValue(load.value(QStringLiteral("F_COMP"))));
    doc.branch = columnText(load, QStringLiteral("T_TIPOCARGA"));
    doc.number = columnText(load, QStringLiteral("N_COMP"));
    doc.letter = QStringLiteral("B");
    doc.total = amountColumn(load, QStringLiteral("IMP_CARGA"));
    doc.volume = doubleOf(load.value(QStringLiteral("VOL_CARGA")), QStringLiteral("VOL_CARGA"));
    const double fixedTax = doubleOf(load.value(QStringLiteral("N_ITC")), QStringLiteral("N_ITC"));
    const double ivaRate = doubleOf(load.value(QStringLiteral("N_IVA")), QStringLiteral("N_IVA"));
    const LoadAmounts parts = loadAmounts(doc.total, doc.volume, fixedTax, ivaRate);
    doc.nonTaxed = parts.nonTaxed;
    doc.netTaxed = parts.netTaxed;
    doc.vat = parts.vat;
    doc.vatRate = amountColumn(load, QStringLiteral("N_IVA"));
    doc.customerNumber = lastFourCharacters(columnText(load, QStringLiteral("N_CLIENTE")));
    doc.customerName = QStringLiteral("CONSUMIDOR FINAL");
    doc.customerTaxId = QStringLiteral("0");
    doc.shift = ObtieneTurnoCarga(load.value(QStringLiteral("Hora")));
    doc.isInvoice = false;
    doc.unitPrice = load.value(QStringLiteral("N_PV"));
    doc.id = documentId(load.value(QStringLiteral("id")), QStringLiteral("id"));
    return doc;
}

QString loadRecord(const Recordset &load)
{
    return QStringLiteral("carga %1 (tipo %2, número %3)")
        .arg(recordColumnText(load, QStringLiteral("id")), recordColumnText(load, QStringLiteral("T_TIPOCARGA")),
             recordColumnText(load, QStringLiteral("N_COMP")));
}
