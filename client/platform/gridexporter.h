#pragma once
// Spreadsheet export of a grid view: an Office Open XML workbook (.xlsx) with the visible
// columns in view order, their captions as the header row, every row (groups expanded,
// header filter applied), group and footer summaries, and values in their native types:
// numbers carry the column's display format, dates are dates, text stays text.
//
// The file is written beside the target under a temporary name and renamed into place,
// so a failed export leaves no partial file. Failures raise platform::Exception with a
// message that can be shown to the user.
#include <QString>

class TGridView;

class TGridExporter {
public:
    // Writes the workbook and returns the path written: `fileName` with the extension
    // ".xlsx" (a ".xls" or ".xlsx" the user typed is replaced, anything else kept and extended).
    static QString ExportToXlsx(const TGridView &view, const QString &fileName);
    static QString XlsxFileName(const QString &fileName);
};
