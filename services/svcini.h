#pragma once
// SvcIni, SvcEnv, SvcApp: the small services of the shared library.

#include <QString>

class SvcIni
{
public:
    // The program folder, where the INI files live.
    QString folder;

    // The value of key in section of the INI file; the default when the
    // file, the section or the key is missing.
    QString ReadValue(const QString &file, const QString &section, const QString &key,
                      const QString &defaultValue) const;
};

class SvcApp
{
public:
    void SetFolder(const QString &folder) { m_folder = folder; }
    QString folder() const { return m_folder; }

private:
    QString m_folder;
};
