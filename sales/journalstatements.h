#pragma once
// The statements of a sales journal entry: the two checks that recognise an
// entry already in Orva, the journal line itself, and the creation of a
// customer first met in a sale. Every text is placed with its quotes doubled.

#include "sales/voucheridentity.h"
#include "services/currency.h"

#include <QString>

// The values fixed once per entry and repeated on every line.
struct JournalHeader
{
    QString date;        // FECHA and FECHASUBDIARIO
    QString month;       // MES_OPERATIVO, 1 to 12 without a leading zero
    QString entryNumber; // [NUMERO ASIENTO]: the document id's exact digits
    QString period;      // "PERIODO" as configured
    QString tipoReg = QStringLiteral("VTAS");
    VoucherIdentity voucher;
    Currency total; // CABIMPORTE and LIVA_TOTAL
    QString shift;  // IDCAJAS
    QString customerAccount;
    QString customerName;
    QString customerTaxId;
};

// The IVA-book values of a line. Only an entry's first line carries real
// ones; the others carry zeros and the text "Null", written as empty texts.
struct BookValues
{
    Currency nonTaxed;
    Currency netTaxed;
    Currency vat;
    Currency rate;
    QString condition = QStringLiteral("Null"); // CABCONDIVA
    QString type = QStringLiteral("Null");      // LIVA_TIPO
};

struct JournalLine
{
    QString account;
    QString side; // "D" debit, "H" credit
    Currency amount;
    int secuencia = 0;
    BookValues book;
};

// The entry is in Orva already when a line of its voucher carries its entry number.
QString voucherCheckStatement(const JournalHeader &header);

// The entry is in Orva already when its customer line (SECUENCIA 1) is there
// for the same month, entry number, period and voucher.
QString customerLineCheckStatement(const JournalHeader &header);

// The insert of one MV_ASIENTOS line (31 columns).
QString journalLineStatement(const JournalHeader &header, const JournalLine &line);

// The details insert of a customer account first met in a sale (the account
// itself is inserted as the customer step does: accountInsertStatement).
QString customerDetailsInsert(const QString &account);
