#pragma once
// Message dialogs of the platform: a standard dialog built from a text, a kind and a set
// of buttons, the plain message box (application title, one OK button) and beeps.
// Modal results are the Windows dialog identifiers the windows compare against.
#include <QFlags>
#include <QString>

#include <functional>

class QMessageBox;
class QPushButton;
class QWidget;

namespace platform {

enum class MessageKind { Warning = 0, Error = 1, Information = 2, Question = 3, Custom = 4 };

enum class MessageButton : unsigned {
    Yes = 0x1,
    No = 0x2,
    Ok = 0x4,
    Cancel = 0x8,
    Abort = 0x10,
    Retry = 0x20,
    Ignore = 0x40,
    All = 0x80,
    NoToAll = 0x100,
    YesToAll = 0x200,
    Help = 0x400,
    Close = 0x800,
};
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

namespace ModalResult {
inline constexpr int None = 0;
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
inline constexpr int All = 8;
inline constexpr int NoToAll = 9;
inline constexpr int YesToAll = 10;
inline constexpr int Close = 11;
} // namespace ModalResult

// Windows message-beep sound types.
namespace BeepType {
inline constexpr unsigned Hand = 0x10;
inline constexpr unsigned Question = 0x20;
inline constexpr unsigned Exclamation = 0x30;
inline constexpr unsigned Asterisk = 0x40;
} // namespace BeepType

// The application title: caption of plain message boxes and of dialogs of no kind.
void SetApplicationTitle(const QString &title);
QString ApplicationTitle();

// The main window dialogs are centred over; none means the screen.
void SetApplicationMainForm(QWidget *form);
QWidget *ApplicationMainForm();

// Point size of every message dialog's font; 0 keeps the application font.
void SetMessageDialogFontSize(int points);
int MessageDialogFontSize();

// A message dialog of the kind's icon with one push button per requested button, each
// carrying its modal result; the caller sets captions and the default. The dialog is
// sized and centred over the main form (over the screen while there is none).
QMessageBox *CreateMessageDialog(const QString &text, MessageKind kind, MessageButtons buttons);
// Runs the dialog modally and returns the modal result of the pressed button.
int ExecMessageDialog(QMessageBox &dialog);
// The push button of a dialog made by CreateMessageDialog, or nullptr.
QPushButton *DialogButton(QMessageBox &dialog, MessageButton button);

// The plain message box: application title, the text and one OK button, centred on the
// screen. Callable from any thread: a background caller waits until it is closed.
void ShowMessage(const QString &text);

// Plays the system sound of the type. Tests may observe the sounds through a hook.
void MessageBeep(unsigned type);
void SetBeepHook(std::function<void(unsigned)> hook);

// Runs fn on the UI thread and waits for it; runs it at once when already there.
void RunOnUiThread(const std::function<void()> &fn);

} // namespace platform
