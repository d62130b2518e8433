#include "numbering/numbering.h"

// Placeholder until the numbering operations land.
Numbering::Numbering(SharedServices &services, ConfigStore &config) : m_services(services), m_config(config) {}
void Numbering::Obtener_Nro_Comprobante(const QString &, QString &, QString &, QString &, bool &, bool, const QString &) {}
void Numbering::Obtener_Nro_Comprobante_Contable(const QString &, QString &, QString &, QString &, bool &, const QString &) {}
bool Numbering::ExisteAsientoComprobante(const QString &, const QString &, const QString &, const QString &) { return false; }
QString Numbering::ObtieneEquivalenciaTC(const QString &) { return {}; }
bool Numbering::ValidaNumeracion(const QString &, const QString &, const QString &, const QString &, QString &, const QString &) { return false; }
void Numbering::ConsultaComprobante(const QString &, const QString &, const QString &, const QString &, const QString &, bool, QString &) {}
