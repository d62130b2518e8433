// The Orva password from outside the command line: the environment first,
// then a file only its owner may read; a file others may read is refused
// without showing what it holds.

#include "services/orvapassword.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstOrvaPassword : public QObject
{
    Q_OBJECT

private slots:
    void sources_data();
    void sources();
};

void TstOrvaPassword::sources_data()
{
    QTest::addColumn<QString>("environment"); // "<unset>" leaves it out
    QTest::addColumn<QByteArray>("fileText"); // empty: no file named
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("said");
    QTest::newRow("nothing given") << "<unset>" << QByteArray() << 0 << true << ""
                                   << "";
    QTest::newRow("environment") << "Clave Ñ1" << QByteArray() << 0 << true << "Clave Ñ1"
                                 << "";
    QTest::newRow("environment over the file")
        << "delentorno" << QByteArray("delarchivo\n") << 0600 << true << "delentorno"
        << "";
    QTest::newRow("owner-only file, first line")
        << "<unset>" << QByteArray(" con blancos \r\notra\n") << 0600 << true << " con blancos "
        << "";
    QTest::newRow("read-only for its owner") << "<unset>" << QByteArray("s3creta") << 0400 << true << "s3creta"
                                             << "";
    QTest::newRow("group may read") << "<unset>" << QByteArray("s3creta\n") << 0640 << false << ""
                                    << "lo pueden leer otros usuarios (permisos 640)";
    QTest::newRow("anyone may read") << "<unset>" << QByteArray("s3creta\n") << 0644 << false << ""
                                     << "chmod 600";
}

void TstOrvaPassword::sources()
{
    QFETCH(QString, environment);
    QFETCH(QByteArray, fileText);
    QFETCH(int, mode);
    QFETCH(bool, accepted);
    QFETCH(QString, password);
    QFETCH(QString, said);
    if (environment == QLatin1String("<unset>"))
        qunsetenv("TRASPASOR_ORVA_PASSWORD");
    else
        qputenv("TRASPASOR_ORVA_PASSWORD", environment.toUtf8());
    QTemporaryDir dir;
    QString path;
    if (!fileText.isEmpty()) {
        path = dir.filePath(QStringLiteral("orva.clave"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fileText);
        file.close();
        const QFile::Permissions p = QFile::Permissions::fromInt(((mode >> 6) & 7) << 12 | ((mode >> 6) & 7) << 8
                                                                 | ((mode >> 3) & 7) << 4 | (mode & 7));
        QVERIFY(QFile::setPermissions(path, p));
    }
    QString got = QStringLiteral("<untouched>");
    QString error;
    QCOMPARE(orvaPasswordFromOutside(path, &got, &error), accepted);
    qunsetenv("TRASPASOR_ORVA_PASSWORD");
    if (accepted) {
        QCOMPARE(got, password);
        return;
    }
    QVERIFY(got.isEmpty());
    QVERIFY2(error.contains(said) && error.contains(path), qPrintable(error));
    QVERIFY(!error.contains(QStringLiteral("s3creta")));
}

QTEST_GUILESS_MAIN(TstOrvaPassword)
#include "tst_orvapassword.moc"
