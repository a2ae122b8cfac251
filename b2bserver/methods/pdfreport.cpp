#include "pdfreport.h"

#include <QBuffer>
#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace methods {

PdfReport::PdfReport(const QString &title) : m_title(title) {}

void PdfReport::addHeading(const QString &text)
{
    m_blocks.append({Block::Heading, text, {}, {}, {}, {}, {}});
}

void PdfReport::addField(const QString &label, const QString &value)
{
    m_blocks.append({Block::Field, label, value, {}, {}, {}, {}});
}

void PdfReport::addTable(const QStringList &headers, const QList<int> &weights, const QList<QStringList> &rows,
                         const QList<int> &rightAligned)
{
    m_blocks.append({Block::Table, {}, {}, headers, weights, rows, rightAligned});
}

void PdfReport::addText(const QString &text)
{
    m_blocks.append({Block::Text, text, {}, {}, {}, {}, {}});
}

namespace {

// Drawing in points on A4 with 40 pt margins; new pages as the text runs down.
class Pager {
public:
    Pager(QPdfWriter &writer, QPainter &painter) : m_writer(writer), m_painter(painter)
    {
        const double scale = writer.resolution() / 72.0;
        painter.scale(scale, scale);
        m_width = writer.pageLayout().paintRect(QPageLayout::Point).width();
        m_height = writer.pageLayout().paintRect(QPageLayout::Point).height();
    }
    double width() const { return m_width; }
    bool fits(double h) const { return y + h <= m_height; }
    double y = 0;

    // Makes room for `h` points, starting a new page when the current one is full.
    void need(double h)
    {
        if (y + h <= m_height)
            return;
        m_writer.newPage();
        y = 0;
    }

private:
    QPdfWriter &m_writer;
    QPainter &m_painter;
    double m_width = 0, m_height = 0;
};

QFont font(double points, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace

QByteArray PdfReport::render() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(40, 40, 40, 40), QPageLayout::Point);
        writer.setResolution(300);
        writer.setTitle(m_title);
        writer.setCreator(QStringLiteral("Korvel Oto B2B"));
        QPainter painter(&writer);
        Pager page(writer, painter);

        painter.setFont(font(15, true));
        painter.drawText(QRectF(0, 0, page.width(), 22), Qt::AlignLeft | Qt::AlignVCenter, m_title);
        painter.setFont(font(8));
        painter.drawText(QRectF(0, 0, page.width(), 22), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Korvel Oto Yedek Parça — ") +
                             QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
        painter.drawLine(QPointF(0, 26), QPointF(page.width(), 26));
        page.y = 34;

        for (const Block &b : m_blocks) {
            switch (b.kind) {
            case Block::Heading:
                page.need(26);
                page.y += 6;
                painter.setFont(font(11, true));
                painter.drawText(QRectF(0, page.y, page.width(), 16), Qt::AlignLeft | Qt::AlignVCenter, b.a);
                page.y += 18;
                break;
            case Block::Field:
                page.need(14);
                painter.setFont(font(9, true));
                painter.drawText(QRectF(0, page.y, 150, 14), Qt::AlignLeft | Qt::AlignVCenter, b.a);
                painter.setFont(font(9));
                painter.drawText(QRectF(150, page.y, page.width() - 150, 14), Qt::AlignLeft | Qt::AlignVCenter,
                                 b.b);
                page.y += 14;
                break;
            case Block::Text: {
                painter.setFont(font(9));
                const QRectF bound = painter.boundingRect(QRectF(0, 0, page.width(), 10000), Qt::TextWordWrap, b.a);
                page.need(bound.height() + 4);
                painter.drawText(QRectF(0, page.y, page.width(), bound.height()), Qt::TextWordWrap, b.a);
                page.y += bound.height() + 4;
                break;
            }
            case Block::Table: {
                double total = 0;
                for (int w : b.weights)
                    total += w;
                QList<double> x{0};
                for (int w : b.weights)
                    x.append(x.back() + page.width() * w / (total > 0 ? total : 1));
                auto drawRow = [&](const QStringList &cells, bool header) {
                    page.need(14);
                    painter.setFont(font(7.5, header));
                    if (header)
                        painter.fillRect(QRectF(0, page.y, page.width(), 14), QColor(225, 230, 238));
                    for (int c = 0; c < cells.size() && c + 1 < x.size(); ++c) {
                        const Qt::Alignment align =
                            (!header && b.right.contains(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
                        const QRectF cell(x[c] + 2, page.y, x[c + 1] - x[c] - 4, 14);
                        painter.drawText(cell, align,
                                         QFontMetricsF(painter.font()).elidedText(cells[c], Qt::ElideRight,
                                                                                  cell.width()));
                    }
                    page.y += 14;
                    painter.setPen(QColor(200, 200, 200));
                    painter.drawLine(QPointF(0, page.y), QPointF(page.width(), page.y));
                    painter.setPen(Qt::black);
                };
                drawRow(b.headers, true);
                for (const QStringList &row : b.rows) {
                    if (!page.fits(14)) {  // a table going on over a page break repeats its header
                        page.need(14);
                        drawRow(b.headers, true);
                    }
                    drawRow(row, false);
                }
                page.y += 6;
                break;
            }
            }
        }
        painter.end();
    }
    return bytes;
}

} // namespace methods
