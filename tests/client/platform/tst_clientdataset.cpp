// Client dataset: cursor, locate, local edits, loads and their failures, control
// notifications, display formats under Turkish settings, field classes.
#include "tablebuilder.h"

#include <clientdataset.h>
#include <displayformat.h>
#include <exception.h>

#include <testmain.h>

#include <QSignalSpy>

#include <limits>
#include <typeinfo>

using wire::ColumnType;

namespace {

wire::Table stockTable()
{
    return makeTable({{"STOK_STOKNO", ColumnType::Int32},
                      {"ADI", ColumnType::String},
                      {"FIYAT", ColumnType::Double},
                      {"KUR", ColumnType::Currency},
                      {"TARIH", ColumnType::Date}},
                     {{10, QStringLiteral("Fren Balatası"), 1234.5, 2.5, QDate(2026, 1, 31)},
                      {42, QStringLiteral("ışık müşürü"), 5.0, QVariant(), QDate(2026, 2, 1)},
                      {7, QStringLiteral("Yağ Filtresi"), QVariant(), 1.0, QVariant()}});
}

} // namespace

class TestClientDataSet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cursorWalk()
    {
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        QCOMPARE(ds.RecordCount(), 3);
        QVERIFY(ds.Bof());
        QVERIFY(!ds.Eof());
        QCOMPARE(ds.RecNo(), 1);

        QList<int> seen;
        for (ds.First(); !ds.Eof(); ds.Next())
            seen << ds.FieldByName("STOK_STOKNO")->AsInteger();
        QCOMPARE(seen, (QList<int>{10, 42, 7}));
        QCOMPARE(ds.RecNo(), 3); // Next past the end stays on the last record

        seen.clear();
        for (ds.Last(); !ds.Bof(); ds.Prior())
            seen << ds.FieldByName("STOK_STOKNO")->AsInteger();
        QCOMPARE(seen, (QList<int>{7, 42, 10}));
        QCOMPARE(ds.RecNo(), 1);

        ds.EmptyDataSet();
        QVERIFY(ds.Active());
        QVERIFY(ds.Bof() && ds.Eof());
        QCOMPARE(ds.RecNo(), 0);
        QVERIFY(ds.FieldByName("ADI")->IsNull()); // no record reads as null
        QCOMPARE(ds.FieldByName("ADI")->AsString(), QString());

        ds.Close();
        QVERIFY(!ds.Active());
        QCOMPARE(ds.RecordCount(), 0);
        QVERIFY_THROWS_EXCEPTION(platform::Exception, ds.First());
    }

    void fieldByNameNamesTheMissingField()
    {
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        QCOMPARE(ds.FieldByName("adi")->FieldName(), QStringLiteral("ADI")); // case-insensitive
        QVERIFY(!ds.FindField("YOK_BOYLE"));
        try {
            ds.FieldByName("YOK_BOYLE");
            QFAIL("no exception");
        } catch (const platform::Exception &e) {
            QVERIFY2(e.Message().contains(u"YOK_BOYLE"), qPrintable(e.Message()));
        }
        QCOMPARE(ds.FieldNames(), (QStringList{"STOK_STOKNO", "ADI", "FIYAT", "KUR", "TARIH"}));
        QVERIFY_THROWS_EXCEPTION(platform::Exception, ds.FieldByName("ADI")->AsStringAt(3));
        QVERIFY_THROWS_EXCEPTION(platform::Exception, ds.FieldByName("ADI")->ValueAt(-1));
    }

    void locate_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("recNo"); // 0: not found

        const int ci = int(TLocateOption::CaseInsensitive);
        const int partial = int(TLocateOption::PartialKey);
        QTest::newRow("integer") << "STOK_STOKNO" << QVariant(42) << 0 << 2;
        QTest::newRow("integer given as text") << "STOK_STOKNO" << QVariant("7") << 0 << 3;
        QTest::newRow("integer given as real") << "STOK_STOKNO" << QVariant(10.0) << 0 << 1;
        QTest::newRow("text exact") << "ADI" << QVariant(QStringLiteral("Yağ Filtresi")) << 0 << 3;
        QTest::newRow("text case differs") << "ADI" << QVariant(QStringLiteral("yağ filtresi")) << 0 << 0;
        QTest::newRow("text case-insensitive") << "ADI" << QVariant(QStringLiteral("yağ filtresi")) << ci << 3;
        QTest::newRow("text partial") << "ADI" << QVariant(QStringLiteral("Fren")) << partial << 1;
        QTest::newRow("float") << "FIYAT" << QVariant(5.0) << 0 << 2;
        QTest::newRow("null") << "FIYAT" << QVariant() << 0 << 3;
        QTest::newRow("date") << "TARIH" << QVariant(QDate(2026, 2, 1)) << 0 << 2;
        QTest::newRow("absent value") << "STOK_STOKNO" << QVariant(99) << 0 << 0;
        QTest::newRow("text for number") << "STOK_STOKNO" << QVariant("abc") << 0 << 0;
    }

    void locate()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(int, options);
        QFETCH(int, recNo);
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        ds.Last();
        const bool found = ds.Locate(field, value, TLocateOptions(options));
        QCOMPARE(found, recNo != 0);
        QCOMPARE(ds.RecNo(), found ? recNo : 3); // a miss leaves the cursor where it was
    }

    void editPostCancel()
    {
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        QSignalSpy records(&ds, &TClientDataSet::RecordChanged);
        QSignalSpy whole(&ds, &TClientDataSet::DataSetChanged);
        TField *price = ds.FieldByName("FIYAT");

        QVERIFY_THROWS_EXCEPTION(platform::Exception, price->SetAsFloat(1)); // not in edit state

        ds.Next();
        ds.Edit();
        price->SetAsFloat(99.5);
        QCOMPARE(price->AsFloat(), 99.5); // the buffer is read while editing
        ds.Cancel();
        QCOMPARE(price->AsFloat(), 5.0);
        QCOMPARE(records.count(), 0);

        ds.Edit();
        price->SetAsString(QStringLiteral("12,75")); // typed in the user's locale
        ds.FieldByName("ADI")->Clear();
        ds.Post();
        QCOMPARE(ds.State(), TDataSetState::Browse);
        QCOMPARE(price->AsFloat(), 12.75);
        QVERIFY(ds.FieldByName("ADI")->IsNull());
        QCOMPARE(records.count(), 1);
        QCOMPARE(records.at(0).at(0).toInt(), 1);
        QCOMPARE(whole.count(), 0);

        // Values that do not fit are refused and the buffer keeps its old value.
        ds.Edit();
        QVERIFY_THROWS_EXCEPTION(platform::ConvertError, ds.FieldByName("STOK_STOKNO")->SetAsString("abc"));
        QVERIFY_THROWS_EXCEPTION(platform::ConvertError, ds.FieldByName("STOK_STOKNO")->SetAsLargeInt(qint64(1) << 40));
        QVERIFY_THROWS_EXCEPTION(platform::ConvertError, ds.FieldByName("TARIH")->SetAsString("31 şubat"));
        QCOMPARE(ds.FieldByName("STOK_STOKNO")->AsInteger(), 42);
        ds.Cancel();

        // Moving the cursor posts a pending edit, as the windows rely on.
        ds.Edit();
        ds.FieldByName("STOK_STOKNO")->SetAsInteger(43);
        ds.Next();
        ds.Prior();
        QCOMPARE(ds.FieldByName("STOK_STOKNO")->AsInteger(), 43);

        ds.Append();
        ds.FieldByName("STOK_STOKNO")->SetAsInteger(8);
        ds.Post();
        QCOMPARE(ds.RecordCount(), 4);
        QCOMPARE(ds.RecNo(), 4);
        QCOMPARE(whole.count(), 1);
    }

    void loadReplacesFieldsAndRows()
    {
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        ds.FieldByName("FIYAT")->SetDisplayFormat("#,###,##0.00");
        ds.Last();

        ds.LoadFromTable(makeTable({{"CARINO", ColumnType::Int64}, {"CARIADI", ColumnType::String}},
                                   {{1, "Ahmet"}, {2, "Ayşe"}}));
        QCOMPARE(ds.FieldNames(), (QStringList{"CARINO", "CARIADI"}));
        QCOMPARE(ds.RecordCount(), 2);
        QCOMPARE(ds.RecNo(), 1);
        QVERIFY(!ds.FindField("FIYAT"));
        QCOMPARE(ds.FieldByName("CARIADI")->AsString(), QStringLiteral("Ahmet"));
        QCOMPARE(typeid(*ds.FieldByName("CARINO")), typeid(TLargeintField));

        // A reader is copied: the source stays usable.
        const wire::Table reader = stockTable();
        ds.CopyFromReader(reader);
        QCOMPARE(reader.rowCount(), 3);
        QCOMPARE(reader.text(0, 1), QStringLiteral("Fren Balatası"));
        QCOMPARE(ds.RecordCount(), 3);
        QCOMPARE(ds.FieldByName("ADI")->AsString(), QStringLiteral("Fren Balatası"));
    }

    void repeatedColumnNamesStayReachable()
    {
        TClientDataSet ds;
        ds.LoadFromTable(makeTable({{"IDNO", ColumnType::Int32}, {"IDNO", ColumnType::Int32}}, {{1, 2}}));
        QCOMPARE(ds.FieldNames(), (QStringList{"IDNO", "IDNO_1"}));
        QCOMPARE(ds.FieldByName("IDNO_1")->AsInteger(), 2);
    }

    void failedLoadKeepsContent_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("unknown column type") << 0;
        QTest::newRow("column shorter than the table") << 1;
        QTest::newRow("value beyond 32 bits") << 2;
        QTest::newRow("storage of the wrong kind") << 3;
        QTest::newRow("day beyond the calendar") << 4;
    }

    void failedLoadKeepsContent()
    {
        QFETCH(int, fault);
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        ds.Next();
        QSignalSpy changed(&ds, &TClientDataSet::DataSetChanged);

        wire::Table bad = makeTable({{"A", ColumnType::Int32}, {"B", ColumnType::String}}, {{1, "x"}, {2, "y"}});
        switch (fault) {
        case 0: bad.columnData(1).info.type = ColumnType(99); break;
        case 1: bad.columnData(1).nulls.pop_back(), bad.columnData(1).texts.pop_back(); break;
        case 2: bad.columnData(0).ints[1] = qint64(1) << 35; break;
        case 3: bad.columnData(1).texts.clear(); break;
        case 4:
            bad.columnData(0).info.type = ColumnType::Date;
            bad.columnData(0).ints[1] = std::numeric_limits<qint64>::max();
            break;
        }
        try {
            ds.LoadFromTable(std::move(bad));
            QFAIL("no exception");
        } catch (const platform::Exception &e) {
            QVERIFY(!e.Message().isEmpty());
        }
        QCOMPARE(ds.RecordCount(), 3);
        QCOMPARE(ds.RecNo(), 2);
        QCOMPARE(ds.FieldCount(), 5);
        QCOMPARE(ds.FieldByName("ADI")->AsString(), QStringLiteral("ışık müşürü"));
        QCOMPARE(changed.count(), 0);
    }

    void disableEnableSendsOneRefresh()
    {
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        QSignalSpy whole(&ds, &TClientDataSet::DataSetChanged);
        QSignalSpy records(&ds, &TClientDataSet::RecordChanged);

        ds.DisableControls();
        ds.DisableControls(); // nested, as a load inside a disabled block does
        ds.LoadFromTable(stockTable());
        ds.Edit();
        ds.FieldByName("FIYAT")->SetAsFloat(1);
        ds.Post();
        ds.EmptyDataSet();
        ds.EnableControls();
        QCOMPARE(whole.count(), 0);
        QVERIFY(ds.ControlsDisabled());
        ds.EnableControls();
        QCOMPARE(whole.count(), 1);
        QCOMPARE(records.count(), 0);
        ds.EnableControls(); // unbalanced extra call is harmless
        QCOMPARE(whole.count(), 1);
    }

    void displayFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("thousands, two decimals") << "#,###,##0.00" << 1234.5 << "1.234,50";
        QTest::newRow("millions") << "#,###,##0.00" << 1234567.891 << "1.234.567,89";
        QTest::newRow("negative") << "#,###,##0.00" << -1234.5 << "-1.234,50";
        QTest::newRow("zero") << "#,###,##0.00" << 0.0 << "0,00";
        QTest::newRow("half rounds away from zero") << "#,###,##0.00" << 2.675 << "2,68";
        QTest::newRow("negative half") << "#,###,##0.00" << -0.125 << "-0,13";
        QTest::newRow("carry into thousands") << "#,###,##0.00" << 999.995 << "1.000,00";
        QTest::newRow("tiny negative loses its sign") << "#,###,##0.00" << -0.001 << "0,00";
        QTest::newRow("two integer digits") << "#,###,##00.00" << 5.0 << "05,00";
        QTest::newRow("two integer digits, large") << "#,###,##00.00" << 12345.0 << "12.345,00";
        QTest::newRow("currency text positive") << ",0.00 TL;-,0.00 TL" << 1500.0 << "1.500,00 TL";
        QTest::newRow("currency text negative") << ",0.00 TL;-,0.00 TL" << -3.0 << "-3,00 TL";
        QTest::newRow("no integer digit") << "#,###,##.00" << 0.5 << ",50";
        QTest::newRow("zero section") << "0.00;-0.00;'yok'" << 0.0 << "yok";
        QTest::newRow("optional decimals") << "0.##" << 1.5 << "1,5";
        QTest::newRow("no format") << "" << 1234.5 << "1234,5";
    }

    void displayFormats()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(platform::FormatFloat(format, value), expected);

        TClientDataSet ds;
        ds.AddField("TUTAR", TFieldType::Float);
        ds.CreateDataSet();
        ds.Append();
        ds.FieldByName("TUTAR")->SetAsFloat(value);
        ds.Post();
        ds.FieldByName("TUTAR")->SetDisplayFormat(format);
        QCOMPARE(ds.FieldByName("TUTAR")->DisplayText(), expected);
    }

    void onlyPlainFloatFieldsAreFloatClass()
    {
        // What the amount-formatting helper relies on: the float class is exactly one class.
        TClientDataSet ds;
        ds.AddField("ADET", TFieldType::Integer);
        ds.AddField("FIYAT", TFieldType::Float);
        ds.AddField("KUR", TFieldType::Currency);
        ds.AddField("ORAN", TFieldType::BCD);
        ds.CreateDataSet();
        ds.Append();
        for (int i = 0; i < ds.FieldCount(); ++i)
            ds.Fields(i)->SetAsFloat(1234.5);
        ds.Post();
        for (int i = 0; i < ds.FieldCount(); ++i)
            if (typeid(*ds.Fields(i)) == typeid(TFloatField))
                ds.Fields(i)->SetDisplayFormat("#,###,##0.00");

        QVERIFY(dynamic_cast<TFloatField *>(ds.FieldByName("KUR"))); // currency is a float variant
        QCOMPARE(ds.FieldByName("ADET")->DisplayText(), QStringLiteral("1235")); // rounded, no separators
        QCOMPARE(ds.FieldByName("FIYAT")->DisplayText(), QStringLiteral("1.234,50"));
        QCOMPARE(ds.FieldByName("KUR")->DisplayText(), QStringLiteral("1.234,50"));
        QCOMPARE(ds.FieldByName("ORAN")->DisplayText(), QStringLiteral("1234,5"));
        QVERIFY(ds.FieldByName("KUR")->DisplayFormat().isEmpty());
    }

    void conversions_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("asString");
        QTest::addColumn<double>("asFloat");
        QTest::newRow("integer") << "STOK_STOKNO" << "10" << 10.0;
        QTest::newRow("float") << "FIYAT" << "1234,5" << 1234.5;
        QTest::newRow("currency") << "KUR" << "2,5" << 2.5;
        QTest::newRow("date") << "TARIH" << "31.01.2026" << -1.0;
    }

    void conversions()
    {
        QFETCH(QString, field);
        QFETCH(QString, asString);
        QFETCH(double, asFloat);
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        TField *f = ds.FieldByName(field);
        QCOMPARE(f->AsString(), asString);
        if (asFloat < 0)
            QVERIFY_THROWS_EXCEPTION(platform::ConvertError, f->AsFloat());
        else
            QCOMPARE(f->AsFloat(), asFloat);
    }

    void textToNumberFailsNamingTheField()
    {
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        try {
            ds.FieldByName("ADI")->AsInteger();
            QFAIL("no exception");
        } catch (const platform::ConvertError &e) {
            QVERIFY2(e.Message().contains(u"ADI"), qPrintable(e.Message()));
        }
    }

    void dateTimesKeepTheirWallClock()
    {
        TClientDataSet ds;
        const QDateTime when(QDate(2026, 3, 29), QTime(2, 30, 15, 250)); // a DST gap in many zones
        ds.LoadFromTable(makeTable({{"SAAT", ColumnType::DateTime}}, {{when}}));
        QCOMPARE(ds.FieldByName("SAAT")->AsDateTime().date(), when.date());
        QCOMPARE(ds.FieldByName("SAAT")->AsDateTime().time().minute(), 30);
        const wire::Table back = ds.ToTable();
        QCOMPARE(back.rowCount(), 1);
        QCOMPARE(back.columnData(0).ints, ds.ToTable().columnData(0).ints);
        ds.Edit();
        ds.FieldByName("SAAT")->SetAsString("2026-01-02T03:04:05");
        ds.Post();
        QCOMPARE(ds.FieldByName("SAAT")->AsDateTime(), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    }
};

KORVEL_TEST_MAIN(TestClientDataSet)
#include "tst_clientdataset.moc"
