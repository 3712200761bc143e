#include "mainwindow/formkeys.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/displaymodes.h"
#include "mainwindow/editcommands.h"
#include "mainwindow/imecolours.h"
#include "mainwindow/keycodes.h"
#include "orrin/orrnusr.h"

#include <QAction>
#include <QTextCursor>

using namespace keys;

FormKeys::FormKeys(MainForm &form, DisplayModes &display, ImeColours &ime, EditCommands &edit)
    : form_(form), display_(display), ime_(ime), edit_(edit)
{
}

void FormKeys::Form_KeyDown(int &KeyCode, int Shift)
{
    form_.LastShift = Shift;
    // Alt alone begins a shortcut or the menus; the English word goes on.
    if (KeyCode != Menu)
        form_.speech().SapiCancel();
    // Handled when the key is released.
    if ((KeyCode == KeyG && Shift == CtrlBit) || (KeyCode == PageDown && Shift == AltBit) ||
        (KeyCode == KeyC && Shift == CtrlBit))
        KeyCode = 0;
}

void FormKeys::Form_KeyPress(int &KeyAscii)
{
    if (KeyAscii == 22)
        form_.PasteTyped = true;
    form_.speech().SapiCancel();
    if (KeyAscii == 7 || KeyAscii == 3)
        KeyAscii = 0;
}

void FormKeys::Form_KeyUp(int &KeyCode, int Shift)
{
    (void)Shift;
    // A typed Ctrl+V was pasted by the box it was typed in; only the result
    // pane's own key-up still looks at it.
    if (KeyCode == KeyV && form_.focusWidget() != form_.Text2)
        form_.PasteTyped = false;
    if (form_.AllReadFlag)
        return;
    const int shift = form_.LastShift;
    const bool alt = shift == AltBit;
    const bool ctrl = shift == CtrlBit;
    switch (KeyCode) {
    case F2:
        if (alt)
            ORRNCOMMAND(QStringLiteral("ReadInputSts"), 1, 1);
        break;
    case F8:
        if (alt)
            ORRNCOMMAND(QStringLiteral("ReadCurLine"), 1, 1);
        break;
    case KeyG:
        if (ctrl)
            switchKey();
        break;
    case F6:
        if (!ime_.IMMuse())
            magnifyUpKey();
        KeyCode = 0;
        break;
    case PageDown:
        if (alt) {
            if (!ime_.IMMuse())
                magnifyUpKey();
            KeyCode = 0;
        }
        break;
    case PageUp:
        if (alt) {
            magnifyDownKey();
            KeyCode = 0;
        }
        break;
    case F5:
        if (alt && !form_.QevSelMode && !form_.Text2->toPlainText().isEmpty() && OrvLoaded()) {
            QTextCursor c = form_.Text2->textCursor();
            c.setPosition(0);
            form_.Text2->setTextCursor(c);
            form_.Text2->setFocus();
            form_.speech().AllRead();
        }
        break;
    case Left:
    case Right:
    case Up:
    case Down:
        if (alt && !form_.QevSelMode) {
            const char *item = KeyCode == Left    ? "mnu_file_oldback"
                               : KeyCode == Right ? "mnu_file_oldnext"
                               : KeyCode == Up    ? "mnu_file_backpage"
                                                  : "mnu_file_nextpage";
            QAction *action = form_.action(QString::fromLatin1(item));
            if (action->isEnabled())
                action->trigger();
            KeyCode = 0;
        }
        break;
    case KeyA:
        if (ctrl && !form_.QevSelMode)
            edit_.mnu_edit_allcopy_Click();
        break;
    default: break;
    }
}

void FormKeys::magnifyUpKey()
{
    if (form_.KeyBusy)
        return;
    form_.KeyBusy = true;
    display_.magnifyUp();
    form_.KeyBusy = false;
}

void FormKeys::magnifyDownKey()
{
    if (form_.KeyBusy)
        return;
    form_.KeyBusy = true;
    display_.magnifyDown();
    form_.KeyBusy = false;
}

void FormKeys::switchKey()
{
    if (form_.KeyBusy)
        return;
    form_.KeyBusy = true;
    display_.mnu_view_switch_Click();
    form_.KeyBusy = false;
}
