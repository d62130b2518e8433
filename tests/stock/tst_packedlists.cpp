// Packed lot and serial lists of the voucher grid ("L1|L2|"): splitting,
// picking one item and counting the distinct serial/lot pairs of a row.

#include "stock/clscmncptes.h"

#include <QTest>

class TstPackedLists : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void pick_data();
    void pick();
    void countPairs_data();
    void countPairs();
};

void TstPackedLists::split_data()
{
    QTest::addColumn<QString>("packed");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("blank") << "   " << QStringList{""};
    QTest::newRow("no separator is no item") << "A" << QStringList{""};
    QTest::newRow("plain") << "A|B|" << QStringList{"A", "B", ""};
    QTest::newRow("leading separator") << "|A|B|" << QStringList{"A", "B", ""};
    QTest::newRow("blanks trimmed") << "  A | B |  " << QStringList{"A", "B", ""};
    QTest::newRow("text after the last separator") << "A|B" << QStringList{"A", ""};
    QTest::newRow("empty item kept") << "A||B|" << QStringList{"A", "", "B", ""};
}

void TstPackedLists::split()
{
    QFETCH(QString, packed);
    QFETCH(QStringList, items);
    QCOMPARE(ClsCmnCptes::DescomponeSerieLote(packed), items);
}

void TstPackedLists::pick_data()
{
    QTest::addColumn<QString>("packed");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("item");
    QTest::newRow("empty list") << "" << 1 << "";
    QTest::newRow("first") << "L1|L2|L3|" << 1 << "L1";
    QTest::newRow("last") << "|L1|L2|L3|" << 3 << "L3";
    QTest::newRow("beyond the last") << "L1|L2|" << 3 << "";
    QTest::newRow("position 0") << "L1|L2|" << 0 << "";
    QTest::newRow("item keeps its blanks") << " A | B | " << 2 << " B ";
    QTest::newRow("no separator") << "L1" << 1 << "";
    QTest::newRow("lot and serial item") << QString("L1") + QChar(0xFF) + "S1|" << 1
                                         << QString("L1") + QChar(0xFF) + "S1";
}

void TstPackedLists::pick()
{
    QFETCH(QString, packed);
    QFETCH(int, position);
    QFETCH(QString, item);
    QCOMPARE(ClsCmnCptes::ExtraeSerieLote(packed, qint16(position)), item);
}

void TstPackedLists::countPairs_data()
{
    QTest::addColumn<QString>("serials");
    QTest::addColumn<QString>("lots");
    QTest::addColumn<int>("pairs");
    QTest::newRow("both empty") << ""
                                << "" << 0;
    QTest::newRow("two pairs") << "S1|S2|"
                               << "L1|L2|" << 2;
    QTest::newRow("repeated pair") << "S1|S1|"
                                   << "L1|L1|" << 1;
    QTest::newRow("serials only") << "S1|S2|"
                                  << "" << 2;
    QTest::newRow("lots only") << ""
                               << "L1|L2|L3|" << 3;
    QTest::newRow("letter case ignored") << "s1|S1|"
                                         << "l1|L1|" << 1;
    QTest::newRow("empty pairs skipped") << "S1||"
                                         << "L1||" << 1;
    QTest::newRow("fewer lots than serials") << "S1|S2|"
                                             << "L1|" << 2;
}

void TstPackedLists::countPairs()
{
    QFETCH(QString, serials);
    QFETCH(QString, lots);
    QFETCH(int, pairs);
    QCOMPARE(ClsCmnCptes::Cuenta_Series_Lotes(serials, lots), pairs);
}

QTEST_GUILESS_MAIN(TstPackedLists)
#include "tst_packedlists.moc"
