#pragma once
// Data-bound grid view: a table of columns bound by field name to the dataset of a
// TDataSource, or unbound (rows added by code). Everything a list window needs is a
// setting here: captions, visibility and column chooser membership, width weights (Tag),
// cell kinds (label, memo, check box, image-combo, image from bytes, custom drawing),
// styles, header filter buttons, incremental search, footer and group summaries, grouping,
// best fit and begin/end update.
//
//   auto *view = new TGridView(tab);
//   view->setObjectName("cxGrid1DBTableView1");
//   view->SetDataSource(DataSource1);
//   auto *durum = view->CreateColumn("DURUM", "Durum");
//   durum->SetKind(TCellKind::ImageCombo);
//   durum->AddImageComboItem(1, varIcon, "Var");
//   view->CreateColumn("OEM1", "Oem1")->SetFooterSummary(TSummaryKind::Count);
//
// The load pattern of the list windows (the view never reads a dataset being refilled):
//   UI thread:  grid->setEnabled(false); view->SetDataSource(nullptr); view->BeginUpdate();
//   worker:     ds->DisableControls(); ds->LoadFromTable(std::move(packet)); ds->EnableControls();
//   UI thread:  view->SetDataSource(source); view->EndUpdate(); grid->setEnabled(true);
//
// Rows are the dataset's records after the header filter, sorting and grouping. "Row"
// arguments are shown-row positions (0-based); group rows and group footer rows are rows
// too, with RecordIndex() -1. Views are touched on the UI thread only.
#include "datasource.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QRect>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractItemModel;
class QMenu;
class QPainter;
class QTableView;
class TClientDataSet;
class TDataSource;
class TField;
class TGridView;
enum class TFieldType;

namespace gridview_detail {
class GridModel;
class GridTable;
class GridHeader;
class GridIndicator;
class GridFooter;
class GridDelegate;
}

enum class TCellKind {
    Text,       // one line, vertically centred
    Label,      // word-wrapped, vertically centred
    Memo,       // word-wrapped from the top
    CheckBox,   // checked when the value equals CheckedValue
    ImageCombo, // value -> icon (and description); other values show the default or nothing
    Image,      // picture decoded from the value's bytes (format recognised from the bytes)
};

enum class TSummaryKind { None, Count, Sum, Average };

// One style of the view. Unset parts (invalid colour, no font) leave the default look.
struct TGridStyle {
    QColor Color;      // background
    QColor TextColor;
    std::optional<QFont> Font;
};

struct TGridStyles {
    TGridStyle Background;   // area below the last row
    TGridStyle Content;      // cells, unless the even/odd style says otherwise
    TGridStyle ContentEven;  // rows 0, 2, 4, ... among the shown rows
    TGridStyle ContentOdd;
    TGridStyle Header;
    TGridStyle Selection;
    TGridStyle Indicator;
};

// What a custom-draw callback gets for one cell. Paint on Canvas inside Bounds; set Done
// when the cell is drawn completely, otherwise the grid paints its normal content on top.
struct TCustomDrawCellArgs {
    QPainter *Canvas = nullptr;
    QRect Bounds;
    const TGridView *View = nullptr;
    int Row = -1;        // shown row
    int Record = -1;     // dataset record of the row
    bool Selected = false;
    bool EvenRow = true; // row position among the shown rows, counted from 0, is even
    QFont Font;          // the font the grid prepared for the cell
    bool Done = false;

    // The row's value of any field of the dataset (invalid when absent or null).
    QVariant Value(const QString &fieldName) const;
    double AsFloat(const QString &fieldName) const;
};
using TCustomDrawCellEvent = std::function<void(TCustomDrawCellArgs &)>;

struct TImageComboItem {
    QVariant Value;
    QIcon Image;
    QString Description;
};

class TGridColumn {
public:
    TGridView *View() const { return FView; }
    int Index() const;                         // position in view order

    const QString &Name() const { return FName; }
    void SetName(const QString &name) { FName = name; }
    const QString &FieldName() const { return FFieldName; }
    void SetFieldName(const QString &fieldName);
    TField *Field() const;                     // bound field, nullptr when the dataset lacks it

    QString Caption() const { return FCaption.isNull() ? FFieldName : FCaption; }
    void SetCaption(const QString &caption);

    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    // Offered in the column chooser and the header's quick customisation. Columns that are
    // hidden and not offered are internal.
    bool VisibleForCustomization() const { return FVisibleForCustomization; }
    void SetVisibleForCustomization(bool offered) { FVisibleForCustomization = offered; }
    // "Show": visible and offered; "hide": neither.
    void Show() { SetVisibleForCustomization(true), SetVisible(true); }
    void Hide() { SetVisibleForCustomization(false), SetVisible(false); }

    int Tag() const { return FTag; }           // width weight for proportional fits
    void SetTag(int tag) { FTag = tag; }
    int Width() const { return FWidth; }
    void SetWidth(int width);

    Qt::Alignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(Qt::Alignment a);
    // Cell alignment; by default numbers right, everything else left, always vertically centred.
    Qt::Alignment Alignment() const;
    void SetAlignment(Qt::Alignment a);

    TCellKind Kind() const { return FKind; }
    void SetKind(TCellKind kind);

    void SetCheckValues(const QVariant &checked, const QVariant &unchecked);
    const QVariant &CheckedValue() const { return FChecked; }
    const QVariant &UncheckedValue() const { return FUnchecked; }

    void AddImageComboItem(const QVariant &value, const QIcon &image, const QString &description = {});
    void ClearImageComboItems() { FImageItems.clear(); }
    void SetImageComboDefault(const QIcon &image, const QString &description = {});
    void SetShowDescriptions(bool show) { FShowDescriptions = show; }
    bool ShowDescriptions() const { return FShowDescriptions; }
    const std::vector<TImageComboItem> &ImageComboItems() const { return FImageItems; }
    // The item shown for a value, nullptr for none.
    const TImageComboItem *ImageComboItemFor(const QVariant &value) const;

    void SetOnCustomDrawCell(TCustomDrawCellEvent event) { FCustomDraw = std::move(event); }
    const TCustomDrawCellEvent &OnCustomDrawCell() const { return FCustomDraw; }

    TSummaryKind FooterSummary() const { return FFooterSummary; }
    void SetFooterSummary(TSummaryKind kind);
    TSummaryKind GroupSummary() const { return FGroupSummary; }
    void SetGroupSummary(TSummaryKind kind);

    // Grouping by this column (one level: GroupIndex 0); -1 for none.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index);

    // Header filter button for this column when the view's header filter is on.
    bool Filtering() const { return FFiltering; }
    void SetFiltering(bool on) { FFiltering = on; }

    // Type of the values of an unbound view's column.
    TFieldType ValueType() const { return FValueType; }
    void SetValueType(TFieldType type) { FValueType = type; }

private:
    friend class TGridView;
    explicit TGridColumn(TGridView *view);

    TGridView *FView;
    QString FName;
    QString FFieldName;
    QString FCaption;
    bool FVisible = true;
    bool FVisibleForCustomization = true;
    int FTag = 0;
    int FWidth = 64;
    Qt::Alignment FHeaderAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    std::optional<Qt::Alignment> FAlignment;
    TCellKind FKind = TCellKind::Text;
    QVariant FChecked = 1;
    QVariant FUnchecked = 0;
    std::vector<TImageComboItem> FImageItems;
    std::optional<TImageComboItem> FImageDefault;
    bool FShowDescriptions = false;
    TCustomDrawCellEvent FCustomDraw;
    TSummaryKind FFooterSummary = TSummaryKind::None;
    TSummaryKind FGroupSummary = TSummaryKind::None;
    int FGroupIndex = -1;
    bool FFiltering = true;
    TFieldType FValueType;
};

class TGridView : public QWidget {
    Q_OBJECT
public:
    explicit TGridView(QWidget *parent = nullptr);
    ~TGridView() override;

    // ---- columns (view order) ----
    TGridColumn *CreateColumn(const QString &fieldName = {}, const QString &caption = {});
    void CreateAllColumns();                   // one column per field of the current dataset
    void ClearColumns();
    int ColumnCount() const { return int(FColumns.size()); }
    TGridColumn *Columns(int index) const;
    TGridColumn *ColumnByFieldName(const QString &fieldName) const; // nullptr when absent
    TGridColumn *ColumnByName(const QString &name) const;
    std::vector<TGridColumn *> VisibleColumns() const;

    // ---- data ----
    TDataSource *DataSource() const { return FDataSource; }
    // nullptr detaches: the view shows no rows until re-attached and ignores the dataset meanwhile.
    void SetDataSource(TDataSource *source);
    TClientDataSet *DataSet() const;           // bound dataset, or the unbound rows

    // Unbound mode: rows are added by code. The columns' Name (or FieldName) and ValueType
    // define the row layout; define the columns first.
    void SetUnbound(bool unbound);
    bool Unbound() const { return FUnbound; }
    int AppendRecord();                        // returns the new record index
    void DeleteRecord(int record);
    void ClearRecords();
    void SetValue(int record, TGridColumn *column, const QVariant &value);

    // ---- shown rows ----
    int RowCount() const;
    int RecordIndex(int row) const;            // -1 for group rows
    bool IsGroupRow(int row) const;
    bool IsGroupFooterRow(int row) const;
    QVariant Value(int row, const QString &fieldName) const; // raw value; invalid when none
    QVariant Value(int row, const TGridColumn *column) const;
    QString DisplayText(int row, const TGridColumn *column) const;
    // Row of the first shown data row holding this record, -1 when not shown.
    int RowOfRecord(int record) const;

    // ---- focus ----
    int FocusedRow() const;                    // -1 when none
    void SetFocusedRow(int row);
    int FocusedRecordIndex() const;            // -1 when none or on a group row
    TGridColumn *FocusedColumn() const;
    void SetFocusedColumn(TGridColumn *column);
    bool IsRowSelected(int row) const;

    // ---- options ----
    // The grid font is the view's own font (setFont); the header's comes from Styles().
    // Cells are never edited in place: every list is read-only and changes go through the
    // dataset (Edit/Post). The flag is kept for the windows that state it.
    void SetReadOnly(bool on) { FReadOnly = on; }
    bool ReadOnly() const { return FReadOnly; }
    void SetRowSelect(bool on);                // whole-row selection
    void SetIndicatorWidth(int width);         // 0 hides the row indicator
    void SetHeaderHeight(int height);
    void SetHeaderVisible(bool visible);
    void SetBorderVisible(bool visible);
    void SetColumnSizing(bool on);             // the user may drag column widths
    void SetDataRowHeight(int height);
    int DataRowHeight() const { return FDataRowHeight; }
    void SetGridLineColor(const QColor &color);
    void SetGridLinesVisible(bool visible);
    void SetSorting(bool on);                  // header clicks sort
    void SetAlternateRowColors(bool on);       // used when no even/odd style is given
    void SetFocusRect(bool on);
    void SetIncrementalSearch(bool on) { FIncSearch = on; }
    void SetPullFocusing(bool on);
    void SetQuickCustomization(bool on) { FQuickCustomization = on; }
    void SetHeaderFilter(bool on);
    void SetFooterVisible(bool visible);
    void SetGroupFootersVisible(bool visible);
    void SetColumnAutoWidth(bool on);          // visible columns share the width
    void SetPixelScrolling(bool on);
    const TGridStyles &Styles() const { return FStyles; }
    void SetStyles(const TGridStyles &styles);
    void SetPopupMenu(QMenu *menu);
    QMenu *PopupMenu() const { return FPopupMenu; }

    // ---- header filter ----
    // Rows pass when the column's text value is one of `values`; an empty list removes
    // the column's filter.
    void SetFilterValues(TGridColumn *column, const QStringList &values);
    QStringList FilterValues(const TGridColumn *column) const;
    QStringList DistinctValues(const TGridColumn *column) const; // sorted, for the filter list
    void ClearFilter();
    bool Filtered() const;

    // ---- incremental search ----
    // Focuses the first row whose text in the focused column starts with `text` (case-
    // insensitive). Returns false and changes nothing when no row matches.
    bool IncSearch(const QString &text);
    QString IncSearchText() const { return FIncSearchText; }

    // ---- grouping ----
    void CollapseAll();
    void ExpandAll();
    void SetGroupExpanded(int row, bool expanded);
    bool GroupExpanded(int row) const;

    // ---- summaries ----
    QVariant FooterValue(const TGridColumn *column) const;  // over the filtered records
    QString FooterText(const TGridColumn *column) const;    // in the field's display format
    QString SummaryText(const TGridColumn *column, TSummaryKind kind, const std::vector<int> &records) const;

    // Rows for exports: every record that passes the filter in shown order, and the groups
    // with all their records whether expanded or not.
    const std::vector<int> &FilteredRecords() const;
    bool Grouped() const;
    int GroupCount() const;
    QString GroupText(int group) const;
    const std::vector<int> &GroupRecords(int group) const;

    // ---- updating and sizing ----
    // Changes between BeginUpdate and the outermost EndUpdate repaint once.
    void BeginUpdate();
    void EndUpdate();
    bool UpdateLocked() const { return FUpdateCount > 0; }
    // Sizes the given column (or every visible one) to its header and content; large data
    // is measured on a sample of rows.
    void ApplyBestFit(TGridColumn *column = nullptr);
    // The proportional fit of the list windows: every visible column gets Tag x unit, the
    // unit being trunc((gridWidth - 30) / sum of the visible Tags), in one update. Returns
    // the unit (0 and no change when the visible Tags add up to 0).
    int ApplyTagWidths(int gridWidth);
    // Width available to the columns (without indicator and scroll bar).
    int ClientWidth() const;

    void ShowColumnChooser();

    // For tests and the exporter.
    QAbstractItemModel *Model() const;
    QTableView *TableView() const;

Q_SIGNALS:
    void DblClick();
    // Also after a reload: the view focuses the dataset's current record, or reports -1
    // when no row is left.
    void FocusedRecordChanged(int previousRow, int row);
    void FocusedColumnChanged();
    // Right click over the rows; the popup menu (when set) is shown after this signal.
    void PopupMenuRequested(const QPoint &globalPos);
    void Resized();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TGridColumn;
    friend class gridview_detail::GridModel;
    friend class gridview_detail::GridTable;
    friend class gridview_detail::GridHeader;
    friend class gridview_detail::GridIndicator;
    friend class gridview_detail::GridFooter;
    friend class gridview_detail::GridDelegate;

    void columnChanged(TGridColumn *column, bool structural);
    void applyHeader();
    void rebuildRows();
    void requestRebuild();
    void rebuildSpans();
    void updateFooter();
    void autoWidth();
    void showFilterMenu(int column, const QPoint &globalPos);
    void showQuickCustomization(const QPoint &globalPos);
    void ensureUnboundData();
    void onCurrentChanged(int previousRow, int row, int previousColumn, int column);

    std::vector<std::unique_ptr<TGridColumn>> FColumns;
    QPointer<TDataSource> FDataSource;
    std::unique_ptr<TClientDataSet> FUnboundData;
    bool FUnbound = false;

    gridview_detail::GridModel *FModel = nullptr;
    gridview_detail::GridTable *FTable = nullptr;
    gridview_detail::GridHeader *FHeader = nullptr;
    gridview_detail::GridIndicator *FIndicator = nullptr;
    gridview_detail::GridFooter *FFooter = nullptr;
    gridview_detail::GridDelegate *FDelegate = nullptr;
    QMenu *FPopupMenu = nullptr;
    QPointer<QWidget> FChooser;

    TGridStyles FStyles;
    QColor FGridLineColor;
    bool FGridLines = true;
    bool FReadOnly = true;
    bool FRowSelect = true;
    bool FSorting = true;
    bool FAlternate = false;
    bool FFocusRect = true;
    bool FIncSearch = false;
    bool FQuickCustomization = false;
    bool FHeaderFilter = false;
    bool FGroupFooters = false;
    bool FAutoWidth = false;
    int FIndicatorWidth = 12;
    int FDataRowHeight = 22;
    int FUpdateCount = 0;
    bool FPendingRebuild = false;  // a data change arrived during an update
    bool FIncSearchActive = false;
    QString FIncSearchText;
};
