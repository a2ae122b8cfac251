// Program entry: the embedded look, the main window, the message loop.
#include "unit1.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

namespace {

// Applies the style sheet "dividoro" from the resources; on failure the error is shown
// and the default look stays.
void stilUygula(QApplication &app)
{
    QFile file(QStringLiteral(":/korvel/dividoro.qss"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QMessageBox::critical(nullptr, QString(),
                              QStringLiteral("Görünüm \"dividoro\" yüklenemedi: %1").arg(file.errorString()));
        return;
    }
    app.setStyleSheet(QString::fromUtf8(file.readAll()));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    stilUygula(app);
    auto *form = new TForm1;
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->showMaximized();
    return app.exec();
}
