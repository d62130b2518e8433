#include "services/sqlitestatement.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <sqlite3.h>

sqlite3 *SqliteStatement::handleOf(const QSqlDatabase &db)
{
    if (!db.isValid() || !db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}

bool SqliteStatement::prepare(sqlite3 *db, const QString &text)
{
    finalize();
    if (!db)
        return false;
    const void *tail = nullptr;
    sqlite3_stmt *stmt = nullptr;
    const int res = sqlite3_prepare16_v3(db, text.utf16(), int(text.size() * sizeof(QChar)), SQLITE_PREPARE_PERSISTENT,
                                         &stmt, &tail);
    if (res != SQLITE_OK || !stmt) {
        sqlite3_finalize(stmt);
        return false;
    }
    // A second statement after the first is left to Qt, which refuses it.
    const QChar *rest = static_cast<const QChar *>(tail);
    const QChar *end = reinterpret_cast<const QChar *>(text.utf16()) + text.size();
    for (; rest && rest < end; ++rest) {
        if (!rest->isSpace() && *rest != QLatin1Char(';')) {
            sqlite3_finalize(stmt);
            return false;
        }
    }
    m_db = db;
    m_stmt = stmt;
    return true;
}

void SqliteStatement::finalize()
{
    finish();
    if (m_stmt)
        sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    m_db = nullptr;
}

void SqliteStatement::bind(QVariantList values)
{
    m_values = std::move(values);
}

QSqlError SqliteStatement::engineError(const char *what, QSqlError::ErrorType type, int code) const
{
    // The texts and the error type Qt's SQLite driver gives the same failure.
    const auto *message = m_db ? static_cast<const QChar *>(sqlite3_errmsg16(m_db)) : nullptr;
    return QSqlError(QCoreApplication::translate("QSQLiteResult", what), message ? QString(message) : QString(), type,
                     QString::number(code));
}

namespace {

// Copies text into out as long as it is ASCII, followed by a NUL; the number
// of characters copied (text's size when all of it is ASCII).
qsizetype copyAscii(const QString &text, char *out)
{
    const QChar *in = text.constData();
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i < size && in[i].unicode() < 0x80; ++i)
        out[i] = char(in[i].unicode());
    out[i] = '\0';
    return i;
}

} // namespace

bool SqliteStatement::exec()
{
    m_error = QSqlError();
    m_onRow = false;
    m_firstRowPending = false;
    m_done = true;
    if (!m_stmt) {
        m_error = QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                            QCoreApplication::translate("QSQLiteResult", "No query"), QSqlError::ConnectionError);
        return false;
    }
    int res = sqlite3_reset(m_stmt);
    if (res != SQLITE_OK) {
        m_error = engineError("Unable to reset statement", QSqlError::StatementError, res);
        return false;
    }
    if (sqlite3_bind_parameter_count(m_stmt) != m_values.size()) {
        m_error = QSqlError(QCoreApplication::translate("QSQLiteResult", "Parameter count mismatch"), QString(),
                            QSqlError::StatementError);
        return false;
    }
    // Texts all in ASCII are bound as the same bytes in UTF-8 from one buffer
    // sized once for this run: the engine keeps UTF-8, and would otherwise
    // translate every UTF-16 text character by character into a copy.
    qsizetype textSize = 0;
    for (const QVariant &value : std::as_const(m_values))
        if (value.typeId() == QMetaType::QString)
            textSize += static_cast<const QString *>(value.constData())->size() + 1;
    if (qsizetype(m_asciiTexts.size()) < textSize)
        m_asciiTexts.resize(size_t(textSize));
    char *nextText = m_asciiTexts.data();
    for (int i = 0; i < m_values.size(); ++i) {
        const QVariant &value = m_values.at(i);
        const int at = i + 1;
        switch (value.typeId()) {
        case QMetaType::QString: {
            const QString *text = static_cast<const QString *>(value.constData());
            if (text->isNull()) {
                res = sqlite3_bind_null(m_stmt, at);
                break;
            }
            const qsizetype ascii = copyAscii(*text, nextText);
            if (ascii == text->size()) {
                res = sqlite3_bind_text(m_stmt, at, nextText, int(ascii), SQLITE_STATIC);
                nextText += ascii + 1;
                break;
            }
            res = sqlite3_bind_text16(m_stmt, at, text->utf16(), int(text->size() * sizeof(QChar)), SQLITE_STATIC);
            break;
        }
        case QMetaType::LongLong:
        case QMetaType::UInt:
            res = sqlite3_bind_int64(m_stmt, at, value.toLongLong());
            break;
        case QMetaType::Int:
        case QMetaType::Bool:
            res = sqlite3_bind_int(m_stmt, at, value.toInt());
            break;
        case QMetaType::Double:
            res = sqlite3_bind_double(m_stmt, at, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray *bytes = static_cast<const QByteArray *>(value.constData());
            res = bytes->isNull()
                ? sqlite3_bind_null(m_stmt, at)
                : sqlite3_bind_blob(m_stmt, at, bytes->constData(), int(bytes->size()), SQLITE_STATIC);
            break;
        }
        default:
            res = value.isNull() ? sqlite3_bind_null(m_stmt, at)
                                 : sqlite3_bind_text16(m_stmt, at, value.toString().utf16(), -1, SQLITE_TRANSIENT);
            break;
        }
        if (res != SQLITE_OK) {
            m_error = engineError("Unable to bind parameters", QSqlError::StatementError, res);
            return false;
        }
    }
    m_done = false;
    if (!step())
        return !m_error.isValid();
    m_firstRowPending = true;
    return true;
}

bool SqliteStatement::step()
{
    const int res = sqlite3_step(m_stmt);
    if (res == SQLITE_ROW) {
        m_onRow = true;
        return true;
    }
    m_onRow = false;
    m_done = true;
    if (res != SQLITE_DONE) {
        m_error = engineError("Unable to fetch row", QSqlError::ConnectionError, res);
        sqlite3_reset(m_stmt);
    }
    return false;
}

bool SqliteStatement::next()
{
    if (m_firstRowPending) {
        m_firstRowPending = false;
        return m_onRow;
    }
    if (m_done || !m_stmt)
        return false;
    return step();
}

void SqliteStatement::finish()
{
    if (m_stmt)
        sqlite3_reset(m_stmt);
    m_onRow = false;
    m_firstRowPending = false;
    m_done = true;
}

int SqliteStatement::columnCount() const
{
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

QString SqliteStatement::columnName(int column) const
{
    const auto *name = m_stmt ? static_cast<const QChar *>(sqlite3_column_name16(m_stmt, column)) : nullptr;
    return name ? QString(name) : QString();
}

const char *SqliteStatement::columnNameUtf8(int column) const
{
    return m_stmt ? sqlite3_column_name(m_stmt, column) : nullptr;
}

QVariant SqliteStatement::value(int column) const
{
    if (!m_onRow || column < 0 || column >= columnCount())
        return {};
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, column)),
                                   sqlite3_column_bytes(m_stmt, column)));
    default: {
        const auto *text = static_cast<const QChar *>(sqlite3_column_text16(m_stmt, column));
        return QVariant(QString(text, sqlite3_column_bytes16(m_stmt, column) / qsizetype(sizeof(QChar))));
    }
    }
}
