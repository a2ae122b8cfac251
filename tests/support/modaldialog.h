#pragma once
// Answers the modal dialogs that the code under test opens. Arm it before the action:
//
//     testsupport::ModalDialogHelper dialogs;
//     dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Bilgi"), QStringLiteral("Siparişiniz Gönderildi !"));
//     window.Button1Click();                // opens the box; the helper presses "Tamam"
//     KORVEL_VERIFY_DIALOGS(dialogs);       // fails the test if it never appeared or did not match
//
// Several expect() calls form a chain answered in order, also when the dialogs come from
// nested event loops. The helper polls QApplication::activeModalWidget() with a timer, so it
// works while the action blocks in QDialog::exec().
#include <QElapsedTimer>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QTimer;
class QWidget;

namespace testsupport {

struct DialogAnswer {
    QString button;        // caption of the button to press ('&' ignored); empty: reject the dialog
    QString title;         // expected window title; empty: not checked
    QString text;          // expected text (QMessageBox::text or any QLabel of the dialog); empty: not checked
    bool textContains = false;                 // match text as a part instead of the whole
    std::function<void(QWidget *)> inspect;    // further checks before the button is pressed
};

// What the helper saw of one dialog it answered.
struct SeenDialog {
    QString title;
    QStringList texts;
    QString className;
};

class ModalDialogHelper : public QObject {
    Q_OBJECT
public:
    explicit ModalDialogHelper(int timeoutMs = 5000, QObject *parent = nullptr);
    ~ModalDialogHelper() override;

    ModalDialogHelper &expect(const QString &button, const QString &title = {}, const QString &text = {});
    ModalDialogHelper &expect(DialogAnswer answer);

    // Runs the event loop until every armed dialog was answered, a check failed, or the
    // pending dialog's time-out ran out. True when all went as expected.
    bool waitDone();
    int pending() const { return int(m_queue.size()); }
    QString failure() const { return m_failure; }
    const QList<SeenDialog> &seen() const { return m_seen; }

    // Visible texts of a dialog: QMessageBox text and informative text, or every QLabel.
    static QStringList dialogTexts(QWidget *dialog);
    // Captions of the dialog's buttons with '&' markers removed.
    static QStringList buttonCaptions(QWidget *dialog);

private:
    void poll();
    void answer(QWidget *dialog);
    void fail(const QString &message, QWidget *dialog);
    void restartClock();

    QList<DialogAnswer> m_queue;
    QList<SeenDialog> m_seen;
    QString m_failure;
    QTimer *m_timer;
    QElapsedTimer m_clock;
    QPointer<QWidget> m_lastAnswered;
    int m_timeoutMs;
    bool m_clickPending = false;
};

} // namespace testsupport

Q_DECLARE_METATYPE(testsupport::DialogAnswer)

#define KORVEL_VERIFY_DIALOGS(helper) QVERIFY2((helper).waitDone(), qPrintable((helper).failure()))
