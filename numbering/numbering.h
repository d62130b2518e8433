#pragma once
// Voucher numbering: the number books (talonarios) of V_TA_CPTE, the next
// number of a voucher type, the range check of a number and the update of a
// book's counter. TalonarioActual is the state the operations share.

#include <QString>

class SharedServices;
class ConfigStore;

class Numbering
{
public:
    Numbering(SharedServices &services, ConfigStore &config);

    // The book chosen by the last book choice or validation.
    qint16 TalonarioActual = 0;

    // The next voucher of type tc: branch ("0001"), number ("00000001") and
    // letter of the first book with numbers left (see the _Contable variant);
    // with checkJournal, a number that already has a journal entry is moved
    // past the highest journal number of that branch and letter. Errors go to
    // the operator under "Obtener_Nro_Comprobante"; giving up returns with the
    // values obtained so far.
    void Obtener_Nro_Comprobante(const QString &tc, QString &branch, QString &number, QString &letter, bool &modifiable,
                                 bool checkJournal, const QString &unused = {});

    // Walks the books of tc in TALONARIO order and proposes branch, number and
    // letter from the first book that has numbers left (and has not expired
    // by dateText, when one is given); sets TalonarioActual. No book at all:
    // "1", "1", "X". Every book used up: the operator is told, and branch and
    // number keep their values. Errors go to the operator under
    // "Obtener_Nro_Comprobante_Contable"; giving up returns normally.
    void Obtener_Nro_Comprobante_Contable(const QString &tc, QString &branch, QString &number, QString &letter,
                                          bool &modifiable, const QString &dateText);

    // Whether MV_ASIENTOS holds a journal entry of this voucher. No handler of
    // its own: errors go to the caller's.
    bool ExisteAsientoComprobante(const QString &tc, const QString &branch, const QString &number,
                                  const QString &letter);

    // The configured equivalent of a voucher type ("EQU_" + type), the type
    // itself for the types that are their own equivalent, "" otherwise.
    QString ObtieneEquivalenciaTC(const QString &tc);

    // Checks number against the book of tc, branch and letter: true when it is
    // valid (message then empty); false with the operator's message otherwise.
    // The last book of the branch whose range holds the number becomes
    // TalonarioActual. No handler of its own: errors go to the caller's.
    bool ValidaNumeracion(const QString &tc, const QString &branch, const QString &number, const QString &letter,
                          QString &message, const QString &dateText);

    // Moves the counter of the book holding number (type tc, system, branch,
    // letter) forward to number. With statementOnly nothing is written and
    // statement receives the UPDATE that would do it. A counter moves only
    // when this call's validation found a book holding the number and the
    // number is above the stored counter; otherwise nothing moves, statement
    // stays empty and the log says why. A type and system without a book is
    // told to the operator. Errors go to the operator under
    // "ConsultaComprobante"; giving up returns normally.
    void ConsultaComprobante(const QString &tc, const QString &system, const QString &branch, const QString &number,
                             const QString &letter, bool statementOnly, QString &statement);

private:
    // ValidaNumeracion, also telling whether this call found a book holding the number.
    bool validate(const QString &tc, const QString &branch, const QString &number, const QString &letter,
                  QString &message, const QString &dateText, bool &bookFound);
    // Moves number past the highest journal number of the voucher's branch and letter.
    void moveNumberPastJournal(const QString &tc, const QString &branch, const QString &letter, QString &number);

    SharedServices &m_services;
    ConfigStore &m_config;
};
