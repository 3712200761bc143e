#include "mainwindow/eventrouter.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/formkeys.h"
#include "mainwindow/historypopup.h"
#include "mainwindow/inputbox.h"
#include "mainwindow/keycodes.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/resultpane.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>

#include <utility>

EventRouter::EventRouter(MainForm &form, Lifecycle &lifecycle, FormKeys &formKeys, InputBox &inputBox,
                         ResultPane &resultPane, HistoryPopup &historyPopup)
    : form_(form), lifecycle_(lifecycle), formKeys_(formKeys), inputBox_(inputBox), resultPane_(resultPane),
      historyPopup_(historyPopup)
{
    for (QObject *o : std::initializer_list<QObject *>{
             &form_, form_.Text1, form_.Text2, form_.List1, form_.Text1->viewport(), form_.Text2->viewport(),
             form_.Label1, form_.Label2, form_.Label3, form_.centralWidget(), form_.menuBar()})
        o->installEventFilter(this);
    form_.Text1->viewport()->setAcceptDrops(true);
    connect(form_.List1, &QListWidget::itemDoubleClicked, &historyPopup_, &HistoryPopup::List1_DblClick);
}

EventRouter::Pane EventRouter::paneOf(QObject *watched) const
{
    if (watched == form_.Text1 || watched == form_.Text1->viewport())
        return Pane::Text1;
    if (watched == form_.Text2 || watched == form_.Text2->viewport())
        return Pane::Text2;
    if (watched == form_.List1)
        return Pane::List1;
    return Pane::None;
}

bool EventRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (lifecycle_.isUnloaded()) {
        // Shut down: input that was still queued goes nowhere.
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Drop: return true;
        default: break;
        }
    }
    if (watched == form_.menuBar()) {
        // Escape in the menu bar with no menu open leaves it.
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            menuBarLeft_ = true;
        return false;
    }
    const Pane pane = paneOf(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (pane == Pane::None) {
            // A key the focused control let through reaches the window too;
            // the window has seen the keys of the panes already.
            if (watched != &form_ || paneOf(form_.focusWidget()) != Pane::None)
                return false;
        } else if (watched != form_.Text1 && watched != form_.Text2 && watched != form_.List1) {
            return false;
        }
        auto *key = static_cast<QKeyEvent *>(event);
        return event->type() == QEvent::KeyPress ? keyPress(pane, key) : keyRelease(pane, key);
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (watched == form_.Text1 || watched == form_.Text2 || watched == form_.List1)
            focus(pane, static_cast<QFocusEvent *>(event));
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return mouse(watched, event);
    case QEvent::ContextMenu:
        // The panes' menu is the Edit menu, opened on the button press.
        return pane == Pane::Text1 || pane == Pane::Text2;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (pane == Pane::Text1 || pane == Pane::Text2) {
            auto *drag = static_cast<QDropEvent *>(event);
            if (drag->mimeData()->hasText() && !(pane == Pane::Text2 && form_.QevSelMode)) {
                drag->acceptProposedAction();
                return true;
            }
        }
        return false;
    case QEvent::Drop: return drop(pane, event);
    case QEvent::WindowActivate:
        if (watched == &form_)
            lifecycle_.Form_Activate();
        return false;
    case QEvent::WindowDeactivate:
        if (watched == &form_)
            lifecycle_.Form_Deactivate();
        return false;
    case QEvent::Close:
        if (watched == &form_ && lifecycle_.isLoaded()) {
            lifecycle_.endProgram();
            return false;
        }
        return false;
    default: return false;
    }
}

void EventRouter::focus(Pane pane, const QFocusEvent *event)
{
    // A menu or a popup takes the focus while it is open and gives it back
    // when it closes: for the user the pane never lost it, and it says
    // nothing again. Only a pane that the focus moved to meanwhile gets it
    // as a new focus.
    // The menu bar left with Escape is the exception: the user has walked
    // its titles meanwhile, and hears where the keys are again.
    const bool leftMenuBar = event->type() == QEvent::FocusIn && std::exchange(menuBarLeft_, false);
    const bool popup =
        (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::MenuBarFocusReason) && !leftMenuBar;
    if (event->type() == QEvent::FocusOut) {
        if (popup)
            return;
        lostFocus(pane);
        if (pane == focused_)
            focused_ = Pane::None;
        return;
    }
    if (popup && pane == focused_)
        return;
    if (focused_ != Pane::None && focused_ != pane)
        lostFocus(focused_);
    focused_ = pane;
    switch (pane) {
    case Pane::Text1: inputBox_.Text1_GotFocus(); break;
    case Pane::Text2: resultPane_.Text2_GotFocus(); break;
    case Pane::List1: historyPopup_.List1_GotFocus(); break;
    case Pane::None: break;
    }
}

void EventRouter::lostFocus(Pane pane)
{
    switch (pane) {
    case Pane::Text1: inputBox_.Text1_LostFocus(); break;
    case Pane::Text2: resultPane_.Text2_LostFocus(); break;
    case Pane::List1: historyPopup_.List1_LostFocus(); break;
    case Pane::None: break;
    }
}

bool EventRouter::keyPress(Pane pane, QKeyEvent *event)
{
    int keyCode = keys::virtualKey(event->key());
    const int shift = keys::shiftState(event->modifiers());
    bool cancelled = false;
    if (keyCode != 0) {
        formKeys_.Form_KeyDown(keyCode, shift);
        if (keyCode != 0) {
            switch (pane) {
            case Pane::Text1: inputBox_.Text1_KeyDown(keyCode, shift); break;
            case Pane::Text2: resultPane_.Text2_KeyDown(keyCode, shift); break;
            case Pane::List1: historyPopup_.List1_KeyDown(keyCode, shift); break;
            case Pane::None: break;
            }
        }
        cancelled = keyCode == 0;
    }
    int ascii = keys::characterCode(*event);
    if (ascii != 0) {
        formKeys_.Form_KeyPress(ascii);
        if (ascii != 0) {
            switch (pane) {
            case Pane::Text1: inputBox_.Text1_KeyPress(ascii); break;
            case Pane::Text2: resultPane_.Text2_KeyPress(ascii); break;
            case Pane::List1:
            case Pane::None: break;
            }
        }
        cancelled = cancelled || ascii == 0;
    }
    return cancelled;
}

bool EventRouter::keyRelease(Pane pane, QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return false; // a held key is released once
    int keyCode = keys::virtualKey(event->key());
    if (keyCode == 0)
        return false;
    if (pane == Pane::Text2 && resultPane_.ResultWndProc_KeyUp(keyCode))
        return true;
    const int shift = keys::shiftState(event->modifiers());
    formKeys_.Form_KeyUp(keyCode, shift);
    if (keyCode != 0) {
        switch (pane) {
        case Pane::Text1: inputBox_.Text1_KeyUp(keyCode, shift); break;
        case Pane::Text2: resultPane_.Text2_KeyUp(keyCode, shift); break;
        case Pane::List1: historyPopup_.List1_KeyUp(keyCode, shift); break;
        case Pane::None: break;
        }
    }
    return keyCode == 0;
}

bool EventRouter::mouse(QObject *watched, QEvent *event)
{
    auto *m = static_cast<QMouseEvent *>(event);
    const bool left = m->button() == Qt::LeftButton;
    const bool right = m->button() == Qt::RightButton;
    if (watched == form_.Text1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress && right) {
            inputBox_.Text1_RightButtonDown();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && left)
            inputBox_.Text1_Click();
        return false;
    }
    if (watched == form_.Text2->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: return resultPane_.Text2_MouseDown(right);
        case QEvent::MouseButtonRelease:
            if (left)
                resultPane_.Text2_Click();
            resultPane_.Text2_MouseUp();
            return false;
        case QEvent::MouseMove: resultPane_.Text2_MouseMove(); return false;
        default: return false;
        }
    }
    if (!left)
        return false;
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == form_.Label1)
            resultPane_.Label1_Click();
        else if (watched == form_.Label2)
            resultPane_.Label2_Click();
        else if (watched == form_.Label3)
            resultPane_.Label3_Click();
        else if (watched == form_.centralWidget())
            resultPane_.Form_Click();
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == form_.Label3) {
        resultPane_.Label3_DblClick();
        return true;
    }
    return false;
}

bool EventRouter::drop(Pane pane, QEvent *event)
{
    if (pane != Pane::Text1 && pane != Pane::Text2)
        return false;
    auto *d = static_cast<QDropEvent *>(event);
    if (!d->mimeData()->hasText())
        return false;
    const QString text = d->mimeData()->text();
    d->acceptProposedAction();
    if (pane == Pane::Text1)
        inputBox_.Text1_OLEDragDrop(text);
    else
        resultPane_.Text2_OLEDragDrop(text);
    return true;
}
