#include "gridexporter.h"

#include "clientdataset.h"
#include "displayformat.h"
#include "exception.h"
#include "gridview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Excel rejects control characters in cell text and caps a cell at 32767 characters.
QByteArray cellText(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r')
            clean += c;
    clean.truncate(32767);
    return clean.toUtf8();
}

// Rows are written strictly top to bottom, which lets the workbook stream them to disk
// (constant-memory mode) instead of holding every cell of a large list.
class Writer {
public:
    Writer(const TGridView &view, lxw_workbook *book, lxw_worksheet *sheet)
        : v(view), wb(book), ws(sheet)
    {
        bold = workbook_add_format(wb);
        format_set_bold(bold);
    }

    void run()
    {
        // Everything that does not change from row to row is worked out once per column.
        for (int c = 0; c < v.ColumnCount(); ++c) {
            const TGridColumn *col = v.Columns(c);
            if (!col->Visible())
                continue;
            Plan p{col, col->Field(), nullptr};
            if (p.field)
                p.format = numberFormat(patternOf(p.field));
            plans.push_back(p);
        }
        for (size_t i = 0; i < plans.size(); ++i) {
            check(worksheet_write_string(ws, 0, lxw_col_t(i), cellText(plans[i].column->Caption()).constData(), bold));
            // About seven pixels per character of the default font.
            check(worksheet_set_column(ws, lxw_col_t(i), lxw_col_t(i), qMax(4.0, plans[i].column->Width() / 7.0), nullptr));
        }
        lxw_row_t row = 1;
        if (v.Grouped()) {
            for (int g = 0; g < v.GroupCount(); ++g) {
                check(worksheet_write_string(ws, row++, 0, cellText(v.GroupText(g)).constData(), bold));
                const auto &records = v.GroupRecords(g);
                for (int r : records)
                    writeRecord(row++, r);
                if (writeSummaries(row, records, true))
                    ++row;
            }
        } else {
            for (int r : v.FilteredRecords())
                writeRecord(row++, r);
        }
        writeSummaries(row, v.FilteredRecords(), false);
    }

    void check(lxw_error e)
    {
        if (e != LXW_NO_ERROR && error == LXW_NO_ERROR)
            error = e;
    }

    lxw_error error = LXW_NO_ERROR;

private:
    struct Plan {
        const TGridColumn *column;
        const TField *field;   // nullptr: the column stays empty
        lxw_format *format;    // number or date format of the field
    };

    lxw_format *numberFormat(const QString &pattern)
    {
        if (pattern.isEmpty())
            return nullptr;
        auto it = formats.constFind(pattern);
        if (it != formats.cend())
            return *it;
        lxw_format *f = workbook_add_format(wb);
        format_set_num_format(f, pattern.toUtf8().constData());
        formats.insert(pattern, f);
        return f;
    }

    static QString patternOf(const TField *f)
    {
        switch (f->DataType()) {
        case TFieldType::Date:
            return QStringLiteral("dd.mm.yyyy");
        case TFieldType::DateTime:
            return QStringLiteral("dd.mm.yyyy hh:mm:ss");
        case TFieldType::Currency:
            return platform::SpreadsheetNumberFormat(f->DisplayFormat().isEmpty() ? QStringLiteral("#,##0.00") : f->DisplayFormat());
        default:
            return platform::SpreadsheetNumberFormat(f->DisplayFormat());
        }
    }

    void writeText(lxw_row_t row, lxw_col_t c, const QString &text)
    {
        check(worksheet_write_string(ws, row, c, cellText(text).constData(), nullptr));
    }

    void writeRecord(lxw_row_t row, int record)
    {
        for (size_t i = 0; i < plans.size(); ++i) {
            const Plan &p = plans[i];
            const TField *f = p.field;
            if (!f || f->IsNullAt(record) || p.column->Kind() == TCellKind::Image)
                continue;
            const lxw_col_t c = lxw_col_t(i);
            if (p.column->Kind() == TCellKind::ImageCombo) {
                const TImageComboItem *item = p.column->ImageComboItemFor(f->ValueAt(record));
                if (item && !item->Description.isEmpty()) {
                    writeText(row, c, item->Description);
                    continue;
                }
            }
            switch (f->DataType()) {
            case TFieldType::Integer:
            case TFieldType::LargeInt:
            case TFieldType::Float:
            case TFieldType::Currency:
            case TFieldType::BCD:
                check(worksheet_write_number(ws, row, c, f->AsFloatAt(record), p.format));
                break;
            case TFieldType::Boolean:
                check(worksheet_write_boolean(ws, row, c, f->AsLargeIntAt(record) != 0, nullptr));
                break;
            case TFieldType::Date:
            case TFieldType::DateTime: {
                // Stored as day numbers and zone-less milliseconds: no time zone enters here.
                const qint64 stored = f->AsLargeIntAt(record);
                const bool withTime = f->DataType() == TFieldType::DateTime;
                const qint64 ms = withTime ? stored : 0;
                qint64 day = withTime ? ms / kMsPerDay - (ms % kMsPerDay < 0 ? 1 : 0) + kEpochJulianDay : stored;
                const qint64 msOfDay = withTime ? ms - (day - kEpochJulianDay) * kMsPerDay : 0;
                const QDate date = QDate::fromJulianDay(day);
                if (date.year() < 1900 || date.year() > 9999) { // outside what a spreadsheet date can hold
                    writeText(row, c, f->DisplayTextAt(record));
                    break;
                }
                lxw_datetime when{date.year(), date.month(), date.day(), int(msOfDay / 3600000),
                                  int(msOfDay / 60000 % 60), double(msOfDay % 60000) / 1000.0};
                check(worksheet_write_datetime(ws, row, c, &when, p.format));
                break;
            }
            case TFieldType::String:
                writeText(row, c, f->AsStringAt(record));
                break;
            case TFieldType::Blob:
                break;
            }
        }
    }

    // A row of summaries (group or footer); false when the view has none of that kind.
    bool writeSummaries(lxw_row_t row, const std::vector<int> &records, bool group)
    {
        bool any = false;
        for (size_t i = 0; i < plans.size(); ++i) {
            const Plan &p = plans[i];
            const TSummaryKind kind = group ? p.column->GroupSummary() : p.column->FooterSummary();
            if (kind == TSummaryKind::None)
                continue;
            any = true;
            if (kind == TSummaryKind::Count) {
                check(worksheet_write_number(ws, row, lxw_col_t(i), double(records.size()), bold));
                continue;
            }
            if (!p.field || !p.field->IsNumeric())
                continue;
            double sum = 0;
            int count = 0;
            for (int r : records)
                if (!p.field->IsNullAt(r))
                    sum += p.field->AsFloatAt(r), ++count;
            const double value = kind == TSummaryKind::Sum ? sum : (count ? sum / count : 0.0);
            check(worksheet_write_number(ws, row, lxw_col_t(i), value, p.format));
        }
        return any;
    }

    static constexpr qint64 kMsPerDay = 86400000;
    static constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01

    const TGridView &v;
    lxw_workbook *wb;
    lxw_worksheet *ws;
    lxw_format *bold = nullptr;
    std::vector<Plan> plans;
    QHash<QString, lxw_format *> formats;
};

} // namespace

QString TGridExporter::XlsxFileName(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().toLower();
    if (suffix == u"xlsx")
        return fileName;
    if (suffix == u"xls")
        return fileName.chopped(3) + QStringLiteral("xlsx");
    return fileName + QStringLiteral(".xlsx");
}

QString TGridExporter::ExportToXlsx(const TGridView &view, const QString &fileName)
{
    const QString target = XlsxFileName(QFileInfo(fileName).absoluteFilePath());
    const auto fail = [&](const QString &why) {
        return platform::Exception(QStringLiteral("\"%1\" dosyası kaydedilemedi: %2").arg(QDir::toNativeSeparators(target), why));
    };
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isFile())
        throw fail(QStringLiteral("aynı adda bir klasör var"));

    // Reserve a name beside the target; the workbook is written there and renamed at the end.
    QTemporaryFile reserve(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.completeBaseName()
                           + QStringLiteral("-XXXXXX.xlsx"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        throw fail(reserve.errorString());
    const QString temp = reserve.fileName();
    reserve.close();
    const auto removeTemp = [&] { QFile::remove(temp); };

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *wb = workbook_new_opt(QFile::encodeName(temp).constData(), &options);
    if (!wb) {
        removeTemp();
        throw fail(QStringLiteral("çalışma kitabı oluşturulamadı"));
    }
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Sayfa1");
    Writer writer(view, wb, ws);
    try {
        writer.run();
    } catch (...) {
        workbook_close(wb);
        removeTemp();
        throw;
    }
    const lxw_error closed = workbook_close(wb);
    const lxw_error error = writer.error != LXW_NO_ERROR ? writer.error : closed;
    if (error != LXW_NO_ERROR) {
        removeTemp();
        throw fail(QString::fromUtf8(lxw_strerror(error)));
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        removeTemp();
        throw fail(why);
    }
    return target;
}
