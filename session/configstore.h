#pragma once
// The configuration store: key/value rows of the Orva configuration table.
// Outside a run every call is one query; during a run (see
// services/runcache.h) each key is read once, and the tool's own writes to
// the table make the next read go to the table again.

#include <QString>

class SharedServices;

class ConfigStore
{
public:
    explicit ConfigStore(SharedServices &services) : m_services(services) {}

    // The configuration table; "TA_CONFIGURACION" is taken when still blank at
    // the first Cfg.
    QString tableName;

    // The value stored for key (trimmed before the lookup), not trimmed; " "
    // when the key has no row; "" when the read failed and was given up.
    QString Cfg(const QString &key);

    // Stores value (trimmed) under key (looked up untrimmed, stored trimmed)
    // with group "DATOS", creating the row when missing. When the row could
    // not be read (the operator went on past the error), nothing is written.
    // True when Orva holds the value afterwards (written, or already there).
    bool GrabaDfg(const QString &key, const QString &value);

private:
    SharedServices &m_services;
};
