// Grid view over a client dataset: column binding and customisation, summaries, header
// filter, incremental search, custom drawing, grouping, detach/attach around worker loads,
// unbound picture rows. Every model runs under QAbstractItemModelTester.
#include "tablebuilder.h"

#include <clientdataset.h>
#include <datasource.h>
#include <gridview.h>

#include <testmain.h>

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QPainter>
#include <QSignalSpy>
#include <QTableView>
#include <QThread>

#include <memory>

using wire::ColumnType;

namespace {

wire::Table salesTable()
{
    return makeTable({{"NO", ColumnType::Int32},
                      {"ADI", ColumnType::String},
                      {"FIYAT", ColumnType::Double},
                      {"MIKTAR", ColumnType::Int32},
                      {"SATICI", ColumnType::String},
                      {"DURUM", ColumnType::Int32},
                      {"SEC", ColumnType::Int32}},
                     {{1, QStringLiteral("Fren Balatası"), 1234.5, 2, QStringLiteral("AHMET"), 1, 1},
                      {2, QStringLiteral("İğne Yatak"), 5.0, 3, QStringLiteral("AYŞE"), 2, 0},
                      {3, QStringLiteral("ışık"), QVariant(), 10, QStringLiteral("AHMET"), 9, 0},
                      {4, QStringLiteral("Yağ Filtresi"), 100.25, 1, QStringLiteral("AYŞE"), 0, 1}});
}

QByteArray pngBytes(const QColor &color)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Typed characters, Turkish letters included (QTest::keyClicks takes ASCII only).
void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

// A dataset shown through a data source in a view, with the model under the tester.
struct Grid {
    TClientDataSet ds;
    TDataSource source{&ds};
    std::unique_ptr<TGridView> view = std::make_unique<TGridView>();
    std::unique_ptr<QAbstractItemModelTester> tester;

    explicit Grid(bool attach = true)
    {
        ds.LoadFromTable(salesTable());
        ds.FieldByName("FIYAT")->SetDisplayFormat("#,###,##0.00");
        tester = std::make_unique<QAbstractItemModelTester>(view->Model(),
                                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        view->resize(800, 300);
        if (attach)
            view->SetDataSource(&source);
    }
    TGridColumn *col(const char *field) { return view->ColumnByFieldName(QString::fromUtf8(field)); }
    QList<int> shownRecords() const
    {
        QList<int> out;
        for (int r = 0; r < view->RowCount(); ++r)
            out << view->RecordIndex(r);
        return out;
    }
    void createColumns()
    {
        view->CreateColumn("NO");
        view->CreateColumn("ADI", QStringLiteral("Açıklama"));
        view->CreateColumn("FIYAT", QStringLiteral("Fiyat"));
        view->CreateColumn("MIKTAR", QStringLiteral("Miktar"));
        view->CreateColumn("SATICI", QStringLiteral("Satıcı"));
    }
};

} // namespace

class TestGridView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void columnsBindByFieldName()
    {
        Grid g;
        g.createColumns();
        TGridColumn *missing = g.view->CreateColumn("SUNUCUDA_YOK", QStringLiteral("Eksik"));
        QAbstractItemModel *m = g.view->Model();

        QCOMPARE(m->columnCount(), 6);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("NO")); // field name without caption
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Açıklama"));
        QCOMPARE(g.view->DisplayText(0, g.col("FIYAT")), QStringLiteral("1.234,50"));
        QCOMPARE(g.view->DisplayText(2, g.col("FIYAT")), QString()); // null
        QCOMPARE(g.view->DisplayText(0, missing), QString()); // a column the server omits stays empty
        QVERIFY(!missing->Field());
        QVERIFY(g.col("FIYAT")->Alignment() & Qt::AlignRight);
        QVERIFY(g.col("ADI")->Alignment() & Qt::AlignLeft);
        QCOMPARE(g.view->Value(1, QStringLiteral("MIKTAR")).toInt(), 3);
    }

    void visibilityAndColumnChooser()
    {
        Grid g;
        g.createColumns();
        g.col("NO")->Hide();                              // internal
        g.col("MIKTAR")->SetVisible(false);               // hidden but offered
        QTableView *table = g.view->TableView();
        QVERIFY(table->isColumnHidden(0));
        QVERIFY(table->isColumnHidden(3));
        QVERIFY(!table->isColumnHidden(1));

        g.view->ShowColumnChooser();
        auto *list = g.view->findChild<QListWidget *>(QStringLiteral("ColumnChooserList"));
        QVERIFY(list);
        QStringList offered;
        for (int i = 0; i < list->count(); ++i)
            offered << list->item(i)->text();
        QCOMPARE(offered, (QStringList{"Açıklama", "Fiyat", "Miktar", "Satıcı"}));
        QCOMPARE(list->item(2)->checkState(), Qt::Unchecked);
        list->item(2)->setCheckState(Qt::Checked);       // the user brings "Miktar" back
        QVERIFY(g.col("MIKTAR")->Visible());
        QVERIFY(!table->isColumnHidden(3));

        g.col("NO")->Show();
        QVERIFY(g.col("NO")->VisibleForCustomization());
        QVERIFY(!table->isColumnHidden(0));
        // Visibility survives a reload of the dataset.
        g.ds.LoadFromTable(salesTable());
        QVERIFY(!table->isColumnHidden(0));
        g.col("SATICI")->Hide();
        g.ds.LoadFromTable(salesTable());
        QVERIFY(table->isColumnHidden(4));
    }

    void headerMenus()
    {
        Grid g;
        g.createColumns();
        g.col("NO")->Hide();
        g.col("MIKTAR")->SetVisible(false);
        g.view->SetQuickCustomization(true);
        g.view->SetHeaderFilter(true);
        g.view->show();
        QHeaderView *header = g.view->TableView()->horizontalHeader();

        // Picks `entry` in the popup menu that opens next and returns the entries it offered.
        const auto pickInNextMenu = [](const QString &entry) {
            auto offered = std::make_shared<QStringList>();
            QTimer::singleShot(0, [offered, entry] {
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                QVERIFY(menu);
                for (QAction *a : menu->actions()) {
                    if (a->isSeparator())
                        continue;
                    *offered << a->text() + (a->isChecked() ? QStringLiteral("+") : QString());
                    if (a->text() == entry)
                        menu->setActiveAction(a);
                }
                QTest::keyClick(menu, Qt::Key_Return);
            });
            return offered;
        };

        // Quick customisation: the offered columns, checked when shown.
        auto offered = pickInNextMenu(QStringLiteral("Miktar"));
        const QPoint inHeader(header->sectionViewportPosition(1) + 5, 5);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, inHeader, header->viewport()->mapToGlobal(inHeader));
        QApplication::sendEvent(header->viewport(), &menuEvent);
        QCOMPARE(*offered, (QStringList{"Açıklama+", "Fiyat+", "Miktar", "Satıcı+", "Sütun Seçici..."}));
        QVERIFY(g.col("MIKTAR")->Visible());

        // Header filter button: "(Tümü)" and the column's distinct values.
        offered = pickInNextMenu(QStringLiteral("AYŞE"));
        const int satici = g.col("SATICI")->Index();
        const QPoint button(header->sectionViewportPosition(satici) + header->sectionSize(satici) - 5, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, button);
        QCOMPARE(*offered, (QStringList{"(Tümü)", "AHMET", "AYŞE"}));
        QCOMPARE(g.shownRecords(), (QList<int>{1, 3}));
        offered = pickInNextMenu(QStringLiteral("(Tümü)"));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, button);
        QCOMPARE(*offered, (QStringList{"(Tümü)", "AHMET", "AYŞE+"}));
        QVERIFY(!g.view->Filtered());
    }

    void footerSummaries_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        const int count = int(TSummaryKind::Count), sum = int(TSummaryKind::Sum), avg = int(TSummaryKind::Average);
        QTest::newRow("count") << "ADI" << count << "" << "4";
        QTest::newRow("float sum in display format") << "FIYAT" << sum << "" << "1.339,75";
        QTest::newRow("float average skips nulls") << "FIYAT" << avg << "" << "446,58";
        QTest::newRow("integer sum") << "MIKTAR" << sum << "" << "16";
        QTest::newRow("integer average") << "MIKTAR" << avg << "" << "4";
        QTest::newRow("count after filter") << "ADI" << count << "AHMET" << "2";
        QTest::newRow("sum after filter") << "FIYAT" << sum << "AHMET" << "1.234,50";
    }

    void footerSummaries()
    {
        QFETCH(QString, field);
        QFETCH(int, kind);
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        Grid g;
        g.createColumns();
        g.view->SetFooterVisible(true);
        TGridColumn *c = g.view->ColumnByFieldName(field);
        c->SetFooterSummary(TSummaryKind(kind));
        if (!filter.isEmpty())
            g.view->SetFilterValues(g.col("SATICI"), {filter});
        QCOMPARE(g.view->FooterText(c), expected);
        g.view->grab(); // the footer paints under its column

        // The footer follows a local change of a record.
        g.ds.Locate("NO", 4);
        g.ds.Edit();
        g.ds.FieldByName("FIYAT")->SetAsFloat(0);
        g.ds.FieldByName("MIKTAR")->SetAsInteger(0);
        g.ds.Post();
        if (field == u"FIYAT" && kind == int(TSummaryKind::Sum) && filter.isEmpty())
            QCOMPARE(g.view->FooterText(c), QStringLiteral("1.239,50"));
    }

    void headerFilterAndClearFilter()
    {
        Grid g;
        g.createColumns();
        g.view->SetHeaderFilter(true);
        QCOMPARE(g.view->DistinctValues(g.col("SATICI")), (QStringList{"AHMET", "AYŞE"}));

        g.view->SetFilterValues(g.col("SATICI"), {QStringLiteral("AYŞE")});
        QVERIFY(g.view->Filtered());
        QCOMPARE(g.shownRecords(), (QList<int>{1, 3}));
        g.view->SetFilterValues(g.col("MIKTAR"), {QStringLiteral("1")}); // filters combine
        QCOMPARE(g.shownRecords(), (QList<int>{3}));
        // A reload keeps the filter, as the header still shows it.
        g.ds.LoadFromTable(salesTable());
        QCOMPARE(g.shownRecords(), (QList<int>{3}));

        g.view->ClearFilter();
        QVERIFY(!g.view->Filtered());
        QCOMPARE(g.shownRecords(), (QList<int>{0, 1, 2, 3}));
    }

    void incrementalSearch()
    {
        Grid g;
        g.createColumns();
        g.view->SetIncrementalSearch(true);
        g.view->SetFocusedColumn(g.col("ADI"));
        QTableView *table = g.view->TableView();

        typeText(table, QStringLiteral("iğ")); // Turkish upper case: İĞ
        QCOMPARE(g.view->FocusedRow(), 1);
        QCOMPARE(g.view->IncSearchText(), QStringLiteral("iğ"));
        typeText(table, QStringLiteral("x"));  // no row continues this way: nothing moves
        QCOMPARE(g.view->FocusedRow(), 1);
        QCOMPARE(g.view->IncSearchText(), QStringLiteral("iğ"));

        QTest::keyClick(table, Qt::Key_Escape);
        typeText(table, QStringLiteral("IŞ")); // dotless ı of "ışık"
        QCOMPARE(g.view->FocusedRow(), 2);
        QVERIFY(!g.view->IncSearch(QStringLiteral("zz")));
        QCOMPARE(g.view->FocusedRow(), 2);
    }

    void customDrawGetsRowState()
    {
        Grid g;
        g.createColumns();
        struct Call {
            int row, record;
            bool selected, even;
            double price;
        };
        QList<Call> calls;
        TGridColumn *info = g.view->CreateColumn(QString(), QStringLiteral("Fiyat Bilgisi"));
        info->SetOnCustomDrawCell([&](TCustomDrawCellArgs &args) {
            calls.append({args.Row, args.Record, args.Selected, args.EvenRow, args.AsFloat("FIYAT")});
            args.Canvas->fillRect(args.Bounds, Qt::red);
            args.Done = true;
        });
        // Sorted descending by NO, so shown positions differ from record positions.
        g.view->SetSorting(true);
        g.view->TableView()->horizontalHeader()->sectionClicked(0);
        g.view->TableView()->horizontalHeader()->sectionClicked(0);
        QCOMPARE(g.shownRecords(), (QList<int>{3, 2, 1, 0}));
        g.view->SetFocusedRow(1);
        calls.clear();
        const QImage shot = g.view->grab().toImage();

        QCOMPARE(calls.size(), 4);
        for (const Call &c : calls) {
            QCOMPARE(c.record, g.view->RecordIndex(c.row));
            QCOMPARE(c.even, c.row % 2 == 0);
            QCOMPARE(c.selected, c.row == 1);
        }
        auto byRow = [&](int row) { return *std::find_if(calls.begin(), calls.end(), [row](const Call &c) { return c.row == row; }); };
        QCOMPARE(byRow(0).price, 100.25);
        QCOMPARE(byRow(1).price, 0.0); // null price
        const QRect cell = g.view->TableView()->visualRect(g.view->Model()->index(0, info->Index()));
        const QPoint inCell = g.view->TableView()->viewport()->mapTo(g.view.get(), cell.center());
        QCOMPARE(shot.pixelColor(inCell), QColor(Qt::red));
    }

    void stylesPaintRows()
    {
        Grid g;
        g.createColumns();
        TGridStyles styles;
        styles.Content.Color = styles.ContentEven.Color = QColor(239, 239, 239);
        styles.ContentOdd.Color = Qt::white;
        styles.Selection.Color = QColor(210, 240, 249);
        styles.Selection.TextColor = Qt::black;
        styles.Header.Color = QColor(61, 65, 74);
        styles.Indicator.Color = QColor(66, 66, 66);
        g.view->SetStyles(styles);
        g.view->SetGridLinesVisible(false);
        g.view->SetFocusRect(false);
        g.view->SetFocusedRow(1);
        const QImage shot = g.view->grab().toImage();
        QTableView *table = g.view->TableView();
        const auto colourAt = [&](int row) {
            // Right end of the name cell: clear of its text.
            const QRect cell = table->visualRect(g.view->Model()->index(row, 1));
            return shot.pixelColor(table->viewport()->mapTo(g.view.get(), QPoint(cell.right() - 2, cell.center().y())));
        };
        QCOMPARE(colourAt(0), QColor(239, 239, 239));
        QCOMPARE(colourAt(1), QColor(210, 240, 249)); // selected
        QCOMPARE(colourAt(2), QColor(239, 239, 239));
        QCOMPARE(colourAt(3), QColor(Qt::white));
        const QHeaderView *header = table->horizontalHeader();
        QCOMPARE(shot.pixelColor(header->mapTo(g.view.get(), QPoint(header->sectionViewportPosition(1) + 3, 3))),
                 QColor(61, 65, 74));
    }

    void groupingWithFooters()
    {
        Grid g;
        g.createColumns();
        g.view->SetGroupFootersVisible(true);
        g.col("SATICI")->SetVisible(false);
        g.col("SATICI")->SetGroupIndex(0);
        g.col("FIYAT")->SetGroupSummary(TSummaryKind::Sum);
        g.col("NO")->SetGroupSummary(TSummaryKind::Count);
        g.col("FIYAT")->SetFooterSummary(TSummaryKind::Sum);

        QCOMPARE(g.shownRecords(), (QList<int>{-1, 0, 2, -1, -1, 1, 3, -1}));
        QVERIFY(g.view->IsGroupRow(0));
        QCOMPARE(g.view->DisplayText(0, g.col("ADI")), QStringLiteral("Satıcı : AHMET (Adet = 2, Fiyat Toplam = 1.234,50)"));
        QVERIFY(g.view->IsGroupFooterRow(3));
        QCOMPARE(g.view->DisplayText(3, g.col("FIYAT")), QStringLiteral("1.234,50"));
        QCOMPARE(g.view->DisplayText(3, g.col("NO")), QStringLiteral("2"));
        QCOMPARE(g.view->DisplayText(7, g.col("FIYAT")), QStringLiteral("105,25"));
        QCOMPARE(g.view->FooterText(g.col("FIYAT")), QStringLiteral("1.339,75"));

        g.view->CollapseAll();
        QCOMPARE(g.shownRecords(), (QList<int>{-1, -1, -1, -1}));
        QCOMPARE(g.view->DisplayText(1, g.col("FIYAT")), QStringLiteral("1.234,50")); // footers stay
        QVERIFY(!g.view->GroupExpanded(2));
        g.view->SetGroupExpanded(2, true);
        QCOMPARE(g.shownRecords(), (QList<int>{-1, -1, -1, 1, 3, -1}));
        g.view->grab(); // group rows paint across the view
    }

    void detachedViewIgnoresWorkerLoad()
    {
        Grid g;
        g.createColumns();
        QCOMPARE(g.view->RowCount(), 4);
        QSignalSpy resets(g.view->Model(), &QAbstractItemModel::modelReset);

        // The load pattern: detach, fill on a worker with controls disabled, re-attach.
        g.view->BeginUpdate();
        g.view->SetDataSource(nullptr);
        QCOMPARE(g.view->RowCount(), 0);
        bool notifiedOnUiThread = true;
        connect(&g.source, &TDataSource::DataSetChanged, g.view.get(),
                [&] { notifiedOnUiThread &= QThread::currentThread() == qApp->thread(); });
        std::unique_ptr<QThread> worker(QThread::create([&] {
            g.ds.DisableControls();
            wire::Table t = salesTable();
            for (int i = 0; i < 20; ++i) {
                const int r = t.appendRow();
                t.setInt(r, 0, 100 + i);
            }
            g.ds.LoadFromTable(std::move(t));
            g.ds.EnableControls();
        }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QCoreApplication::processEvents();
        QCOMPARE(g.view->RowCount(), 0);
        g.view->SetDataSource(&g.source);
        g.view->EndUpdate();
        QVERIFY(notifiedOnUiThread);
        QCOMPARE(g.view->RowCount(), 24);
        QCOMPARE(g.view->FocusedRow(), 0); // follows the dataset's cursor after a load
        QCOMPARE(g.view->DisplayText(23, g.col("NO")), QStringLiteral("119"));
        QVERIFY(resets.count() >= 2);
    }

    void disabledControlsRefreshAttachedViewOnce()
    {
        Grid g;
        g.createColumns();
        QSignalSpy resets(g.view->Model(), &QAbstractItemModel::modelReset);
        QSignalSpy changes(g.view->Model(), &QAbstractItemModel::dataChanged);
        g.ds.DisableControls();
        g.ds.Edit();
        g.ds.FieldByName("ADI")->SetAsString(QStringLiteral("Değişti"));
        g.ds.Post();
        g.ds.Append();
        g.ds.FieldByName("NO")->SetAsInteger(5);
        g.ds.Post();
        QCOMPARE(resets.count(), 0);
        g.ds.EnableControls();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(g.view->RowCount(), 5);

        g.ds.First();
        g.ds.Edit();
        g.ds.FieldByName("ADI")->SetAsString(QStringLiteral("Yine"));
        g.ds.Post(); // enabled: one row changes, no reset
        QCOMPARE(resets.count(), 1);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(g.view->DisplayText(0, g.col("ADI")), QStringLiteral("Yine"));
    }

    void dataGoingAwayEmptiesTheView()
    {
        TGridView view;
        QAbstractItemModelTester tester(view.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        view.CreateColumn("ADI");
        auto ds = std::make_unique<TClientDataSet>();
        ds->LoadFromTable(salesTable());
        auto source = std::make_unique<TDataSource>(ds.get());
        view.SetDataSource(source.get());
        QCOMPARE(view.RowCount(), 4);

        source->SetEnabled(false);
        QCOMPARE(view.RowCount(), 0);
        source->SetEnabled(true);
        QCOMPARE(view.RowCount(), 4);

        ds.reset();
        QCOMPARE(view.RowCount(), 0);
        view.grab();
        ds = std::make_unique<TClientDataSet>();
        ds->LoadFromTable(salesTable());
        source->SetDataSet(ds.get());
        QCOMPARE(view.RowCount(), 4);
        source.reset();
        QCOMPARE(view.RowCount(), 0);
        QVERIFY(!view.DataSource());
        view.grab();
    }

    void focusMovesTheDatasetCursor()
    {
        Grid g;
        g.createColumns();
        QSignalSpy focus(g.view.get(), &TGridView::FocusedRecordChanged);
        g.view->SetFocusedRow(2);
        QCOMPARE(g.ds.RecNo(), 3);
        QCOMPARE(g.view->FocusedRecordIndex(), 2);
        QCOMPARE(focus.count(), 1);
        QCOMPARE(focus.at(0).at(1).toInt(), 2);
        g.view->SetFocusedRow(-1);
        QCOMPARE(g.view->FocusedRow(), -1);
        QCOMPARE(g.view->FocusedRecordIndex(), -1);

        // A reload focuses the cursor's record; emptying the list reports the lost focus.
        focus.clear();
        g.ds.LoadFromTable(salesTable());
        QCOMPARE(g.view->FocusedRow(), 0);
        QCOMPARE(focus.count(), 1);
        g.ds.EmptyDataSet();
        QCOMPARE(focus.count(), 2);
        QCOMPARE(focus.at(1).at(1).toInt(), -1);
    }

    void sortingByHeader()
    {
        Grid g;
        g.createColumns();
        QHeaderView *header = g.view->TableView()->horizontalHeader();
        header->sectionClicked(3); // MIKTAR 2, 3, 10, 1: numeric, not text order
        QCOMPARE(g.shownRecords(), (QList<int>{3, 0, 1, 2}));
        header->sectionClicked(3);
        QCOMPARE(g.shownRecords(), (QList<int>{2, 1, 0, 3}));
        g.view->SetSorting(false); // rows go back to the server's order and stay there
        QCOMPARE(g.shownRecords(), (QList<int>{0, 1, 2, 3}));
        g.view->show();
        g.view->SetFocusedRow(2);
        const QPoint onMiktar(header->sectionViewportPosition(3) + 10, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onMiktar);
        QCOMPARE(g.shownRecords(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(g.view->FocusedRow(), 2);

        // With sorting on, a click sorts and the focus stays on its record.
        g.view->SetSorting(true);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onMiktar);
        QCOMPARE(g.shownRecords(), (QList<int>{3, 0, 1, 2}));
        QCOMPARE(g.view->FocusedRecordIndex(), 2);
    }

    void cellKinds()
    {
        Grid g;
        TGridColumn *durum = g.view->CreateColumn("DURUM");
        TGridColumn *sec = g.view->CreateColumn("SEC", QStringLiteral("Seç"));
        QPixmap red(8, 8), blue(8, 8), grey(8, 8);
        red.fill(Qt::red), blue.fill(Qt::blue), grey.fill(Qt::gray);
        durum->SetKind(TCellKind::ImageCombo);
        durum->AddImageComboItem(1, QIcon(red), QStringLiteral("Var"));
        durum->AddImageComboItem(2, QIcon(blue), QStringLiteral("Telefon Açınız"));
        sec->SetKind(TCellKind::CheckBox);
        sec->SetCheckValues(1, 0);
        QAbstractItemModel *m = g.view->Model();

        QVERIFY(m->data(m->index(0, 0), Qt::DecorationRole).canConvert<QIcon>());
        QVERIFY(!m->data(m->index(2, 0), Qt::DecorationRole).isValid()); // 9: no picture
        QCOMPARE(m->data(m->index(0, 0)).toString(), QString());         // icon only
        durum->SetShowDescriptions(true);
        QCOMPARE(m->data(m->index(1, 0)).toString(), QStringLiteral("Telefon Açınız"));
        durum->SetImageComboDefault(QIcon(grey), QStringLiteral("Bilinmiyor"));
        QVERIFY(m->data(m->index(2, 0), Qt::DecorationRole).isValid());

        QCOMPARE(m->data(m->index(0, 1), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(m->data(m->index(1, 1), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        g.view->grab();
    }

    void unboundPictureRows()
    {
        TGridView view;
        QAbstractItemModelTester tester(view.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        view.SetUnbound(true);
        view.SetHeaderVisible(false);
        view.SetIndicatorWidth(0);
        view.SetDataRowHeight(405);
        TGridColumn *picture = view.CreateColumn();
        picture->SetName("duyuru");
        picture->SetValueType(TFieldType::Blob);
        picture->SetKind(TCellKind::Image);
        picture->SetWidth(605);
        TGridColumn *arama = view.CreateColumn();
        arama->SetName("arama");
        arama->Hide();
        QSignalSpy resets(view.Model(), &QAbstractItemModel::modelReset);

        view.BeginUpdate();
        const QList<QByteArray> pictures{pngBytes(Qt::green), QByteArray("\x89PNG garbage", 12), QByteArray()};
        for (int i = 0; i < pictures.size(); ++i) {
            const int r = view.AppendRecord();
            if (!pictures[i].isEmpty())
                view.SetValue(r, picture, pictures[i]);
            view.SetValue(r, arama, QStringLiteral("ARAMA%1").arg(i));
        }
        QCOMPARE(view.RowCount(), 0); // nothing shown until the update ends
        view.EndUpdate();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(view.RowCount(), 3);

        QAbstractItemModel *m = view.Model();
        QCOMPARE(m->data(m->index(0, 0), Qt::DecorationRole).value<QPixmap>().size(), QSize(8, 6));
        QVERIFY(!m->data(m->index(1, 0), Qt::DecorationRole).isValid()); // corrupt: empty cell
        QVERIFY(!m->data(m->index(2, 0), Qt::DecorationRole).isValid());
        QCOMPARE(view.Value(1, arama).toString(), QStringLiteral("ARAMA1"));
        view.resize(700, 900);
        view.grab();

        view.DeleteRecord(0);
        QCOMPARE(view.RowCount(), 2);
        QCOMPARE(view.Value(0, arama).toString(), QStringLiteral("ARAMA1"));
        view.ClearRecords();
        QCOMPARE(view.RowCount(), 0);
    }

    void tagWidths_data()
    {
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<int>("unit");
        QTest::newRow("weights 20, grid 1230") << 1230 << 60;
        QTest::newRow("weights 20, grid 1030") << 1030 << 50;
        QTest::newRow("truncated, not rounded") << 1049 << 50;
        QTest::newRow("narrower than the margin") << 20 << 0;
    }

    void tagWidths()
    {
        QFETCH(int, gridWidth);
        QFETCH(int, unit);
        Grid g;
        g.createColumns();
        const int tags[] = {3, 8, 5, 1, 4}; // sum of the shown ones: 20
        for (int i = 0; i < 5; ++i)
            g.view->Columns(i)->SetTag(tags[i]);
        g.col("MIKTAR")->SetVisible(false);
        g.col("MIKTAR")->SetWidth(77);
        QCOMPARE(g.view->ApplyTagWidths(gridWidth), unit);
        QCOMPARE(g.col("NO")->Width(), 3 * unit);
        QCOMPARE(g.col("ADI")->Width(), 8 * unit);
        QCOMPARE(g.col("MIKTAR")->Width(), 77); // hidden columns are not weighted in
    }

    void bestFitAndWidths()
    {
        Grid g;
        g.createColumns();
        g.col("MIKTAR")->SetVisible(false);
        g.col("MIKTAR")->SetWidth(33);
        g.view->ApplyBestFit();
        const QFontMetrics fm(g.view->TableView()->font());
        QVERIFY(g.col("ADI")->Width() >= fm.horizontalAdvance(QStringLiteral("Yağ Filtresi")));
        QVERIFY(g.col("NO")->Width() < g.col("ADI")->Width());
        QCOMPARE(g.col("MIKTAR")->Width(), 33); // hidden columns keep their width

        g.col("ADI")->SetWidth(180);
        QCOMPARE(g.view->TableView()->horizontalHeader()->sectionSize(1), 180);
        // The stock list switches its row height with the window width, rows shown.
        g.view->SetDataRowHeight(100);
        QCOMPARE(g.view->TableView()->rowHeight(3), 100);
        g.view->SetDataRowHeight(60);
        QCOMPARE(g.view->TableView()->rowHeight(0), 60);

        // Auto width: the shown columns share the width, in proportion to their widths.
        g.view->show();
        g.view->SetColumnAutoWidth(true);
        QHeaderView *header = g.view->TableView()->horizontalHeader();
        int total = 0;
        for (TGridColumn *c : g.view->VisibleColumns())
            total += header->sectionSize(c->Index());
        QCOMPARE(total, g.view->ClientWidth());
        QVERIFY(header->sectionSize(1) > header->sectionSize(0));
    }
};

KORVEL_TEST_MAIN(TestGridView)
#include "tst_gridview.moc"
