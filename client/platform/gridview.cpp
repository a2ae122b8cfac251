#include "gridview.h"

#include "clientdataset.h"
#include "datasource.h"
#include "displayformat.h"
#include "exception.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCache>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace gridview_detail {

constexpr int RecordRole = Qt::UserRole + 1;
constexpr int kFilterButtonWidth = 14;
constexpr int kBestFitSample = 1000;

// ---------------------------------------------------------------------------------------
// Model: shown rows of the view over the dataset (filtered, sorted, grouped), one model
// column per view column. Hidden columns stay in the model and are hidden in the header.

class GridModel : public QAbstractTableModel {
public:
    enum class Kind : quint8 { Data, GroupHeader, GroupFooter };
    struct Entry {
        Kind kind;
        int index; // record for data rows, group for the others
    };
    struct Group {
        QString text;    // display text of the key
        QString keyText; // text identity (expanded state survives reloads)
        std::vector<int> records;
    };

    explicit GridModel(TGridView *view) : QAbstractTableModel(view), v(view) { pixmaps.setMaxCost(96 * 1024); }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(entries.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : v->ColumnCount(); }

    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    void rebuild();
    void beginStructure() { beginResetModel(); }
    void endStructure() { endResetModel(); }
    void recordChanged(int record);

    TField *field(int column) const
    {
        return size_t(column) < fields.size() ? fields[size_t(column)] : nullptr;
    }
    int recordAt(int row) const
    {
        if (row < 0 || size_t(row) >= entries.size())
            return -1;
        const Entry &e = entries[size_t(row)];
        return e.kind == Kind::Data ? e.index : -1;
    }
    QString displayText(int row, int column) const;
    QPixmap pixmap(int record, int column) const;
    const TImageComboItem *imageItem(int record, int column) const;
    bool checked(int record, int column) const;
    QString groupText(int group) const;

    TGridView *v;
    TClientDataSet *ds = nullptr;
    std::vector<TField *> fields;
    std::vector<Entry> entries;
    std::vector<Group> groups;
    std::vector<int> filtered; // records passing the filter, in shown order
    QHash<const TGridColumn *, QSet<QString>> filters;
    QSet<QString> collapsed;
    const TGridColumn *sortColumn = nullptr;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
    const TGridColumn *groupColumn = nullptr;
    mutable QCache<qint64, QPixmap> pixmaps;
    mutable QHash<const TGridColumn *, QVariant> footerCache;
};

QString GridModel::displayText(int row, int column) const
{
    if (row < 0 || size_t(row) >= entries.size() || column < 0 || column >= v->ColumnCount())
        return {};
    const Entry &e = entries[size_t(row)];
    const TGridColumn *col = v->Columns(column);
    if (e.kind == Kind::GroupHeader)
        return groupText(e.index);
    if (e.kind == Kind::GroupFooter)
        return v->SummaryText(col, col->GroupSummary(), groups[size_t(e.index)].records);
    TField *f = field(column);
    if (!f)
        return {};
    switch (col->Kind()) {
    case TCellKind::CheckBox:
    case TCellKind::Image:
        return {};
    case TCellKind::ImageCombo: {
        const TImageComboItem *item = imageItem(e.index, column);
        return item && col->ShowDescriptions() ? item->Description : QString();
    }
    default:
        return f->DisplayTextAt(e.index);
    }
}

QString GridModel::groupText(int group) const
{
    const Group &g = groups[size_t(group)];
    QString text = groupColumn->Caption() + QStringLiteral(" : ") + g.text;
    // The group's summaries also ride on its row, so a collapsed group still tells them.
    QStringList parts;
    for (int c = 0; c < v->ColumnCount(); ++c) {
        const TGridColumn *col = v->Columns(c);
        const QString value = v->SummaryText(col, col->GroupSummary(), g.records);
        switch (col->GroupSummary()) {
        case TSummaryKind::Count: parts << QStringLiteral("Adet = ") + value; break;
        case TSummaryKind::Sum: parts << col->Caption() + QStringLiteral(" Toplam = ") + value; break;
        case TSummaryKind::Average: parts << col->Caption() + QStringLiteral(" Ortalama = ") + value; break;
        case TSummaryKind::None: break;
        }
    }
    if (!parts.isEmpty())
        text += QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + u')';
    return text;
}

const TImageComboItem *GridModel::imageItem(int record, int column) const
{
    TField *f = field(column);
    return v->Columns(column)->ImageComboItemFor(f ? f->ValueAt(record) : QVariant());
}

bool GridModel::checked(int record, int column) const
{
    TField *f = field(column);
    if (!f || f->IsNullAt(record))
        return false;
    return f->AsStringAt(record) == v->Columns(column)->CheckedValue().toString();
}

QPixmap GridModel::pixmap(int record, int column) const
{
    TField *f = field(column);
    if (!f || f->IsNullAt(record))
        return {};
    const qint64 key = qint64(record) * 1024 + column;
    if (QPixmap *cached = pixmaps.object(key))
        return *cached;
    QPixmap pm;
    // Unknown or corrupt bytes give a null pixmap: the cell stays empty.
    pm.loadFromData(f->AsBytesAt(record));
    pixmaps.insert(key, new QPixmap(pm), qMax(1, int(qint64(pm.width()) * pm.height() * 4 / 1024)));
    return pm;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row(), column = index.column();
    const Entry &e = entries[size_t(row)];
    const TGridColumn *col = v->Columns(column);
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, column);
    case Qt::EditRole:
        if (e.kind == Kind::Data && field(column))
            return field(column)->ValueAt(e.index);
        return {};
    case Qt::CheckStateRole:
        if (e.kind == Kind::Data && col->Kind() == TCellKind::CheckBox)
            return int(checked(e.index, column) ? Qt::Checked : Qt::Unchecked);
        return {};
    case Qt::DecorationRole:
        if (e.kind != Kind::Data)
            return {};
        if (col->Kind() == TCellKind::ImageCombo) {
            const TImageComboItem *item = imageItem(e.index, column);
            return item ? QVariant(item->Image) : QVariant();
        }
        if (col->Kind() == TCellKind::Image) {
            const QPixmap pm = pixmap(e.index, column);
            return pm.isNull() ? QVariant() : QVariant(pm);
        }
        return {};
    case Qt::TextAlignmentRole:
        return int(col->Alignment());
    case RecordRole:
        return e.kind == Kind::Data ? e.index : -1;
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < v->ColumnCount()) {
        if (role == Qt::DisplayRole)
            return v->Columns(section)->Caption();
        if (role == Qt::TextAlignmentRole)
            return int(v->Columns(section)->HeaderAlignment());
    }
    return {};
}

namespace {

// Typed sort key: numbers, booleans and dates by value, everything else as text.
struct SortKey {
    bool isNull = true;
    double number = 0;
    QString text;
};

SortKey sortKey(const TField *f, int record)
{
    SortKey k;
    if (!f || f->IsNullAt(record))
        return k;
    k.isNull = false;
    switch (f->DataType()) {
    case TFieldType::String:
    case TFieldType::Blob:
        k.text = f->AsStringAt(record);
        break;
    case TFieldType::Date:     // stored as day numbers and zone-less milliseconds,
    case TFieldType::DateTime: // which order as the dates do
    case TFieldType::Boolean:
    case TFieldType::Integer:
    case TFieldType::LargeInt:
        k.number = double(f->AsLargeIntAt(record));
        break;
    default:
        k.number = f->AsFloatAt(record);
    }
    return k;
}

bool keyLess(const SortKey &a, const SortKey &b)
{
    if (a.isNull != b.isNull)
        return a.isNull; // nulls first
    if (!a.text.isEmpty() || !b.text.isEmpty())
        return a.text.localeAwareCompare(b.text) < 0;
    return a.number < b.number;
}

} // namespace

void GridModel::rebuild()
{
    beginResetModel();
    pixmaps.clear();
    footerCache.clear();
    entries.clear();
    groups.clear();
    filtered.clear();
    fields.assign(size_t(v->ColumnCount()), nullptr);
    groupColumn = nullptr;
    ds = v->DataSet();
    if (ds && ds->Active()) {
        for (int c = 0; c < v->ColumnCount(); ++c) {
            const TGridColumn *col = v->Columns(c);
            fields[size_t(c)] = col->FieldName().isEmpty() ? nullptr : ds->FindField(col->FieldName());
            if (col->GroupIndex() >= 0 && !groupColumn && fields[size_t(c)])
                groupColumn = col;
        }
        const int n = ds->RecordCount();
        // Header filter: per column, the record's text must be one of the picked values.
        std::vector<std::pair<TField *, const QSet<QString> *>> active;
        for (auto it = filters.cbegin(); it != filters.cend(); ++it) {
            const int c = it.key()->Index();
            active.emplace_back(fields[size_t(c)], &it.value());
        }
        filtered.reserve(size_t(n));
        for (int r = 0; r < n; ++r) {
            bool pass = true;
            for (const auto &[f, values] : active) {
                if (!values->contains(f ? f->AsStringAt(r) : QString())) {
                    pass = false;
                    break;
                }
            }
            if (pass)
                filtered.push_back(r);
        }
        if (sortColumn && field(sortColumn->Index())) {
            const TField *f = field(sortColumn->Index());
            std::vector<SortKey> keys(static_cast<size_t>(n));
            for (int r : filtered)
                keys[size_t(r)] = sortKey(f, r);
            const bool desc = sortOrder == Qt::DescendingOrder;
            std::stable_sort(filtered.begin(), filtered.end(), [&](int a, int b) {
                return desc ? keyLess(keys[size_t(b)], keys[size_t(a)]) : keyLess(keys[size_t(a)], keys[size_t(b)]);
            });
        }
        if (groupColumn) {
            const TField *gf = field(groupColumn->Index());
            QHash<QString, int> byKey;
            std::vector<SortKey> keys;
            for (int r : filtered) {
                const QString keyText = gf->AsStringAt(r);
                auto it = byKey.find(keyText);
                if (it == byKey.end()) {
                    it = byKey.insert(keyText, int(groups.size()));
                    groups.push_back({gf->DisplayTextAt(r), keyText, {}});
                    keys.push_back(sortKey(gf, r));
                }
                groups[size_t(*it)].records.push_back(r);
            }
            std::vector<int> order(groups.size());
            for (size_t i = 0; i < order.size(); ++i)
                order[i] = int(i);
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keyLess(keys[size_t(a)], keys[size_t(b)]); });
            std::vector<Group> sorted;
            sorted.reserve(groups.size());
            filtered.clear();
            for (int i : order) {
                sorted.push_back(std::move(groups[size_t(i)]));
                filtered.insert(filtered.end(), sorted.back().records.begin(), sorted.back().records.end());
            }
            groups = std::move(sorted);
            for (size_t g = 0; g < groups.size(); ++g) {
                entries.push_back({Kind::GroupHeader, int(g)});
                if (!collapsed.contains(groups[g].keyText))
                    for (int r : groups[g].records)
                        entries.push_back({Kind::Data, r});
                if (v->FGroupFooters)
                    entries.push_back({Kind::GroupFooter, int(g)});
            }
        } else {
            entries.reserve(filtered.size());
            for (int r : filtered)
                entries.push_back({Kind::Data, r});
        }
    }
    endResetModel();
}

void GridModel::recordChanged(int record)
{
    footerCache.clear();
    const qint64 base = qint64(record) * 1024;
    for (int c = 0; c < v->ColumnCount(); ++c)
        pixmaps.remove(base + c);
    const int row = v->RowOfRecord(record);
    if (row >= 0 && v->ColumnCount() > 0)
        Q_EMIT dataChanged(index(row, 0), index(row, v->ColumnCount() - 1));
}

// ---------------------------------------------------------------------------------------
// Delegate: every cell kind, styles, grid lines and the custom-draw callback.

class GridDelegate : public QAbstractItemDelegate {
public:
    GridDelegate(TGridView *view, GridModel *model) : QAbstractItemDelegate(view), v(view), m(model) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(option.rect.width(), v->FDataRowHeight);
    }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    TGridView *v;
    GridModel *m;
};

void GridDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int row = index.row(), column = index.column();
    const TGridColumn *col = v->Columns(column);
    const GridModel::Entry &e = m->entries[size_t(row)];
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const bool even = row % 2 == 0;
    const TGridStyles &s = v->FStyles;
    const QRect r = option.rect;

    const TGridStyle *rowStyle = &s.Content;
    if (even && s.ContentEven.Color.isValid())
        rowStyle = &s.ContentEven;
    else if (!even && s.ContentOdd.Color.isValid())
        rowStyle = &s.ContentOdd;

    QColor bg = rowStyle->Color;
    if (!bg.isValid())
        bg = option.palette.color(v->FAlternate && !even ? QPalette::AlternateBase : QPalette::Base);
    QColor fg = rowStyle->TextColor.isValid() ? rowStyle->TextColor : option.palette.color(QPalette::Text);
    QFont font = rowStyle->Font.value_or(option.font);
    if (selected) {
        bg = s.Selection.Color.isValid() ? s.Selection.Color : option.palette.color(QPalette::Highlight);
        fg = s.Selection.TextColor.isValid() ? s.Selection.TextColor : option.palette.color(QPalette::HighlightedText);
        if (s.Selection.Font)
            font = *s.Selection.Font;
    }
    if (e.kind != GridModel::Kind::Data) {
        bg = s.Header.Color.isValid() ? s.Header.Color.lighter(e.kind == GridModel::Kind::GroupHeader ? 260 : 300)
                                      : option.palette.color(QPalette::Button);
        if (selected)
            bg = s.Selection.Color.isValid() ? s.Selection.Color : option.palette.color(QPalette::Highlight);
        font.setBold(true);
    }

    p->save();
    p->setClipRect(r);
    bool done = false;
    if (e.kind == GridModel::Kind::Data && col->OnCustomDrawCell()) {
        TCustomDrawCellArgs args;
        args.Canvas = p;
        args.Bounds = r;
        args.View = v;
        args.Row = row;
        args.Record = e.index;
        args.Selected = selected;
        args.EvenRow = even;
        args.Font = font;
        p->setFont(font);
        p->setPen(fg);
        col->OnCustomDrawCell()(args);
        done = args.Done;
    }
    if (!done) {
        p->fillRect(r, bg);
        p->setPen(fg);
        p->setFont(font);
        const QRect inner = r.adjusted(3, 1, -3, -1);
        if (e.kind != GridModel::Kind::Data) {
            const QString text = m->displayText(row, column);
            const int align = e.kind == GridModel::Kind::GroupHeader ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                                      : int(col->Alignment());
            // A group row spans the view; its text is drawn once, over the whole width.
            p->drawText(inner, align | Qt::TextSingleLine, text);
        } else {
            switch (col->Kind()) {
            case TCellKind::Text:
                p->drawText(inner, int(col->Alignment()) | Qt::TextSingleLine,
                            option.fontMetrics.elidedText(m->displayText(row, column), Qt::ElideRight, inner.width()));
                break;
            case TCellKind::Label:
                p->drawText(inner, int((col->Alignment() & ~Qt::AlignVertical_Mask) | Qt::AlignVCenter) | Qt::TextWordWrap,
                            m->displayText(row, column));
                break;
            case TCellKind::Memo:
                p->drawText(inner, int((col->Alignment() & ~Qt::AlignVertical_Mask) | Qt::AlignTop) | Qt::TextWordWrap,
                            m->displayText(row, column));
                break;
            case TCellKind::CheckBox: {
                QStyleOptionButton box;
                box.state = QStyle::State_Enabled | (m->checked(e.index, column) ? QStyle::State_On : QStyle::State_Off);
                const QSize sz(v->style()->pixelMetric(QStyle::PM_IndicatorWidth),
                               v->style()->pixelMetric(QStyle::PM_IndicatorHeight));
                box.rect = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, sz, r);
                v->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, p, v);
                break;
            }
            case TCellKind::ImageCombo: {
                const TImageComboItem *item = m->imageItem(e.index, column);
                if (!item)
                    break;
                const int side = qMin(16, qMin(inner.width(), inner.height()));
                if (col->ShowDescriptions() && !item->Description.isEmpty()) {
                    const QRect iconRect(inner.left(), inner.top() + (inner.height() - side) / 2, side, side);
                    item->Image.paint(p, iconRect);
                    p->drawText(inner.adjusted(side + 4, 0, 0, 0), int(Qt::AlignLeft | Qt::AlignVCenter), item->Description);
                } else {
                    const QSize actual = item->Image.actualSize(inner.size());
                    item->Image.paint(p, QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, actual, inner));
                }
                break;
            }
            case TCellKind::Image: {
                const QPixmap pm = m->pixmap(e.index, column);
                if (!pm.isNull()) {
                    // Fit the cell keeping the aspect ratio; small pictures grow at most fourfold.
                    const QSize fitted = pm.size().scaled(inner.size(), Qt::KeepAspectRatio).boundedTo(pm.size() * 4);
                    const QRect target = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, fitted, inner);
                    p->setRenderHint(QPainter::SmoothPixmapTransform);
                    p->drawPixmap(target, pm);
                }
                break;
            }
            }
        }
    }
    if (v->FGridLines) {
        p->setPen(v->FGridLineColor.isValid() ? v->FGridLineColor : option.palette.color(QPalette::Mid));
        p->drawLine(r.topRight(), r.bottomRight());
        p->drawLine(r.bottomLeft(), r.bottomRight());
    }
    if (v->FFocusRect && option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.rect = r.adjusted(1, 1, -1, -1);
        focus.backgroundColor = bg;
        v->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, v);
    }
    p->restore();
}

// ---------------------------------------------------------------------------------------

class GridTable : public QTableView {
public:
    explicit GridTable(TGridView *view) : QTableView(view), v(view) {}
    void keyboardSearch(const QString &) override {} // incremental search is ours

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (v->FIncSearch) {
            const QString text = event->text();
            if (event->key() == Qt::Key_Escape && !v->FIncSearchText.isEmpty()) {
                v->FIncSearchText.clear();
                return;
            }
            if (event->key() == Qt::Key_Backspace && !v->FIncSearchText.isEmpty()) {
                const QString shorter = v->FIncSearchText.chopped(1);
                if (shorter.isEmpty())
                    v->FIncSearchText.clear();
                else
                    v->IncSearch(shorter);
                return;
            }
            if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                // Continue the text typed so far only while keys come in quick succession.
                const bool fresh = !typing.isValid() || typing.elapsed() > 1500;
                typing.start();
                v->IncSearch((fresh ? QString() : v->FIncSearchText) + text);
                return;
            }
        }
        const int row = currentIndex().row();
        if (v->IsGroupRow(row) && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus)) {
            v->SetGroupExpanded(row, event->key() == Qt::Key_Plus);
            return;
        }
        QTableView::keyPressEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QTableView::mouseDoubleClickEvent(event);
        const QModelIndex at = indexAt(event->position().toPoint());
        if (at.isValid() && v->IsGroupRow(at.row())) {
            v->SetGroupExpanded(at.row(), !v->GroupExpanded(at.row()));
            return;
        }
        Q_EMIT v->DblClick();
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        QTableView::mouseMoveEvent(event);
        // Pull focusing: dragging with the button down moves the focused row along.
        if (pull && (event->buttons() & Qt::LeftButton)) {
            const QModelIndex at = indexAt(event->position().toPoint());
            if (at.isValid() && at != currentIndex())
                setCurrentIndex(at);
        }
    }
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        const QModelIndex at = indexAt(event->pos());
        if (at.isValid())
            setCurrentIndex(at);
        Q_EMIT v->PopupMenuRequested(event->globalPos());
        if (v->FPopupMenu)
            v->FPopupMenu->popup(event->globalPos());
    }

public:
    TGridView *v;
    bool pull = false;
    QElapsedTimer typing;
};

// Column header: caption, sort mark, filter button, header style.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(TGridView *view) : QHeaderView(Qt::Horizontal, view), v(view)
    {
        setSectionsClickable(true);
        setHighlightSections(false);
        setDefaultAlignment(Qt::AlignCenter);
    }
    int height = 0;

    QSize sizeHint() const override
    {
        QSize s = QHeaderView::sizeHint();
        if (height > 0)
            s.setHeight(height);
        return s;
    }
    QRect filterButtonRect(int logical) const
    {
        const int x = sectionViewportPosition(logical) + sectionSize(logical) - kFilterButtonWidth;
        return QRect(x, 0, kFilterButtonWidth, viewport()->height());
    }
    bool hasFilterButton(int logical) const
    {
        return v->FHeaderFilter && logical >= 0 && logical < v->ColumnCount() && v->Columns(logical)->Filtering();
    }

protected:
    void paintSection(QPainter *p, const QRect &rect, int logical) const override
    {
        if (logical < 0 || logical >= v->ColumnCount())
            return;
        const TGridColumn *col = v->Columns(logical);
        const TGridStyle &hs = v->FStyles.Header;
        p->save();
        if (hs.Color.isValid()) {
            p->fillRect(rect, hs.Color);
            p->setPen(hs.Color.lighter(140));
            p->drawLine(rect.topRight(), rect.bottomRight());
        } else {
            QStyleOptionHeader opt;
            initStyleOption(&opt);
            opt.rect = rect;
            opt.section = logical;
            style()->drawControl(QStyle::CE_HeaderSection, &opt, p, this);
        }
        p->setFont(hs.Font.value_or(font()));
        p->setPen(hs.TextColor.isValid() ? hs.TextColor : palette().color(QPalette::ButtonText));
        QRect textRect = rect.adjusted(4, 2, -4, -2);
        if (hasFilterButton(logical)) {
            textRect.setRight(textRect.right() - kFilterButtonWidth + 2);
            const QRect b = QRect(rect.right() - kFilterButtonWidth, rect.top(), kFilterButtonWidth, rect.height());
            const QPointF c = b.center();
            QPolygonF arrow{QPointF(c.x() - 4, c.y() - 2), QPointF(c.x() + 4, c.y() - 2), QPointF(c.x(), c.y() + 3)};
            p->setBrush(v->FilterValues(col).isEmpty() ? p->pen().color() : QColor(255, 170, 0));
            p->drawPolygon(arrow);
        }
        if (v->FModel->sortColumn == col) {
            const QString mark = v->FModel->sortOrder == Qt::AscendingOrder ? QStringLiteral("▲") : QStringLiteral("▼");
            p->drawText(textRect, int(Qt::AlignRight | Qt::AlignVCenter), mark);
            textRect.setRight(textRect.right() - p->fontMetrics().horizontalAdvance(mark) - 2);
        }
        p->drawText(textRect, int(col->HeaderAlignment()) | Qt::TextWordWrap, col->Caption());
        p->restore();
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        const int logical = logicalIndexAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && hasFilterButton(logical)
            && filterButtonRect(logical).contains(event->position().toPoint())) {
            v->showFilterMenu(logical, event->globalPosition().toPoint());
            return;
        }
        QHeaderView::mousePressEvent(event);
    }
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        if (v->FQuickCustomization)
            v->showQuickCustomization(event->globalPos());
    }

private:
    TGridView *v;
};

// Row indicator: a narrow strip in the indicator style, marking the focused row.
class GridIndicator : public QHeaderView {
public:
    explicit GridIndicator(TGridView *view) : QHeaderView(Qt::Vertical, view), v(view)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setMinimumSectionSize(1);
    }
    QSize sizeHint() const override { return QSize(v->FIndicatorWidth, QHeaderView::sizeHint().height()); }

protected:
    void paintSection(QPainter *p, const QRect &rect, int logical) const override
    {
        const QColor c = v->FStyles.Indicator.Color.isValid() ? v->FStyles.Indicator.Color : palette().color(QPalette::Button);
        p->fillRect(rect, c);
        if (v->FTable->currentIndex().row() == logical && rect.width() >= 8) {
            p->setRenderHint(QPainter::Antialiasing);
            p->setBrush(c.lightness() < 128 ? Qt::white : Qt::black);
            p->setPen(Qt::NoPen);
            const QPointF m = QRectF(rect).center();
            p->drawPolygon(QPolygonF{QPointF(m.x() - 2, m.y() - 4), QPointF(m.x() + 2, m.y()), QPointF(m.x() - 2, m.y() + 4)});
        }
    }

private:
    TGridView *v;
};

// Footer: the summary of each column under it, following the header's scroll and widths.
class GridFooter : public QWidget {
public:
    explicit GridFooter(TGridView *view) : QWidget(view), v(view) { setVisible(false); }
    QSize sizeHint() const override { return QSize(100, fontMetrics().height() + 10); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const TGridStyle &hs = v->FStyles.Content;
        p.fillRect(rect(), hs.Color.isValid() ? hs.Color.darker(108) : palette().color(QPalette::Window));
        // The footer sits beside the table, so map through the view they share.
        const int offset = v->FTable->viewport()->mapTo(v, QPoint(0, 0)).x() - x();
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(rect().topLeft(), rect().topRight());
        p.setPen(palette().color(QPalette::WindowText));
        for (int c = 0; c < v->ColumnCount(); ++c) {
            const TGridColumn *col = v->Columns(c);
            if (!col->Visible() || col->FooterSummary() == TSummaryKind::None)
                continue;
            const int x = offset + v->FHeader->sectionViewportPosition(c);
            const QRect cell(x + 3, 1, v->FHeader->sectionSize(c) - 6, height() - 2);
            p.drawText(cell, int(Qt::AlignRight | Qt::AlignVCenter), v->FooterText(col));
        }
    }

private:
    TGridView *v;
};

} // namespace gridview_detail

using namespace gridview_detail;

// ---------------------------------------------------------------------------------------

QVariant TCustomDrawCellArgs::Value(const QString &fieldName) const
{
    return View && Record >= 0 ? View->Value(Row, fieldName) : QVariant();
}

double TCustomDrawCellArgs::AsFloat(const QString &fieldName) const
{
    const QVariant v = Value(fieldName);
    return v.isValid() ? v.toDouble() : 0.0;
}

// ---------------------------------------------------------------------------------------

TGridColumn::TGridColumn(TGridView *view) : FView(view), FValueType(TFieldType::String) {}

int TGridColumn::Index() const
{
    for (int i = 0; i < FView->ColumnCount(); ++i)
        if (FView->Columns(i) == this)
            return i;
    return -1;
}

void TGridColumn::SetFieldName(const QString &fieldName)
{
    FFieldName = fieldName;
    FView->columnChanged(this, true);
}

TField *TGridColumn::Field() const
{
    return FView->FModel->field(Index());
}

void TGridColumn::SetCaption(const QString &caption)
{
    FCaption = caption;
    FView->columnChanged(this, false);
}

void TGridColumn::SetVisible(bool visible)
{
    if (FVisible == visible)
        return;
    FVisible = visible;
    FView->columnChanged(this, false);
}

void TGridColumn::SetWidth(int width)
{
    FWidth = qMax(0, width);
    FView->columnChanged(this, false);
}

void TGridColumn::SetHeaderAlignment(Qt::Alignment a)
{
    FHeaderAlignment = a;
    FView->columnChanged(this, false);
}

Qt::Alignment TGridColumn::Alignment() const
{
    if (FAlignment)
        return *FAlignment;
    const TField *f = Field();
    const bool numeric = f && f->IsNumeric();
    return (numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

void TGridColumn::SetAlignment(Qt::Alignment a)
{
    if (!(a & Qt::AlignVertical_Mask))
        a |= Qt::AlignVCenter;
    FAlignment = a;
    FView->columnChanged(this, false);
}

void TGridColumn::SetKind(TCellKind kind)
{
    FKind = kind;
    FView->columnChanged(this, false);
}

void TGridColumn::SetCheckValues(const QVariant &checked, const QVariant &unchecked)
{
    FChecked = checked;
    FUnchecked = unchecked;
    FView->columnChanged(this, false);
}

void TGridColumn::AddImageComboItem(const QVariant &value, const QIcon &image, const QString &description)
{
    FImageItems.push_back({value, image, description});
    FView->columnChanged(this, false);
}

void TGridColumn::SetImageComboDefault(const QIcon &image, const QString &description)
{
    FImageDefault = TImageComboItem{QVariant(), image, description};
    FView->columnChanged(this, false);
}

const TImageComboItem *TGridColumn::ImageComboItemFor(const QVariant &value) const
{
    if (value.isValid()) {
        // Compare as text so 1, 1.0 and "1" pick the same item.
        const QString text = value.typeId() == QMetaType::Double ? QString::number(value.toDouble()) : value.toString();
        for (const TImageComboItem &item : FImageItems) {
            const QString itemText = item.Value.typeId() == QMetaType::Double ? QString::number(item.Value.toDouble())
                                                                                : item.Value.toString();
            if (itemText == text)
                return &item;
        }
    }
    return FImageDefault ? &*FImageDefault : nullptr;
}

void TGridColumn::SetFooterSummary(TSummaryKind kind)
{
    FFooterSummary = kind;
    FView->updateFooter();
}

void TGridColumn::SetGroupSummary(TSummaryKind kind)
{
    FGroupSummary = kind;
    FView->columnChanged(this, false);
}

void TGridColumn::SetGroupIndex(int index)
{
    FGroupIndex = index;
    FView->columnChanged(this, true);
}

// ---------------------------------------------------------------------------------------

TGridView::TGridView(QWidget *parent) : QWidget(parent)
{
    FModel = new GridModel(this);
    FTable = new GridTable(this);
    FHeader = new GridHeader(this);
    FIndicator = new GridIndicator(this);
    FFooter = new GridFooter(this);
    FDelegate = new GridDelegate(this, FModel);

    FTable->setObjectName(QStringLiteral("GridTable"));
    FTable->setHorizontalHeader(FHeader);
    // A header click sorts (or does nothing); it never selects a column or moves the focus.
    disconnect(FHeader, &QHeaderView::sectionPressed, FTable, nullptr);
    disconnect(FHeader, &QHeaderView::sectionEntered, FTable, nullptr);
    FTable->setVerticalHeader(FIndicator);
    FTable->setModel(FModel);
    FTable->setItemDelegate(FDelegate);
    FTable->setShowGrid(false);
    FTable->setWordWrap(false);
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable->setSelectionMode(QAbstractItemView::SingleSelection);
    FTable->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    FTable->setCornerButtonEnabled(false);
    FHeader->setSectionResizeMode(QHeaderView::Interactive);
    FHeader->setMinimumSectionSize(0);
    FIndicator->setDefaultSectionSize(FDataRowHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FTable);
    layout->addWidget(FFooter);
    setFocusProxy(FTable);

    connect(FModel, &QAbstractItemModel::modelReset, this, [this] {
        applyHeader();
        rebuildSpans();
    });
    connect(FTable->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                onCurrentChanged(previous.row(), current.row(), previous.column(), current.column());
            });
    connect(FHeader, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (logical >= 0 && logical < ColumnCount() && FColumns[size_t(logical)]->FVisible && size > 0)
            FColumns[size_t(logical)]->FWidth = size;
        FFooter->update();
    });
    connect(FHeader, &QHeaderView::sectionClicked, this, [this](int logical) {
        if (!FSorting || logical < 0 || logical >= ColumnCount())
            return;
        const TGridColumn *col = Columns(logical);
        if (FModel->sortColumn == col)
            FModel->sortOrder = FModel->sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        else
            FModel->sortColumn = col, FModel->sortOrder = Qt::AscendingOrder;
        rebuildRows();
    });
    connect(FTable->horizontalScrollBar(), &QScrollBar::valueChanged, FFooter, qOverload<>(&QWidget::update));
    SetIndicatorWidth(FIndicatorWidth);
}

TGridView::~TGridView()
{
    // The model reads the columns while it is torn down with the widget tree.
    FTable->setModel(nullptr);
}

TGridColumn *TGridView::CreateColumn(const QString &fieldName, const QString &caption)
{
    FModel->beginStructure();
    auto col = std::unique_ptr<TGridColumn>(new TGridColumn(this));
    col->FFieldName = fieldName;
    if (!caption.isEmpty())
        col->FCaption = caption;
    TGridColumn *raw = col.get();
    FColumns.push_back(std::move(col));
    FModel->endStructure();
    requestRebuild();
    return raw;
}

void TGridView::CreateAllColumns()
{
    TClientDataSet *ds = DataSet();
    if (!ds)
        return;
    BeginUpdate();
    for (const QString &name : ds->FieldNames())
        if (!ColumnByFieldName(name))
            CreateColumn(name);
    EndUpdate();
}

void TGridView::ClearColumns()
{
    FModel->beginStructure();
    FModel->filters.clear();
    FModel->sortColumn = nullptr;
    FModel->groupColumn = nullptr;
    FModel->entries.clear();
    FModel->fields.clear();
    FColumns.clear();
    FModel->endStructure();
    rebuildRows();
}

TGridColumn *TGridView::Columns(int index) const
{
    if (index < 0 || index >= ColumnCount())
        throw platform::Exception(QStringLiteral("Sütun sırası geçersiz: %1").arg(index));
    return FColumns[size_t(index)].get();
}

TGridColumn *TGridView::ColumnByFieldName(const QString &fieldName) const
{
    for (const auto &c : FColumns)
        if (c->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return c.get();
    return nullptr;
}

TGridColumn *TGridView::ColumnByName(const QString &name) const
{
    for (const auto &c : FColumns)
        if (c->Name() == name)
            return c.get();
    return nullptr;
}

std::vector<TGridColumn *> TGridView::VisibleColumns() const
{
    std::vector<TGridColumn *> out;
    for (const auto &c : FColumns)
        if (c->Visible())
            out.push_back(c.get());
    return out;
}

void TGridView::SetDataSource(TDataSource *source)
{
    if (FDataSource == source)
        return;
    if (FDataSource)
        disconnect(FDataSource, nullptr, this, nullptr);
    FDataSource = source;
    if (source) {
        FUnbound = false;
        // Rebuilt at once even inside an update (painting is off then): the old fields
        // and records are gone, and nothing may read them until EndUpdate.
        connect(source, &TDataSource::DataSetChanged, this, &TGridView::rebuildRows);
        connect(source, &QObject::destroyed, this, &TGridView::rebuildRows);
        connect(source, &TDataSource::RecordChanged, this, [this](int record) {
            if (UpdateLocked())
                FPendingRebuild = true;
            else {
                FModel->recordChanged(record);
                updateFooter();
            }
        });
    }
    // Detaching must take effect at once: the dataset may be refilled on a worker next.
    rebuildRows();
}

TClientDataSet *TGridView::DataSet() const
{
    if (FUnbound)
        return FUnboundData.get();
    if (FDataSource && FDataSource->Enabled())
        return FDataSource->DataSet();
    return nullptr;
}

void TGridView::SetUnbound(bool unbound)
{
    if (unbound)
        SetDataSource(nullptr);
    FUnbound = unbound;
    rebuildRows();
}

void TGridView::ensureUnboundData()
{
    if (!FUnbound)
        throw platform::Exception(QStringLiteral("Satır yalnızca bağlantısız görünüme eklenebilir"));
    if (FUnboundData && FUnboundData->FieldCount() == ColumnCount())
        return;
    if (FUnboundData && FUnboundData->RecordCount() > 0)
        throw platform::Exception(QStringLiteral("Satırları olan görünüme sütun eklenemez"));
    FUnboundData = std::make_unique<TClientDataSet>();
    for (int i = 0; i < ColumnCount(); ++i) {
        TGridColumn *c = Columns(i);
        if (c->FFieldName.isEmpty())
            c->FFieldName = c->Name().isEmpty() ? QStringLiteral("COLUMN%1").arg(i) : c->Name();
        FUnboundData->AddField(c->FFieldName, c->ValueType());
    }
    FUnboundData->CreateDataSet();
}

int TGridView::AppendRecord()
{
    ensureUnboundData();
    FUnboundData->Append();
    FUnboundData->Post();
    const int record = FUnboundData->RecordCount() - 1;
    // Appending leaves the shown rows valid, so a batch of rows costs one rebuild.
    requestRebuild();
    return record;
}

void TGridView::DeleteRecord(int record)
{
    ensureUnboundData();
    FUnboundData->SetRecNo(record + 1);
    FUnboundData->Delete();
    rebuildRows(); // shown rows may point past the end now
    FPendingRebuild = false;
}

void TGridView::ClearRecords()
{
    if (!FUnboundData)
        return;
    FUnboundData->EmptyDataSet();
    rebuildRows();
}

void TGridView::SetValue(int record, TGridColumn *column, const QVariant &value)
{
    ensureUnboundData();
    FUnboundData->SetRecNo(record + 1);
    FUnboundData->Edit();
    try {
        FUnboundData->Fields(column->Index())->SetValue(value);
    } catch (...) {
        FUnboundData->Cancel();
        throw;
    }
    FUnboundData->Post();
    if (UpdateLocked())
        FPendingRebuild = true;
    else
        FModel->recordChanged(record);
}

int TGridView::RowCount() const
{
    return int(FModel->entries.size());
}

int TGridView::RecordIndex(int row) const
{
    return FModel->recordAt(row);
}

bool TGridView::IsGroupRow(int row) const
{
    return row >= 0 && size_t(row) < FModel->entries.size() && FModel->entries[size_t(row)].kind == GridModel::Kind::GroupHeader;
}

bool TGridView::IsGroupFooterRow(int row) const
{
    return row >= 0 && size_t(row) < FModel->entries.size() && FModel->entries[size_t(row)].kind == GridModel::Kind::GroupFooter;
}

QVariant TGridView::Value(int row, const QString &fieldName) const
{
    const int record = RecordIndex(row);
    TClientDataSet *ds = FModel->ds;
    if (record < 0 || !ds)
        return {};
    const TField *f = ds->FindField(fieldName);
    return f ? f->ValueAt(record) : QVariant();
}

QVariant TGridView::Value(int row, const TGridColumn *column) const
{
    const int record = RecordIndex(row);
    const TField *f = column ? FModel->field(column->Index()) : nullptr;
    return record >= 0 && f ? f->ValueAt(record) : QVariant();
}

QString TGridView::DisplayText(int row, const TGridColumn *column) const
{
    return column ? FModel->displayText(row, column->Index()) : QString();
}

int TGridView::RowOfRecord(int record) const
{
    const auto &entries = FModel->entries;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].kind == GridModel::Kind::Data && entries[i].index == record)
            return int(i);
    return -1;
}

int TGridView::FocusedRow() const
{
    return FTable->currentIndex().row();
}

void TGridView::SetFocusedRow(int row)
{
    if (row < 0 || row >= RowCount()) {
        FTable->setCurrentIndex(QModelIndex());
        return;
    }
    int column = FTable->currentIndex().column();
    if (column < 0 || FTable->isColumnHidden(column)) {
        column = 0;
        while (column < ColumnCount() && FTable->isColumnHidden(column))
            ++column;
        if (column >= ColumnCount())
            column = 0;
    }
    const QModelIndex index = FModel->index(row, column);
    FTable->setCurrentIndex(index);
    FTable->scrollTo(index);
}

int TGridView::FocusedRecordIndex() const
{
    return RecordIndex(FocusedRow());
}

TGridColumn *TGridView::FocusedColumn() const
{
    const int c = FTable->currentIndex().column();
    return c >= 0 && c < ColumnCount() ? Columns(c) : nullptr;
}

void TGridView::SetFocusedColumn(TGridColumn *column)
{
    if (!column)
        return;
    const int row = qMax(0, FocusedRow());
    if (row < RowCount())
        FTable->setCurrentIndex(FModel->index(row, column->Index()));
}

bool TGridView::IsRowSelected(int row) const
{
    return FTable->selectionModel()->isRowSelected(row, QModelIndex());
}

void TGridView::onCurrentChanged(int previousRow, int row, int previousColumn, int column)
{
    if (!FIncSearchActive)
        FIncSearchText.clear();
    if (previousRow != row) {
        FIndicator->viewport()->update();
        // The dataset's cursor follows the focused record, as the windows expect of a
        // data-bound view.
        TClientDataSet *ds = FModel->ds;
        const int record = RecordIndex(row);
        if (ds && record >= 0 && ds->Active() && ds->State() == TDataSetState::Browse && !ds->ControlsDisabled())
            ds->SetRecNo(record + 1);
        Q_EMIT FocusedRecordChanged(previousRow, row);
    }
    if (previousColumn != column)
        Q_EMIT FocusedColumnChanged();
}

// ---- options ----

void TGridView::SetRowSelect(bool on)
{
    FRowSelect = on;
    FTable->setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void TGridView::SetIndicatorWidth(int width)
{
    FIndicatorWidth = qMax(0, width);
    FIndicator->setVisible(FIndicatorWidth > 0);
    FIndicator->setFixedWidth(FIndicatorWidth);
    FTable->updateGeometry();
}

void TGridView::SetHeaderHeight(int height)
{
    FHeader->height = height;
    FHeader->setFixedHeight(height);
}

void TGridView::SetBorderVisible(bool visible)
{
    FTable->setFrameShape(visible ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TGridView::SetColumnSizing(bool on)
{
    FHeader->setSectionResizeMode(on ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void TGridView::SetHeaderVisible(bool visible)
{
    FHeader->setVisible(visible);
}

void TGridView::SetDataRowHeight(int height)
{
    FDataRowHeight = qMax(1, height);
    FIndicator->setDefaultSectionSize(FDataRowHeight);
}

void TGridView::SetGridLineColor(const QColor &color)
{
    FGridLineColor = color;
    FTable->viewport()->update();
}

void TGridView::SetGridLinesVisible(bool visible)
{
    FGridLines = visible;
    FTable->viewport()->update();
}

void TGridView::SetSorting(bool on)
{
    FSorting = on;
    if (!on && FModel->sortColumn) {
        FModel->sortColumn = nullptr;
        rebuildRows();
    }
}

void TGridView::SetAlternateRowColors(bool on)
{
    FAlternate = on;
    FTable->viewport()->update();
}

void TGridView::SetFocusRect(bool on)
{
    FFocusRect = on;
    FTable->viewport()->update();
}

void TGridView::SetPullFocusing(bool on)
{
    FTable->pull = on;
}

void TGridView::SetHeaderFilter(bool on)
{
    FHeaderFilter = on;
    FHeader->viewport()->update();
}

void TGridView::SetFooterVisible(bool visible)
{
    FFooter->setVisible(visible);
}

void TGridView::SetGroupFootersVisible(bool visible)
{
    FGroupFooters = visible;
    rebuildRows();
}

void TGridView::SetColumnAutoWidth(bool on)
{
    FAutoWidth = on;
    FTable->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    autoWidth();
}

void TGridView::SetPixelScrolling(bool on)
{
    FTable->setVerticalScrollMode(on ? QAbstractItemView::ScrollPerPixel : QAbstractItemView::ScrollPerItem);
}

void TGridView::SetStyles(const TGridStyles &styles)
{
    FStyles = styles;
    QPalette pal = FTable->viewport()->palette();
    if (styles.Background.Color.isValid())
        pal.setColor(QPalette::Base, styles.Background.Color);
    FTable->viewport()->setPalette(pal);
    FTable->viewport()->setAutoFillBackground(true);
    if (styles.Header.Font)
        FHeader->setFont(*styles.Header.Font);
    FHeader->viewport()->update();
    FTable->viewport()->update();
    FFooter->update();
}

void TGridView::SetPopupMenu(QMenu *menu)
{
    if (FPopupMenu)
        disconnect(FPopupMenu, &QObject::destroyed, this, nullptr);
    FPopupMenu = menu;
    if (menu)
        connect(menu, &QObject::destroyed, this, [this] { FPopupMenu = nullptr; });
}

// ---- filter ----

void TGridView::SetFilterValues(TGridColumn *column, const QStringList &values)
{
    if (!column)
        return;
    if (values.isEmpty())
        FModel->filters.remove(column);
    else
        FModel->filters.insert(column, QSet<QString>(values.begin(), values.end()));
    rebuildRows();
    FHeader->viewport()->update();
}

QStringList TGridView::FilterValues(const TGridColumn *column) const
{
    const auto it = FModel->filters.constFind(column);
    if (it == FModel->filters.cend())
        return {};
    QStringList out(it->begin(), it->end());
    out.sort();
    return out;
}

QStringList TGridView::DistinctValues(const TGridColumn *column) const
{
    TClientDataSet *ds = FModel->ds;
    const TField *f = column ? FModel->field(column->Index()) : nullptr;
    if (!ds || !f)
        return {};
    QSet<QString> seen;
    const int n = ds->RecordCount();
    for (int r = 0; r < n; ++r)
        seen.insert(f->AsStringAt(r));
    QStringList out(seen.begin(), seen.end());
    std::sort(out.begin(), out.end(), [](const QString &a, const QString &b) { return a.localeAwareCompare(b) < 0; });
    return out;
}

void TGridView::ClearFilter()
{
    if (FModel->filters.isEmpty())
        return;
    FModel->filters.clear();
    rebuildRows();
    FHeader->viewport()->update();
}

bool TGridView::Filtered() const
{
    return !FModel->filters.isEmpty();
}

void TGridView::showFilterMenu(int column, const QPoint &globalPos)
{
    TGridColumn *col = Columns(column);
    // On the heap and guarded: the menu runs its own event loop, in which the view may go.
    QPointer<QMenu> menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("HeaderFilterMenu"));
    QAction *all = menu->addAction(QStringLiteral("(Tümü)"));
    menu->addSeparator();
    const QStringList current = FilterValues(col);
    for (const QString &value : DistinctValues(col)) {
        QAction *a = menu->addAction(value.isEmpty() ? QStringLiteral("(Boş)") : value);
        a->setData(value);
        a->setCheckable(true);
        a->setChecked(current.contains(value));
    }
    QAction *picked = menu->exec(globalPos);
    if (!menu)
        return;
    const bool showAll = picked == all;
    const QString value = picked ? picked->data().toString() : QString();
    delete menu;
    if (showAll)
        SetFilterValues(col, {});
    else if (picked)
        SetFilterValues(col, {value});
}

void TGridView::showQuickCustomization(const QPoint &globalPos)
{
    QPointer<QMenu> menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("QuickCustomizationMenu"));
    for (const auto &c : FColumns) {
        if (!c->VisibleForCustomization())
            continue;
        QAction *a = menu->addAction(c->Caption());
        a->setCheckable(true);
        a->setChecked(c->Visible());
        TGridColumn *col = c.get();
        connect(a, &QAction::toggled, this, [col](bool on) { col->SetVisible(on); });
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Sütun Seçici...")), &QAction::triggered, this, &TGridView::ShowColumnChooser);
    menu->exec(globalPos);
    delete menu;
}

void TGridView::ShowColumnChooser()
{
    if (FChooser) {
        FChooser->raise();
        FChooser->activateWindow();
        return;
    }
    auto *dialog = new QDialog(this, Qt::Tool);
    dialog->setObjectName(QStringLiteral("ColumnChooser"));
    dialog->setWindowTitle(QStringLiteral("Sütun Seçici"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto *list = new QListWidget(dialog);
    list->setObjectName(QStringLiteral("ColumnChooserList"));
    for (const auto &c : FColumns) {
        if (!c->VisibleForCustomization())
            continue;
        auto *item = new QListWidgetItem(c->Caption(), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(c->Visible() ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void *>(c.get())));
    }
    connect(list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        auto *col = static_cast<TGridColumn *>(item->data(Qt::UserRole).value<void *>());
        for (const auto &c : FColumns)
            if (c.get() == col)
                col->SetVisible(item->checkState() == Qt::Checked);
    });
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(list);
    FChooser = dialog;
    dialog->show();
}

// ---- incremental search ----

bool TGridView::IncSearch(const QString &text)
{
    if (text.isEmpty()) {
        FIncSearchText.clear();
        return true;
    }
    TGridColumn *col = FocusedColumn();
    if (!col || !col->Visible()) {
        const auto visible = VisibleColumns();
        if (visible.empty())
            return false;
        col = visible.front();
    }
    const QLocale locale;
    const QString wanted = locale.toUpper(text);
    const int c = col->Index();
    for (int row = 0; row < RowCount(); ++row) {
        if (RecordIndex(row) < 0)
            continue;
        if (locale.toUpper(FModel->field(c) ? FModel->field(c)->DisplayTextAt(RecordIndex(row)) : QString()).startsWith(wanted)) {
            FIncSearchActive = true;
            FTable->setCurrentIndex(FModel->index(row, c));
            FTable->scrollTo(FModel->index(row, c));
            FIncSearchActive = false;
            FIncSearchText = text;
            return true;
        }
    }
    return false;
}

// ---- grouping ----

void TGridView::CollapseAll()
{
    for (const auto &g : FModel->groups)
        FModel->collapsed.insert(g.keyText);
    rebuildRows();
}

void TGridView::ExpandAll()
{
    FModel->collapsed.clear();
    rebuildRows();
}

void TGridView::SetGroupExpanded(int row, bool expanded)
{
    if (!IsGroupRow(row))
        return;
    const QString key = FModel->groups[size_t(FModel->entries[size_t(row)].index)].keyText;
    if (expanded)
        FModel->collapsed.remove(key);
    else
        FModel->collapsed.insert(key);
    rebuildRows();
}

bool TGridView::GroupExpanded(int row) const
{
    if (!IsGroupRow(row))
        return false;
    return !FModel->collapsed.contains(FModel->groups[size_t(FModel->entries[size_t(row)].index)].keyText);
}

// ---- summaries ----

QString TGridView::SummaryText(const TGridColumn *column, TSummaryKind kind, const std::vector<int> &records) const
{
    const TField *f = column ? FModel->field(column->Index()) : nullptr;
    const QLocale locale;
    switch (kind) {
    case TSummaryKind::None:
        return {};
    case TSummaryKind::Count:
        return locale.toString(qlonglong(records.size()));
    case TSummaryKind::Sum:
    case TSummaryKind::Average: {
        if (!f || !(f->IsNumeric()))
            return {};
        double sum = 0;
        qint64 isum = 0;
        qint64 count = 0;
        const bool integral = f->DataType() == TFieldType::Integer || f->DataType() == TFieldType::LargeInt;
        for (int r : records) {
            if (f->IsNullAt(r))
                continue;
            if (integral)
                isum += f->AsLargeIntAt(r);
            else
                sum += f->AsFloatAt(r);
            ++count;
        }
        if (kind == TSummaryKind::Sum)
            return integral ? f->Format(QVariant(isum)) : f->Format(QVariant(sum));
        if (count == 0)
            return f->Format(QVariant(0.0));
        const double avg = (integral ? double(isum) : sum) / double(count);
        // An average of whole numbers is rarely whole: show it like a float.
        return integral ? platform::FormatFloat(QString(), avg) : f->Format(QVariant(avg));
    }
    }
    return {};
}

QVariant TGridView::FooterValue(const TGridColumn *column) const
{
    const TField *f = column ? FModel->field(column->Index()) : nullptr;
    const auto &records = FModel->filtered;
    switch (column ? column->FooterSummary() : TSummaryKind::None) {
    case TSummaryKind::Count:
        return qlonglong(records.size());
    case TSummaryKind::Sum:
    case TSummaryKind::Average: {
        if (!f || !f->IsNumeric())
            return {};
        double sum = 0;
        qint64 count = 0;
        for (int r : records)
            if (!f->IsNullAt(r))
                sum += f->AsFloatAt(r), ++count;
        if (column->FooterSummary() == TSummaryKind::Sum)
            return sum;
        return count ? sum / double(count) : 0.0;
    }
    case TSummaryKind::None:
        break;
    }
    return {};
}

QString TGridView::FooterText(const TGridColumn *column) const
{
    if (!column || column->FooterSummary() == TSummaryKind::None)
        return {};
    auto it = FModel->footerCache.constFind(column);
    if (it != FModel->footerCache.cend())
        return it->toString();
    const QString text = SummaryText(column, column->FooterSummary(), FModel->filtered);
    FModel->footerCache.insert(column, text);
    return text;
}

bool TGridView::Grouped() const
{
    return FModel->groupColumn != nullptr;
}

int TGridView::GroupCount() const
{
    return int(FModel->groups.size());
}

QString TGridView::GroupText(int group) const
{
    return FModel->groupText(group);
}

const std::vector<int> &TGridView::GroupRecords(int group) const
{
    return FModel->groups.at(size_t(group)).records;
}

const std::vector<int> &TGridView::FilteredRecords() const
{
    return FModel->filtered;
}

// ---- updating and sizing ----

void TGridView::BeginUpdate()
{
    if (FUpdateCount++ == 0) {
        FTable->setUpdatesEnabled(false);
        FFooter->setUpdatesEnabled(false);
    }
}

void TGridView::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount > 0)
        return;
    if (FPendingRebuild) {
        FPendingRebuild = false;
        rebuildRows();
    }
    FTable->setUpdatesEnabled(true);
    FFooter->setUpdatesEnabled(true);
    FFooter->update();
}

void TGridView::ApplyBestFit(TGridColumn *column)
{
    std::vector<TGridColumn *> targets;
    if (column)
        targets.push_back(column);
    else
        targets = VisibleColumns();
    const QFontMetrics cellMetrics(FStyles.Content.Font.value_or(FTable->font()));
    const QFontMetrics headerMetrics(FStyles.Header.Font.value_or(FHeader->font()));
    const int rows = RowCount();
    // Large data is measured on evenly spread rows: the work stays bounded.
    const int step = qMax(1, rows / kBestFitSample);
    const auto byLength = [](const QString &a, const QString &b) { return a.size() > b.size(); };

    // Measuring text is the costly part: of the sampled texts only the longest few are
    // measured, which are the widest ones but for an odd run of narrow letters.
    const auto widestText = [&](int c) {
        constexpr size_t kMeasured = 8;
        std::vector<QString> longest;
        for (int row = 0; row < rows; row += step) {
            QString text = FModel->displayText(row, c);
            if (longest.size() == kMeasured && text.size() <= longest.back().size())
                continue;
            longest.insert(std::upper_bound(longest.begin(), longest.end(), text, byLength), std::move(text));
            if (longest.size() > kMeasured)
                longest.pop_back();
        }
        int width = 0;
        for (const QString &text : longest)
            width = qMax(width, cellMetrics.horizontalAdvance(text) + 10);
        return width;
    };

    BeginUpdate();
    for (TGridColumn *col : targets) {
        const int c = col->Index();
        int width = headerMetrics.horizontalAdvance(col->Caption()) + 12;
        if (FHeaderFilter && col->Filtering())
            width += kFilterButtonWidth;
        switch (col->Kind()) {
        case TCellKind::CheckBox:
            width = qMax(width, style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8);
            break;
        case TCellKind::Image:
            width = qMax(width, col->Width());
            break;
        case TCellKind::ImageCombo:
            width = qMax(width, 24);
            if (col->ShowDescriptions())
                width = qMax(width, widestText(c) + 20);
            break;
        default:
            width = qMax(width, widestText(c));
        }
        col->FWidth = width;
        FHeader->resizeSection(c, width);
    }
    EndUpdate();
    FFooter->update();
}

int TGridView::ApplyTagWidths(int gridWidth)
{
    const auto visible = VisibleColumns();
    int sum = 0;
    for (const TGridColumn *c : visible)
        sum += c->Tag();
    if (sum <= 0)
        return 0;
    const int unit = int(std::trunc(double(gridWidth - 30) / double(sum)));
    BeginUpdate();
    for (TGridColumn *c : visible)
        c->SetWidth(c->Tag() * unit);
    EndUpdate();
    return unit;
}

int TGridView::ClientWidth() const
{
    return FTable->viewport()->width();
}

void TGridView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    autoWidth();
    Q_EMIT Resized();
}

void TGridView::autoWidth()
{
    if (!FAutoWidth)
        return;
    const auto visible = VisibleColumns();
    int total = 0;
    for (const TGridColumn *c : visible)
        total += qMax(1, c->Width());
    const int available = FTable->viewport()->width();
    if (total <= 0 || available <= 0)
        return;
    int used = 0;
    for (size_t i = 0; i < visible.size(); ++i) {
        TGridColumn *c = visible[i];
        const int w = i + 1 == visible.size() ? available - used : qMax(1, c->Width()) * available / total;
        used += w;
        FHeader->resizeSection(c->Index(), w);
    }
}

void TGridView::columnChanged(TGridColumn *column, bool structural)
{
    if (structural) {
        requestRebuild();
        return;
    }
    const int c = column->Index();
    if (c < 0)
        return;
    FTable->setColumnHidden(c, !column->Visible());
    if (column->Visible() && FHeader->sectionSize(c) != column->Width())
        FHeader->resizeSection(c, column->Width());
    rebuildSpans();
    autoWidth();
    Q_EMIT FModel->headerDataChanged(Qt::Horizontal, c, c);
    FTable->viewport()->update();
    updateFooter();
}

void TGridView::applyHeader()
{
    for (int c = 0; c < ColumnCount(); ++c) {
        const TGridColumn *col = Columns(c);
        FTable->setColumnHidden(c, !col->Visible());
        if (col->Visible())
            FHeader->resizeSection(c, col->Width());
    }
    autoWidth();
}

void TGridView::rebuildRows()
{
    const int focusedRow = FocusedRow();
    const int focusedRecord = FocusedRecordIndex();
    const bool sameData = FModel->ds && FModel->ds == DataSet();
    FModel->rebuild();
    FIncSearchText.clear();
    // Keep the focused record through filtering, sorting and grouping; after a new load
    // follow the dataset's cursor, as a data-bound view does.
    int row = -1;
    if (sameData && focusedRecord >= 0)
        row = RowOfRecord(focusedRecord);
    if (row < 0 && FModel->ds && FModel->ds->Active() && FModel->ds->CurrentRecord() >= 0)
        row = RowOfRecord(FModel->ds->CurrentRecord());
    if (row >= 0)
        SetFocusedRow(row);
    else if (focusedRow >= 0)
        Q_EMIT FocusedRecordChanged(focusedRow, -1); // the reset dropped the focus silently
    updateFooter();
}

void TGridView::requestRebuild()
{
    // Only for changes that leave the current rows readable: the rebuild can wait for
    // the end of an update.
    if (UpdateLocked())
        FPendingRebuild = true;
    else
        rebuildRows();
}

void TGridView::rebuildSpans()
{
    FTable->clearSpans();
    if (!FModel->groupColumn)
        return;
    int first = 0;
    while (first < ColumnCount() && FTable->isColumnHidden(first))
        ++first;
    const int span = ColumnCount() - first;
    if (span <= 1)
        return;
    for (size_t i = 0; i < FModel->entries.size(); ++i)
        if (FModel->entries[i].kind == GridModel::Kind::GroupHeader)
            FTable->setSpan(int(i), first, 1, span);
}

void TGridView::updateFooter()
{
    FModel->footerCache.clear();
    FFooter->update();
}

QAbstractItemModel *TGridView::Model() const
{
    return FModel;
}

QTableView *TGridView::TableView() const
{
    return FTable;
}
