// Spreadsheet export read back from the written workbook: captions, column order and
// visibility, native types with their number formats, Turkish text, groups expanded, and
// failures that leave no file behind.
#include "tablebuilder.h"

#include <clientdataset.h>
#include <datasource.h>
#include <exception.h>
#include <gridexporter.h>
#include <gridview.h>

#include <testmain.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <memory>

using wire::ColumnType;

namespace {

const QString kTurkish = QStringLiteral("Çağrı Şişe İğne ışık ÖĞÜ <&> \"tırnak\"");

QByteArray unzipEntry(const QString &file, const QString &entry)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, entry});
    if (!unzip.waitForFinished(10000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

struct Cell {
    QString type;  // "s" shared string, "b" boolean, "" number
    int style = 0;
    QString value;
};

// The parts of a workbook the tests look at.
struct Workbook {
    QMap<QString, Cell> cells; // "A1" -> cell
    QStringList strings;
    QList<int> xfFormats;      // cell style -> number format id
    QMap<int, QString> formats;

    bool load(const QString &file)
    {
        const QByteArray sheet = unzipEntry(file, QStringLiteral("xl/worksheets/sheet1.xml"));
        if (sheet.isEmpty())
            return false;
        QXmlStreamReader x(sheet);
        QString ref;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"c") {
                ref = x.attributes().value("r").toString();
                cells[ref] = {x.attributes().value("t").toString(), x.attributes().value("s").toInt(), {}};
            } else if (x.isStartElement() && (x.name() == u"v" || x.name() == u"t")) {
                cells[ref].value = x.readElementText(); // a value, or inline text
            }
        }
        QXmlStreamReader s(unzipEntry(file, QStringLiteral("xl/sharedStrings.xml")));
        while (!s.atEnd()) {
            s.readNext();
            if (s.isStartElement() && s.name() == u"si")
                strings << QString();
            else if (s.isStartElement() && s.name() == u"t")
                strings.last() += s.readElementText();
        }
        QXmlStreamReader st(unzipEntry(file, QStringLiteral("xl/styles.xml")));
        bool inXfs = false;
        while (!st.atEnd()) {
            st.readNext();
            if (st.isStartElement() && st.name() == u"numFmt")
                formats[st.attributes().value("numFmtId").toInt()] = st.attributes().value("formatCode").toString();
            else if (st.isStartElement() && st.name() == u"cellXfs")
                inXfs = true;
            else if (st.isEndElement() && st.name() == u"cellXfs")
                inXfs = false;
            else if (inXfs && st.isStartElement() && st.name() == u"xf")
                xfFormats << st.attributes().value("numFmtId").toInt();
        }
        return !x.hasError();
    }
    bool isText(const QString &ref) const
    {
        const QString type = cells.value(ref).type;
        return type == u"s" || type == u"inlineStr" || type == u"str";
    }
    QString text(const QString &ref) const
    {
        const Cell c = cells.value(ref);
        return c.type == u"s" ? strings.value(c.value.toInt()) : c.value;
    }
    QString format(const QString &ref) const
    {
        return formats.value(xfFormats.value(cells.value(ref).style));
    }
};

struct Fixture {
    TClientDataSet ds;
    TDataSource source{&ds};
    std::unique_ptr<TGridView> view = std::make_unique<TGridView>();

    Fixture()
    {
        ds.LoadFromTable(makeTable({{"NO", ColumnType::Int32},
                                    {"ADI", ColumnType::String},
                                    {"FIYAT", ColumnType::Double},
                                    {"BAKIYE", ColumnType::Currency},
                                    {"TARIH", ColumnType::Date},
                                    {"DURUM", ColumnType::Int32},
                                    {"SATICI", ColumnType::String}},
                                   {{1, kTurkish, 1234.5, -3.0, QDate(2026, 1, 31), 1, QStringLiteral("AYŞE")},
                                    {2, QStringLiteral("Yağ"), QVariant(), 10.0, QVariant(), 7, QStringLiteral("AHMET")},
                                    {3, QStringLiteral("Balata"), 5.0, 0.0, QDate(2025, 12, 1), 1, QStringLiteral("AYŞE")}}));
        ds.FieldByName("FIYAT")->SetDisplayFormat("#,###,##0.00");
        ds.FieldByName("BAKIYE")->SetDisplayFormat(",0.00 TL;-,0.00 TL");
        view->SetDataSource(&source);
        view->CreateColumn("NO")->Hide();
        view->CreateColumn("ADI", QStringLiteral("Açıklama"));
        view->CreateColumn("FIYAT", QStringLiteral("Fiyat"))->SetFooterSummary(TSummaryKind::Sum);
        view->CreateColumn("BAKIYE", QStringLiteral("Bakiye"));
        view->CreateColumn("TARIH", QStringLiteral("Tarih"));
        TGridColumn *durum = view->CreateColumn("DURUM", QStringLiteral("Durum"));
        durum->SetKind(TCellKind::ImageCombo);
        durum->AddImageComboItem(1, QIcon(), QStringLiteral("Var"));
        view->CreateColumn("SATICI", QStringLiteral("Satıcı"));
        view->CreateColumn("SUNUCUDA_YOK", QStringLiteral("Eksik"));
    }
};

} // namespace

class TestGridExporter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip()
    {
        QTemporaryDir dir;
        Fixture f;
        const QString written = TGridExporter::ExportToXlsx(*f.view, dir.filePath(QStringLiteral("liste.xls")));
        QCOMPARE(written, dir.filePath(QStringLiteral("liste.xlsx")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"liste.xlsx"});

        Workbook wb;
        QVERIFY(wb.load(written));
        // Header row: visible columns in view order with their captions.
        const QStringList header{wb.text("A1"), wb.text("B1"), wb.text("C1"), wb.text("D1"),
                                 wb.text("E1"), wb.text("F1"), wb.text("G1")};
        QCOMPARE(header, (QStringList{"Açıklama", "Fiyat", "Bakiye", "Tarih", "Durum", "Satıcı", "Eksik"}));
        QVERIFY(!wb.cells.contains("H1"));

        QVERIFY(wb.isText("A2"));
        QCOMPARE(wb.text("A2"), kTurkish);
        QVERIFY(!wb.isText("B2"));                             // a number, not text
        QCOMPARE(wb.cells["B2"].type, QString());
        QCOMPARE(wb.cells["B2"].value.toDouble(), 1234.5);
        QCOMPARE(wb.format("B2"), QStringLiteral("#,##0.00"));
        QCOMPARE(wb.cells["C2"].value.toDouble(), -3.0);
        QCOMPARE(wb.format("C2"), QStringLiteral("#,##0.00\" TL\";\"-\"#,##0.00\" TL\""));
        const int serial = int(QDate(1899, 12, 30).daysTo(QDate(2026, 1, 31)));
        QCOMPARE(wb.cells["D2"].value.toDouble(), double(serial)); // a date, as a date serial
        QCOMPARE(wb.format("D2"), QStringLiteral("dd.mm.yyyy"));
        QCOMPARE(wb.text("E2"), QStringLiteral("Var"));       // icon column: its description
        QCOMPARE(wb.text("F2"), QStringLiteral("AYŞE"));
        QVERIFY(wb.cells["B3"].value.isEmpty());               // null stays empty
        QVERIFY(wb.cells["D3"].value.isEmpty());
        QCOMPARE(wb.cells["E3"].value.toDouble(), 7.0);        // no item: the value itself
        QCOMPARE(wb.cells["B5"].value.toDouble(), 1239.5);     // footer sum
    }

    void exportFollowsFilterAndExpandsGroups()
    {
        QTemporaryDir dir;
        Fixture f;
        TGridColumn *satici = f.view->ColumnByFieldName("SATICI");
        satici->SetVisible(false);
        satici->SetGroupIndex(0);
        f.view->ColumnByFieldName("FIYAT")->SetGroupSummary(TSummaryKind::Sum);
        f.view->CollapseAll();
        const QString written = TGridExporter::ExportToXlsx(*f.view, dir.filePath(QStringLiteral("gruplu")));
        QCOMPARE(written, dir.filePath(QStringLiteral("gruplu.xlsx")));
        Workbook wb;
        QVERIFY(wb.load(written));
        QCOMPARE(wb.text("A2"), QStringLiteral("Satıcı : AHMET (Fiyat Toplam = 0,00)"));
        QCOMPARE(wb.text("A3"), QStringLiteral("Yağ"));
        QCOMPARE(wb.text("A5"), QStringLiteral("Satıcı : AYŞE (Fiyat Toplam = 1.239,50)"));
        QCOMPARE(wb.text("A6"), kTurkish);
        QCOMPARE(wb.text("A7"), QStringLiteral("Balata"));
        QCOMPARE(wb.cells["B8"].value.toDouble(), 1239.5);     // group sum of AYŞE

        f.view->ColumnByFieldName("SATICI")->SetGroupIndex(-1);
        f.view->SetFilterValues(f.view->ColumnByFieldName("ADI"), {QStringLiteral("Balata")});
        Workbook filtered;
        QVERIFY(filtered.load(TGridExporter::ExportToXlsx(*f.view, written))); // overwrites
        QCOMPARE(filtered.text("A2"), QStringLiteral("Balata"));
        QVERIFY(!filtered.cells.contains("A3"));
    }

    void unwritableTargetLeavesNothing_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing folder") << "yok/klasor/liste.xlsx";
        QTest::newRow("a folder of that name") << "klasor.xlsx";
    }

    void unwritableTargetLeavesNothing()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("klasor.xlsx"));
        Fixture f;
        try {
            TGridExporter::ExportToXlsx(*f.view, dir.filePath(relative));
            QFAIL("no exception");
        } catch (const platform::Exception &e) {
            QVERIFY2(e.Message().contains(u"kaydedilemedi"), qPrintable(e.Message()));
            QVERIFY2(e.Message().contains(u"xlsx"), qPrintable(e.Message()));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"klasor.xlsx"});
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("expected");
        QTest::newRow("xls") << "/tmp/a.xls" << "/tmp/a.xlsx";
        QTest::newRow("XLS") << "/tmp/a.XLS" << "/tmp/a.xlsx";
        QTest::newRow("xlsx kept") << "/tmp/a.xlsx" << "/tmp/a.xlsx";
        QTest::newRow("none") << "/tmp/a" << "/tmp/a.xlsx";
        QTest::newRow("other") << "/tmp/a.txt" << "/tmp/a.txt.xlsx";
    }

    void fileNames()
    {
        QFETCH(QString, given);
        QFETCH(QString, expected);
        QCOMPARE(TGridExporter::XlsxFileName(given), expected);
    }
};

KORVEL_TEST_MAIN(TestGridExporter)
#include "tst_gridexporter.moc"
