#pragma once
// A statement prepared once on the SQLite engine of a Qt connection and run
// again with new values, read row by row straight from the engine. It stands
// for a QSqlQuery where the tool runs the same statement shape for every
// document: Qt's own query builds its bound values, column descriptions and
// row copies anew at every run, which cost more than the engine's work.
//
// What it gives back is what Qt's SQLite driver gives for the same row and
// the same numerical precision (LowPrecisionDouble): whole numbers as
// qlonglong, reals as double, texts as QString, blobs as QByteArray and Null
// as a null QString; a failure is the QSqlError the driver would make (its
// texts, the engine's extended code as native code). The tests compare both
// value for value.

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class SqliteStatement
{
public:
    SqliteStatement() = default;
    ~SqliteStatement() { finalize(); }
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // The engine's handle of an open Qt SQLite connection; nullptr for any
    // other driver.
    static sqlite3 *handleOf(const QSqlDatabase &db);

    // Prepares text, which must be one whole statement; false when the engine
    // does not take it (the caller then runs it through Qt, which reports it).
    bool prepare(sqlite3 *db, const QString &text);
    bool isPrepared() const { return m_stmt != nullptr; }
    // Lets the engine's statement go (before its connection closes).
    void finalize();

    // The values of the next run, in placeholder order: QString (a null one
    // binds Null), qlonglong or int, double, QByteArray. They are kept until
    // the next bind.
    void bind(QVariantList values);
    // Runs the statement and stands before its first row; false with
    // lastError() set when the engine refuses it.
    bool exec();
    // Moves to the next row; false at the end (or on a failure, with
    // lastError() set).
    bool next();
    // Ends the current run (a read stops, its locks go).
    void finish();

    int columnCount() const;
    QString columnName(int column) const;
    // The column's name as the engine keeps it, in UTF-8 (nullptr when none).
    const char *columnNameUtf8(int column) const;
    QVariant value(int column) const;
    QSqlError lastError() const { return m_error; }

private:
    QSqlError engineError(const char *what, QSqlError::ErrorType type, int code) const;
    bool step();

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    QVariantList m_values;          // bound without copies: they live until the next bind
    std::vector<char> m_asciiTexts; // the texts in ASCII bound as UTF-8, until the next run
    QSqlError m_error;
    bool m_firstRowPending = false; // exec() stepped onto a row that next() has not shown
    bool m_onRow = false;
    bool m_done = true;
};
