// A power cut during an unattended run into an Orva SQLite file in its
// write-ahead log. The run is killed at some moment; what a power cut
// would add is the loss of the log's unsynced tail, so the -wal file is cut
// back to an earlier frame boundary (never before what was already copied
// into the database file: that part was synced first). The file must then
// open intact, and the next run must leave Orva exactly as one clean run
// does: nothing lost, nothing written twice.

#include "support/orvafile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <csignal>

namespace {

constexpr qint64 walHeaderSize = 32;
constexpr qint64 frameHeaderSize = 24;

QProcessEnvironment programEnvironment(const QString &programFolder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), programFolder);
    env.remove(QStringLiteral("TRASPASOR_SERVICES_INI"));
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}

QString unattended(const QString &orva)
{
    return QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;").arg(orva);
}

int runToEnd(const QString &orva, const QString &programFolder)
{
    QProcess p;
    p.setProcessEnvironment(programEnvironment(programFolder));
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), {unattended(orva)});
    if (!p.waitForFinished(120000))
        qFatal("the program did not finish");
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Starts a run and kills it (SIGKILL: no clean-up, no checkpoint) after
// the given milliseconds; false when it ended on its own first.
bool runKilledAfter(const QString &orva, const QString &programFolder, int ms)
{
    QProcess p;
    p.setProcessEnvironment(programEnvironment(programFolder));
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), {unattended(orva)});
    if (!p.waitForStarted())
        qFatal("the program did not start");
    if (p.waitForFinished(ms))
        return false;
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished();
    return true;
}

// The database page size, from the header of the -wal file.
qint64 walPageSize(const QByteArray &wal)
{
    return wal.size() < walHeaderSize ? 0 : qFromBigEndian<quint32>(wal.constData() + 8);
}

// Frames of the log that were synced: a checkpoint syncs the log before it
// copies frames into the database file. From the checkpoint information of
// the wal-index in the -shm file (after its two 48-byte headers, in the
// machine's byte order): the frames
// copied (nBackfill) and those a checkpoint set out to copy (nBackfillAttempted).
qint64 syncedFrames(const QString &shmPath)
{
    QFile shm(shmPath);
    if (!shm.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray head = shm.read(136);
    if (head.size() < 136)
        return 0;
    return std::max(qFromLittleEndian<quint32>(head.constData() + 96),
                    qFromLittleEndian<quint32>(head.constData() + 128));
}

void copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (QFile::exists(from))
        QVERIFY(QFile::copy(from, to));
}

} // namespace

class TstPowerLoss : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cutLogThenRerunEqualsCleanRun();

private:
    QString makeDemo(const QString &name);

    QTemporaryDir m_dir;
    QString m_demo;      // pristine demo databases
    QStringList m_clean; // Orva after one uninterrupted run
    int m_cleanMs = 0;
};

QString TstPowerLoss::makeDemo(const QString &name)
{
    const QString folder = m_dir.filePath(name);
    QDir().mkpath(folder);
    copyFile(m_demo + QStringLiteral("/orva.db"), folder + QStringLiteral("/orva.db"));
    return folder + QStringLiteral("/orva.db");
}

void TstPowerLoss::initTestCase()
{
    QVERIFY(!qEnvironmentVariable("TRASPASOR_TEST_BIN").isEmpty());
    m_demo = m_dir.filePath(QStringLiteral("demo"));
    QProcess p;
    p.setProcessEnvironment(programEnvironment(m_dir.filePath(QStringLiteral("prog"))));
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), {QStringLiteral("--demo"), m_demo});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);

    const QString clean = makeDemo(QStringLiteral("clean"));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(runToEnd(clean, m_dir.filePath(QStringLiteral("prog-clean"))), 0);
    m_cleanMs = int(timer.elapsed());
    QVERIFY(!QFile::exists(clean + QStringLiteral("-wal"))); // a clean end leaves no log
    m_clean = orvaFileRows(clean);
    QVERIFY(m_clean.size() > 50);
}

void TstPowerLoss::cutLogThenRerunEqualsCleanRun()
{
    // Kills spread over most of a clean run's length; each log is cut at up to
    // six frame boundaries from what was synced to its end.
    int cases = 0;
    int lost = 0; // cuts that lost committed rows (the next run must bring them)
    for (int k = 1; k <= 8; ++k) {
        const QString killedName = QStringLiteral("killed%1").arg(k);
        const QString killed = makeDemo(killedName);
        if (!runKilledAfter(killed, m_dir.filePath(QStringLiteral("prog-") + killedName), m_cleanMs * k / 10))
            continue;
        QFile walFile(killed + QStringLiteral("-wal"));
        QByteArray wal;
        if (walFile.open(QIODevice::ReadOnly))
            wal = walFile.readAll();
        const qint64 pageSize = walPageSize(wal);
        const qint64 frames = pageSize ? (wal.size() - walHeaderSize) / (frameHeaderSize + pageSize) : 0;
        const qint64 synced = std::min(syncedFrames(killed + QStringLiteral("-shm")), frames);
        for (int c = 0; c < 6; ++c) {
            const qint64 keep = synced + (frames - synced) * c / 5;
            if (c > 0 && keep == synced + (frames - synced) * (c - 1) / 5)
                continue; // the same cut again
            const QString name = QStringLiteral("%1-cut%2").arg(killedName).arg(c);
            const QString cut = makeDemo(name);
            copyFile(killed, cut);
            if (!wal.isEmpty()) {
                QFile cutWal(cut + QStringLiteral("-wal"));
                QVERIFY(cutWal.open(QIODevice::WriteOnly));
                cutWal.write(wal.left(walHeaderSize + keep * (frameHeaderSize + pageSize)));
            }
            // The -shm file is not kept: after a power cut it is rebuilt from the log.
            const QString context = QStringLiteral("killed after %1 ms, log cut to %2 of %3 frames")
                                        .arg(m_cleanMs * k / 10)
                                        .arg(keep)
                                        .arg(frames);
            QVERIFY2(sqliteIntegrity(cut) == QLatin1String("ok"),
                     qPrintable(context + QStringLiteral(": ") + sqliteIntegrity(cut)));
            if (orvaFileRows(cut) != m_clean)
                ++lost;
            QVERIFY2(runToEnd(cut, m_dir.filePath(QStringLiteral("prog-") + name)) == 0, qPrintable(context));
            QCOMPARE(sqliteIntegrity(cut), QStringLiteral("ok"));
            const QStringList rows = orvaFileRows(cut);
            if (rows != m_clean) {
                for (const QString &row : rowsNotIn(m_clean, rows))
                    qWarning("missing: %s", qPrintable(row));
                for (const QString &row : rowsNotIn(rows, m_clean))
                    qWarning("extra: %s", qPrintable(row));
            }
            QVERIFY2(rows == m_clean, qPrintable(context));
            ++cases;
        }
    }
    qInfo("%d cut points checked, %d of them lost commits", cases, lost);
    QVERIFY(cases >= 5);
    QVERIFY(lost >= 3);
}

QTEST_GUILESS_MAIN(TstPowerLoss)
#include "tst_powerloss.moc"
