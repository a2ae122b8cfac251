#include "modaldialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace testsupport {

namespace {

QString withoutMnemonic(QString caption)
{
    // "&&" is a literal ampersand; a single '&' marks the shortcut letter.
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

} // namespace

ModalDialogHelper::ModalDialogHelper(int timeoutMs, QObject *parent)
    : QObject(parent), m_timer(new QTimer(this)), m_timeoutMs(timeoutMs)
{
    m_timer->setInterval(20);
    connect(m_timer, &QTimer::timeout, this, &ModalDialogHelper::poll);
}

ModalDialogHelper::~ModalDialogHelper() = default;

ModalDialogHelper &ModalDialogHelper::expect(const QString &button, const QString &title, const QString &text)
{
    DialogAnswer a;
    a.button = button;
    a.title = title;
    a.text = text;
    return expect(std::move(a));
}

ModalDialogHelper &ModalDialogHelper::expect(DialogAnswer answer)
{
    if (m_queue.isEmpty())
        restartClock();
    m_queue.append(std::move(answer));
    m_timer->start();
    return *this;
}

void ModalDialogHelper::restartClock()
{
    m_clock.start();
}

bool ModalDialogHelper::waitDone()
{
    while ((!m_queue.isEmpty() || m_clickPending) && m_failure.isEmpty())
        QTest::qWait(10);
    return m_failure.isEmpty();
}

QStringList ModalDialogHelper::dialogTexts(QWidget *dialog)
{
    QStringList texts;
    if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
        texts << box->text();
        if (!box->informativeText().isEmpty())
            texts << box->informativeText();
        return texts;
    }
    const QList<QLabel *> labels = dialog->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (!label->text().isEmpty())
            texts << label->text();
    }
    return texts;
}

QStringList ModalDialogHelper::buttonCaptions(QWidget *dialog)
{
    QStringList captions;
    const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons) {
        if (b->isVisible() || !dialog->isVisible())
            captions << withoutMnemonic(b->text());
    }
    return captions;
}

void ModalDialogHelper::poll()
{
    if (!m_failure.isEmpty()) {
        // After a failure, dismiss whatever else the action opens so it cannot hang the test.
        if (QWidget *dialog = QApplication::activeModalWidget(); dialog && dialog->isVisible()) {
            if (auto *d = qobject_cast<QDialog *>(dialog))
                d->reject();
            else
                dialog->close();
        }
        return;
    }
    if (m_queue.isEmpty()) {
        m_timer->stop();
        return;
    }
    QWidget *dialog = QApplication::activeModalWidget();
    // The dialog just answered stays up until its queued button click has run.
    if (dialog && dialog == m_lastAnswered && m_clickPending)
        dialog = nullptr;
    if (dialog && dialog->isVisible()) {
        answer(dialog);
        return;
    }
    if (m_clock.elapsed() > m_timeoutMs) {
        const DialogAnswer &next = m_queue.first();
        fail(QStringLiteral("Beklenen modal pencere %1 ms içinde açılmadı (sıradaki: başlık '%2', metin '%3', düğme '%4'; "
                            "şimdiye kadar %5 pencere yanıtlandı)")
                 .arg(m_timeoutMs)
                 .arg(next.title, next.text, next.button)
                 .arg(m_seen.size()),
             nullptr);
    }
}

void ModalDialogHelper::answer(QWidget *dialog)
{
    const DialogAnswer expected = m_queue.takeFirst();
    SeenDialog seen{dialog->windowTitle(), dialogTexts(dialog), QString::fromLatin1(dialog->metaObject()->className())};
    m_seen.append(seen);
    const int number = int(m_seen.size());

    if (!expected.title.isNull() && !expected.title.isEmpty() && seen.title != expected.title) {
        fail(QStringLiteral("%1. pencerenin başlığı '%2', beklenen '%3' (metin: %4)")
                 .arg(number)
                 .arg(seen.title, expected.title, seen.texts.join(QLatin1String(" | "))),
             dialog);
        return;
    }
    if (!expected.text.isEmpty()) {
        bool found = false;
        for (const QString &t : std::as_const(seen.texts)) {
            if (expected.textContains ? t.contains(expected.text) : t == expected.text) {
                found = true;
                break;
            }
        }
        if (!found) {
            fail(QStringLiteral("%1. pencerenin ('%2') metni beklenen '%3' değil; görünen: %4")
                     .arg(number)
                     .arg(seen.title, expected.text, seen.texts.join(QLatin1String(" | "))),
                 dialog);
            return;
        }
    }
    if (expected.inspect)
        expected.inspect(dialog);

    m_lastAnswered = dialog;
    restartClock();
    if (expected.button.isEmpty()) {
        if (auto *d = qobject_cast<QDialog *>(dialog))
            d->reject();
        else
            dialog->close();
    } else {
        QAbstractButton *target = nullptr;
        const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
        for (QAbstractButton *b : buttons) {
            if (withoutMnemonic(b->text()) == expected.button && b->isEnabled()) {
                target = b;
                break;
            }
        }
        if (!target) {
            fail(QStringLiteral("%1. pencerede ('%2') '%3' düğmesi yok; düğmeler: %4")
                     .arg(number)
                     .arg(seen.title, expected.button, buttonCaptions(dialog).join(QLatin1String(", "))),
                 dialog);
            return;
        }
        // Queued: the click may open a nested dialog, and this timer does not fire again
        // while its own slot is still on the stack.
        m_clickPending = true;
        QTimer::singleShot(0, target, [this, target] {
            m_clickPending = false;
            target->click();
        });
    }
    if (m_queue.isEmpty())
        m_timer->stop();
}

void ModalDialogHelper::fail(const QString &message, QWidget *dialog)
{
    m_failure = message;
    m_queue.clear();
    // Close the unexpected dialog so the blocked action returns and the test can report.
    if (dialog) {
        m_lastAnswered = dialog;
        if (auto *d = qobject_cast<QDialog *>(dialog))
            d->reject();
        else
            dialog->close();
    }
}

} // namespace testsupport
