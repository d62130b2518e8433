// The log: time stamps with their UTC offset, the size bound with rotated
// files, and Qt's own messages taken in with their level.

#include "services/log.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        return {QStringLiteral("<cut line>")};
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TstLog : public QObject
{
    Q_OBJECT

private slots:
    void timeStampCarriesTheOffset_data();
    void timeStampCarriesTheOffset();
    void linesCarryLocalTimeAndOffset();
    void rotationKeepsTheBoundAndEveryLine();
    void smallLogIsNotMoved();
    void qtMessagesGoIntoTheLog();
};

void TstLog::timeStampCarriesTheOffset_data()
{
    QTest::addColumn<int>("offsetSeconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("UTC") << 0 << "2026-03-05 07:08:09+00:00";
    QTest::newRow("west of UTC") << -3 * 3600 << "2026-03-05 07:08:09-03:00";
    QTest::newRow("half hour east") << 5 * 3600 + 1800 << "2026-03-05 07:08:09+05:30";
    QTest::newRow("quarter hour west") << -(9 * 3600 + 45 * 60) << "2026-03-05 07:08:09-09:45";
}

void TstLog::timeStampCarriesTheOffset()
{
    QFETCH(int, offsetSeconds);
    QFETCH(QString, expected);
    const QDateTime moment(QDate(2026, 3, 5), QTime(7, 8, 9), QTimeZone(offsetSeconds));
    QCOMPARE(Log::timeStamp(moment), expected);
}

void TstLog::linesCarryLocalTimeAndOffset()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("traspasor.log"));
    {
        Log log;
        log.open(path);
        log.info(QStringLiteral("uno"));
        log.warning(QStringLiteral("dos Pwd=secreto;"));
    }
    const QStringList lines = linesOf(path);
    QCOMPARE(lines.size(), 2);
    // Time stamp, the run id in brackets, level.
    const QRegularExpression shape(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d \\[[0-9a-f.]+\\] (INFO |AVISO) "));
    for (const QString &line : lines)
        QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));
    const QString offset = Log::timeStamp(QDateTime::currentDateTime()).right(6);
    QVERIFY2(lines.first().mid(19, 6) == offset, qPrintable(lines.first()));
    QVERIFY(!lines.last().contains(QStringLiteral("secreto")));
}

void TstLog::rotationKeepsTheBoundAndEveryLine()
{
    // Runs of 7 lines of about 60 bytes against a bound of 1000 bytes: every
    // few runs the log is moved aside, and only three files ever remain.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("traspasor.log"));
    constexpr qint64 bound = 1000;
    int written = 0;
    int rotations = 0;
    for (int run = 0; run < 12; ++run) {
        if (Log::rotate(path, bound, 3))
            ++rotations;
        Log log;
        log.open(path);
        for (int i = 0; i < 7; ++i)
            log.info(QStringLiteral("línea %1 de la ejecución %2").arg(++written, 4, 10, QLatin1Char('0')).arg(run));
    }
    QVERIFY(rotations >= 3);
    QVERIFY(!QFile::exists(path + QStringLiteral(".3")));
    // Lines are whole and run on from the oldest file to the newest; the
    // newest one is the last written, none is lost between the files kept.
    QStringList kept;
    for (const QString &file : {path + QStringLiteral(".2"), path + QStringLiteral(".1"), path}) {
        QVERIFY(QFile::exists(file));
        const QStringList lines = linesOf(file);
        QVERIFY(!lines.contains(QStringLiteral("<cut line>")));
        if (file != path)
            QVERIFY(QFileInfo(file).size() >= bound);
        QVERIFY(QFileInfo(file).size() < bound + 7 * 80);
        kept += lines;
    }
    const QRegularExpression number(QStringLiteral("línea (\\d{4})"));
    int expected = number.match(kept.first()).captured(1).toInt();
    for (const QString &line : kept)
        QCOMPARE(number.match(line).captured(1).toInt(), expected++);
    QCOMPARE(expected - 1, written);
}

void TstLog::smallLogIsNotMoved()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("traspasor.log"));
    QVERIFY(!Log::rotate(path, 100, 3)); // no log yet
    {
        Log log;
        log.open(path);
        log.info(QStringLiteral("corta"));
    }
    QVERIFY(!Log::rotate(path, 100, 3));
    QCOMPARE(linesOf(path).size(), 1);
    QVERIFY(!QFile::exists(path + QStringLiteral(".1")));
}

void TstLog::qtMessagesGoIntoTheLog()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("traspasor.log"));
    {
        Log log;
        log.open(path);
        log.takeQtMessages();
        qWarning("QFSFileEngine::open: No file name specified");
        qInfo("complemento cargado");
    }
    // Once the log is gone, Qt's messages are no longer sent to it.
    qInfo("después del registro");
    const QStringList lines = linesOf(path);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).contains(QStringLiteral(" AVISO Qt aviso: QFSFileEngine::open: No file name specified")),
             qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).contains(QStringLiteral(" INFO  Qt información: complemento cargado")),
             qPrintable(lines.at(1)));
}

QTEST_GUILESS_MAIN(TstLog)
#include "tst_log.moc"
