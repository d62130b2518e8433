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

    void Obtener_Nro_Comprobante(const QString &tc, QString &branch, QString &number, QString &letter,
                                 bool &modifiable, bool checkJournal, const QString &unused = {});
    void Obtener_Nro_Comprobante_Contable(const QString &tc, QString &branch, QString &number, QString &letter,
                                          bool &modifiable, const QString &dateText);
    bool ExisteAsientoComprobante(const QString &tc, const QString &branch, const QString &number,
                                  const QString &letter);
    QString ObtieneEquivalenciaTC(const QString &tc);
    bool ValidaNumeracion(const QString &tc, const QString &branch, const QString &number, const QString &letter,
                          QString &message, const QString &dateText);
    void ConsultaComprobante(const QString &tc, const QString &system, const QString &branch, const QString &number,
                             const QString &letter, bool statementOnly, QString &statement);

private:
    SharedServices &m_services;
    ConfigStore &m_config;
};
