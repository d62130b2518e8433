#include "services/sqlscript.h"

#include <QSqlError>
#include <QSqlQuery>

QStringList splitSqlScript(const QString &script)
{
    QStringList statements;
    QString current;
    bool inQuote = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!inQuote && c == QLatin1Char('-') && i + 1 < script.size() && script.at(i + 1) == QLatin1Char('-')) {
            while (i < script.size() && script.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\''))
            inQuote = !inQuote;
        if (!inQuote && c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

bool runSqlScript(QSqlDatabase db, const QString &script, QString *error)
{
    db.transaction();
    QSqlQuery query(db);
    for (const QString &statement : splitSqlScript(script)) {
        if (!query.exec(statement)) {
            if (error)
                *error = query.lastError().text() + QStringLiteral(" | ") + statement.left(300);
            db.rollback();
            return false;
        }
    }
    return db.commit();
}
