#pragma once
// Server-rendered PDF documents (receipts, reports): a title, labelled lines and tables
// on A4 pages, drawn with QPdfWriter. Needs a QGuiApplication in the process (fonts).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace methods {

class PdfReport {
public:
    explicit PdfReport(const QString &title);

    void addHeading(const QString &text);
    void addField(const QString &label, const QString &value);
    // Column widths are relative weights; columns in `rightAligned` (by index) hold numbers.
    void addTable(const QStringList &headers, const QList<int> &weights, const QList<QStringList> &rows,
                  const QList<int> &rightAligned = {});
    void addText(const QString &text);

    // The finished document.
    QByteArray render() const;

private:
    struct Block {
        enum Kind { Heading, Field, Table, Text } kind;
        QString a, b;
        QStringList headers;
        QList<int> weights;
        QList<QStringList> rows;
        QList<int> right;
    };
    QString m_title;
    QList<Block> m_blocks;
};

} // namespace methods
