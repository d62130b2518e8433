// The next number of a voucher type from its number books, on a real Orva
// SQLite file: book choice, letters, used-up books, the journal check and
// the procedure's own error handling.

#include "bookrows.h"
#include "numbering/numbering.h"
#include "support/fixtures.h"

#include <QTest>

class TstAssignment : public QObject
{
    Q_OBJECT

private slots:
    void bookChoice_data();
    void bookChoice();
    void everyBookUsedUp();
    void journalCheck_data();
    void journalCheck();
    void errorsAreHandledByTheProcedure();
    void equivalentTypes_data();
    void equivalentTypes();
};

void TstAssignment::bookChoice_data()
{
    QTest::addColumn<QString>("tc");
    QTest::addColumn<QString>("books");
    QTest::addColumn<QString>("letterIn");
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("talonario");
    QTest::addColumn<bool>("modifiable");

    QTest::newRow("used-up book passed over")
        << "PE" << book("  PE", 1, "X", "X", 1, 101, 1, 100) + book("  PE", 2, "X", "X", 2, 0, 1, 500) << "X"
        << ""
        << "0002"
        << "00000001"
        << "X" << 2 << false;
    QTest::newRow("counter at the upper bound is used up")
        << "PE" << book("  PE", 1, "X", "X", 1, 100, 1, 100) + book("  PE", 2, "X", "X", 3, 7, 1, 50) << "X"
        << ""
        << "0003"
        << "00000007"
        << "X" << 2 << false;
    QTest::newRow("books visited by TALONARIO")
        << "PE" << book("  PE", 5, "X", "X", 5, 9, 1, 50) + book("  PE", 3, "X", "X", 3, 12, 1, 50) << "X"
        << ""
        << "0003"
        << "00000012"
        << "X" << 3 << false;
    QTest::newRow("blank letter proposed as X") << "PE" << book("  PE", 1, "X", "X", 1, 5, 1, 10) << "  "
                                                << ""
                                                << "0001"
                                                << "00000005"
                                                << "X" << 1 << false;
    QTest::newRow("letter the book does not serve") << "FA" << book("  FA", 1, "A", "A", 4, 33, 1, 1000) << "B"
                                                    << ""
                                                    << "0004"
                                                    << "00000033"
                                                    << "A" << 1 << false;
    QTest::newRow("letter served, other case") << "FA" << book("  FA", 1, "AB", "B", 4, 12, 1, 1000) << "b"
                                               << ""
                                               << "0004"
                                               << "00000012"
                                               << "b" << 1 << false;
    QTest::newRow("modifiable book") << "PE" << book("  PE", 1, "X", "X", 1, 5, 1, 10, ", Modificanumeracion", ", 1")
                                     << "X"
                                     << ""
                                     << "0001"
                                     << "00000005"
                                     << "X" << 1 << true;
    QTest::newRow("expired book passed over when a date is given")
        << "PE"
        << book("  PE", 1, "X", "X", 1, 5, 1, 10, ", VenceX", ", '2026-01-31'") + book("  PE", 2, "X", "X", 2, 3, 1, 10)
        << "X"
        << "2026-02-01"
        << "0002"
        << "00000003"
        << "X" << 2 << false;
    QTest::newRow("no book for the type") << "PE" << book("  FA", 1, "A", "A", 1, 5, 1, 10) << "A"
                                          << ""
                                          << "1"
                                          << "1"
                                          << "X" << 0 << false;
}

void TstAssignment::bookChoice()
{
    QFETCH(QString, tc);
    QFETCH(QString, books);
    QFETCH(QString, letterIn);
    QFETCH(QString, dateText);
    QFETCH(QString, branch);
    QFETCH(QString, number);
    QFETCH(QString, letter);
    QFETCH(int, talonario);
    QFETCH(bool, modifiable);
    OrvaFixture f(books);
    Numbering numbering(f.services, f.session.config);
    QString gotBranch = QStringLiteral("0001"), gotNumber, gotLetter = letterIn;
    bool gotModifiable = false;
    numbering.Obtener_Nro_Comprobante_Contable(tc, gotBranch, gotNumber, gotLetter, gotModifiable, dateText);
    QCOMPARE(gotBranch, branch);
    QCOMPARE(gotNumber, number);
    QCOMPARE(gotLetter, letter);
    QCOMPARE(int(numbering.TalonarioActual), talonario);
    QCOMPARE(gotModifiable, modifiable);
    QVERIFY(f.op.messages.isEmpty());
    QVERIFY(f.op.errorsSeen.isEmpty());
}

void TstAssignment::everyBookUsedUp()
{
    OrvaFixture f(book("  PE", 1, "X", "X", 1, 100, 1, 100) + book("  PE", 2, "X", "X", 2, 600, 1, 500));
    Numbering numbering(f.services, f.session.config);
    QString branch = QStringLiteral("0009"), number = QStringLiteral("00000099"), letter = QStringLiteral("X");
    bool modifiable = false;
    numbering.Obtener_Nro_Comprobante(QStringLiteral("PE"), branch, number, letter, modifiable, true);
    QCOMPARE(f.op.messages,
             QStringList{QStringLiteral("|Todos los talonarios del comprobante PE se encuentran utilizados, debe dar "
                                        "de alta un nuevo talonario para el comprobante PE")});
    QCOMPARE(branch, QStringLiteral("0009"));
    QCOMPARE(number, QStringLiteral("00000099"));
}

void TstAssignment::journalCheck_data()
{
    QTest::addColumn<QString>("journal");
    QTest::addColumn<bool>("checkJournal");
    QTest::addColumn<QString>("number");

    const QString entry = QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA) VALUES ('NCRE', "
                                         "'0001', '%1', 'X');\n");
    const QString journalised = entry.arg(QStringLiteral("00000007")) + entry.arg(QStringLiteral("000100000009"));
    QTest::newRow("journalised number moves past the highest") << journalised << true << "00000010";
    QTest::newRow("not checked") << journalised << false << "00000007";
    QTest::newRow("number not journalised") << entry.arg(QStringLiteral("000100000009")) << true << "00000007";
    QTest::newRow("other letter in the journal")
        << QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA) VALUES ('NCRE', '0001', "
                          "'00000007', 'A');\n")
        << true << "00000007";
}

void TstAssignment::journalCheck()
{
    QFETCH(QString, journal);
    QFETCH(bool, checkJournal);
    QFETCH(QString, number);
    OrvaFixture f(book("NCRE", 1, "X", "X", 1, 7, 1, 100) + journal);
    Numbering numbering(f.services, f.session.config);
    QString branch = QStringLiteral("0001"), got, letter = QStringLiteral("X");
    bool modifiable = false;
    numbering.Obtener_Nro_Comprobante(QStringLiteral("NCRE"), branch, got, letter, modifiable, checkJournal);
    QCOMPARE(got, number);
    QCOMPARE(branch, QStringLiteral("0001"));
}

void TstAssignment::errorsAreHandledByTheProcedure()
{
    // Book 1 serves a letter without columns: reading it fails.
    OrvaFixture f(book("  PE", 1, "Q", "X", 1, 5, 1, 10) + book("  PE", 2, "X", "X", 2, 8, 1, 10));
    Numbering numbering(f.services, f.session.config);
    QString branch = QStringLiteral("0001"), number, letter = QStringLiteral("X");
    bool modifiable = false;

    // Continue: the failing book is passed over and the next one serves.
    f.op.errorChoices = {ChoiceIgnore};
    numbering.Obtener_Nro_Comprobante(QStringLiteral("PE"), branch, number, letter, modifiable, true);
    QCOMPARE(f.op.errorsSeen.size(), 1);
    QCOMPARE(f.op.errorsSeen.first().procedure, QStringLiteral("Obtener_Nro_Comprobante_Contable"));
    QCOMPARE(branch, QStringLiteral("0002"));
    QCOMPARE(number, QStringLiteral("00000008"));

    // Give up: the procedure ends normally with what it had.
    branch = QStringLiteral("0001");
    number = QStringLiteral("00000077");
    letter = QStringLiteral("X");
    numbering.Obtener_Nro_Comprobante(QStringLiteral("PE"), branch, number, letter, modifiable, true);
    QCOMPARE(f.op.errorsSeen.size(), 2);
    QCOMPARE(branch, QStringLiteral("0001"));
    QCOMPARE(number, QStringLiteral("00000077"));
}

void TstAssignment::equivalentTypes_data()
{
    QTest::addColumn<QString>("tc");
    QTest::addColumn<QString>("expected");
    QTest::newRow("configured, trimmed value") << " fcc "
                                               << "FA";
    QTest::newRow("configured, no key") << "TK"
                                        << "";
    QTest::newRow("its own equivalent") << " gf"
                                        << "gf";
    QTest::newRow("no equivalent") << "RM"
                                   << "";
}

void TstAssignment::equivalentTypes()
{
    QFETCH(QString, tc);
    QFETCH(QString, expected);
    OrvaFixture f(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('EQU_FCC', ' FA ', "
                                 "'DATOS');"));
    Numbering numbering(f.services, f.session.config);
    QCOMPARE(numbering.ObtieneEquivalenciaTC(tc), expected);
}

QTEST_GUILESS_MAIN(TstAssignment)
#include "tst_assignment.moc"
