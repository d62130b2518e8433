#include "bench/replay.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QtEndian>

// Each statement is its UTF-8 length (4 bytes) followed by its UTF-8 bytes.

WriteRecorder::WriteRecorder(const QString &path) : m_file(path)
{
    m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void WriteRecorder::append(const QString &statement)
{
    const QByteArray bytes = statement.toUtf8();
    char length[4];
    qToLittleEndian<quint32>(quint32(bytes.size()), length);
    m_file.write(length, 4);
    m_file.write(bytes);
    ++m_count;
}

ReplayMeasure replayWrites(const QString &path, QSqlDatabase db)
{
    ReplayMeasure m;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m.error = file.errorString();
        return m;
    }
    // Read in full before the clock starts: only the engine is timed.
    const QByteArray all = file.readAll();
    QStringList statements;
    for (qsizetype at = 0; at + 4 <= all.size();) {
        // Decoded byte by byte: GCC's array-bounds check, run after inlining
        // qFromLittleEndian, takes the empty array's one byte as a possible source.
        const auto *bytes = reinterpret_cast<const uchar *>(all.constData() + at);
        const quint32 length =
            quint32(bytes[0]) | quint32(bytes[1]) << 8 | quint32(bytes[2]) << 16 | quint32(bytes[3]) << 24;
        statements << QString::fromUtf8(all.constData() + at + 4, length);
        at += 4 + length;
    }
    QSqlQuery query(db);
    QElapsedTimer timer;
    timer.start();
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            m.error = query.lastError().text() + QStringLiteral(" | ") + statement;
            m.seconds = double(timer.nsecsElapsed()) / 1e9;
            return m;
        }
        ++m.statements;
    }
    m.seconds = double(timer.nsecsElapsed()) / 1e9;
    m.ok = true;
    return m;
}
