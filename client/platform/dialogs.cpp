#include "dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include <atomic>
#include <mutex>

namespace platform {
namespace {

const char *const ResultProperty = "korvelModalResult";
const char *const ButtonProperty = "korvelMessageButton";

std::mutex g_stateMutex;
QString g_title;
QPointer<QWidget> g_mainForm;
std::atomic<int> g_fontSize{0};
std::function<void(unsigned)> g_beepHook;

struct ButtonInfo {
    MessageButton button;
    int result;
    QMessageBox::ButtonRole role;
};

// Order in which the buttons appear, as the platform's message dialog lays them out.
const ButtonInfo kButtons[] = {
    {MessageButton::Yes, ModalResult::Yes, QMessageBox::YesRole},
    {MessageButton::No, ModalResult::No, QMessageBox::NoRole},
    {MessageButton::Ok, ModalResult::Ok, QMessageBox::AcceptRole},
    {MessageButton::Cancel, ModalResult::Cancel, QMessageBox::RejectRole},
    {MessageButton::Abort, ModalResult::Abort, QMessageBox::RejectRole},
    {MessageButton::Retry, ModalResult::Retry, QMessageBox::AcceptRole},
    {MessageButton::Ignore, ModalResult::Ignore, QMessageBox::AcceptRole},
    {MessageButton::All, ModalResult::All, QMessageBox::YesRole},
    {MessageButton::NoToAll, ModalResult::NoToAll, QMessageBox::NoRole},
    {MessageButton::YesToAll, ModalResult::YesToAll, QMessageBox::YesRole},
    {MessageButton::Help, ModalResult::None, QMessageBox::HelpRole},
    {MessageButton::Close, ModalResult::Close, QMessageBox::RejectRole},
};

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Question: return QMessageBox::Question;
    case MessageKind::Custom: break;
    }
    return QMessageBox::NoIcon;
}

bool onUiThread()
{
    return qApp && QThread::currentThread() == qApp->thread();
}

void centre(QWidget &dialog, QWidget *over)
{
    dialog.adjustSize();
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

} // namespace

void SetApplicationTitle(const QString &title)
{
    std::lock_guard lock(g_stateMutex);
    g_title = title;
}

QString ApplicationTitle()
{
    std::lock_guard lock(g_stateMutex);
    return g_title;
}

void SetApplicationMainForm(QWidget *form)
{
    g_mainForm = form;
}

QWidget *ApplicationMainForm()
{
    return g_mainForm.data();
}

void SetMessageDialogFontSize(int points)
{
    g_fontSize = points;
}

int MessageDialogFontSize()
{
    return g_fontSize;
}

QMessageBox *CreateMessageDialog(const QString &text, MessageKind kind, MessageButtons buttons)
{
    auto *dialog = new QMessageBox;
    dialog->setIcon(iconOf(kind));
    dialog->setText(text);
    dialog->setTextFormat(Qt::PlainText);
    dialog->setWindowTitle(ApplicationTitle());
    if (int points = MessageDialogFontSize(); points > 0) {
        QFont font = dialog->font();
        font.setPointSize(points);
        dialog->setFont(font);
    }
    QPushButton *escape = nullptr;
    for (const ButtonInfo &info : kButtons) {
        if (!buttons.testFlag(info.button))
            continue;
        QPushButton *b = dialog->addButton(QString(), info.role);
        b->setProperty(ResultProperty, info.result);
        b->setProperty(ButtonProperty, unsigned(info.button));
        // Escape answers like the platform: Cancel, else No, else OK.
        if (info.button == MessageButton::Cancel || (!escape && info.button == MessageButton::No)
            || (!escape && info.button == MessageButton::Ok))
            escape = b;
    }
    if (escape)
        dialog->setEscapeButton(escape);
    return dialog;
}

QPushButton *DialogButton(QMessageBox &dialog, MessageButton button)
{
    for (QAbstractButton *b : dialog.buttons()) {
        if (b->property(ButtonProperty).toUInt() == unsigned(button))
            return qobject_cast<QPushButton *>(b);
    }
    return nullptr;
}

int ExecMessageDialog(QMessageBox &dialog)
{
    centre(dialog, ApplicationMainForm());
    dialog.exec();
    QAbstractButton *clicked = dialog.clickedButton();
    return clicked ? clicked->property(ResultProperty).toInt() : ModalResult::Cancel;
}

void ShowMessage(const QString &text)
{
    RunOnUiThread([&text] {
        QMessageBox box;
        box.setWindowTitle(ApplicationTitle());
        box.setText(text);
        box.setTextFormat(Qt::PlainText);
        if (int points = MessageDialogFontSize(); points > 0) {
            QFont font = box.font();
            font.setPointSize(points);
            box.setFont(font);
        }
        QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        centre(box, nullptr);
        box.exec();
    });
}

void MessageBeep(unsigned type)
{
    std::function<void(unsigned)> hook;
    {
        std::lock_guard lock(g_stateMutex);
        hook = g_beepHook;
    }
    if (hook)
        hook(type);
    else
        QApplication::beep();
}

void SetBeepHook(std::function<void(unsigned)> hook)
{
    std::lock_guard lock(g_stateMutex);
    g_beepHook = std::move(hook);
}

void RunOnUiThread(const std::function<void()> &fn)
{
    if (!qApp || onUiThread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(qApp, fn, Qt::BlockingQueuedConnection);
}

} // namespace platform
