#include "orrin/announcer.h"

#include "orrin/accessibletext.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinvoice.h"
#include "orrin/panereadings.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

const char SpeaksForItselfProperty[] = "wordlampSpeaksForItself";
const char WatchedMenuProperty[] = "wordlampAnnouncedMenu";

QString normaliseBreaks(QString s)
{
    for (QChar &c : s)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    return s;
}

bool isMenu(const QWidget *w)
{
    return qobject_cast<const QMenu *>(w) || qobject_cast<const QMenuBar *>(w);
}

// What was taken out of `before` to leave `after` (empty when nothing was).
QString removedText(const QString &before, const QString &after)
{
    if (after.size() >= before.size())
        return {};
    qsizetype head = 0;
    while (head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < after.size() - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return before.mid(head, before.size() - head - tail);
}

// The text of a box from `start` on, with the readings its document keeps
// for its words (the result pane's entry).
QString withReadings(QWidget *box, int start, const QString &text)
{
    const auto *edit = qobject_cast<const QTextEdit *>(box);
    if (!edit || text.isEmpty())
        return text;
    QList<panereadings::Span> spans = panereadings::within(edit->document(), start, start + int(text.size()));
    for (panereadings::Span &s : spans)
        s.start -= start;
    return panereadings::annotate(text, spans);
}

QString stateAndValue(QAccessibleInterface *iface)
{
    const QString state = accessibletext::stateText(iface);
    const QString value = accessibletext::valueText(iface);
    return (state + u' ' + value).trimmed();
}

} // namespace

Announcer::Announcer(QObject *parent) : QObject(parent)
{
    focusTimer_.setSingleShot(true);
    focusTimer_.setInterval(0);
    connect(&focusTimer_, &QTimer::timeout, this, &Announcer::announceFocus);
    // The effect of a key is read once the key has been handled: as soon as
    // a text box moves its caret for it, else when the event loop falls
    // idle, before the next input, or after a short while.
    checkTimer_.setSingleShot(true);
    checkTimer_.setInterval(30);
    connect(&checkTimer_, &QTimer::timeout, this, &Announcer::finishCheck);
    if (QAbstractEventDispatcher *d = QAbstractEventDispatcher::instance(thread()))
        connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &Announcer::finishCheck);
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance())) {
        connect(app, &QApplication::focusChanged, this, &Announcer::onFocusChanged);
        app->installEventFilter(this);
    }
    setOrrnReader(this);
    instance_ = this;
}

Announcer::~Announcer()
{
    setOrrnReader(nullptr);
    if (instance_ == this)
        instance_ = nullptr;
}

Announcer::ProgramCaretMove::~ProgramCaretMove()
{
    // The key's own effect is measured from where the program put the caret
    // (a move that only ends a selection sends no signal of its own).
    if (--programMoves_ == 0 && instance_ && instance_->checkPending_)
        instance_->takeCaret(instance_->pending_);
}

void Announcer::setSpeaksForItself(QWidget *widget, bool speaks)
{
    if (widget)
        widget->setProperty(SpeaksForItselfProperty, speaks);
}

bool Announcer::speaksForItself(const QWidget *widget)
{
    return widget && widget->property(SpeaksForItselfProperty).toBool();
}

void Announcer::say(const QString &text, int mode, VoiceKind kind)
{
    OrrinVoice *voice = OrrinVoice::current();
    if (!enabled_ || !voice || voice->isLocked() || text.isEmpty())
        return;
    if (besideScreenReader_ && kind != VoiceCommand)
        return; // the screen reader says it
    if (OrrinEvents *events = OrrinEvents::current())
        if (events->raiseVoiceBack(kind) == 0)
            return;
    voice->announce(text, mode);
}

// --- focus ---------------------------------------------------------------

namespace {
// The static texts of a dialog that name no control: a message box's
// message, a dialog's explanations.
QString dialogText(QWidget *window)
{
    QStringList parts;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->buddy() || label->text().trimmed().isEmpty())
            continue;
        parts << accessibletext::spokenName(label->text().trimmed());
    }
    return parts.join(u' ');
}
} // namespace

void Announcer::onFocusChanged(QWidget *, QWidget *now)
{
    if (now && !isMenu(now))
        lastFocus_ = now;
    focusTimer_.start();
}

void Announcer::announceFocus()
{
    QWidget *w = QApplication::focusWidget();
    if (!w || isMenu(w) || speaksForItself(w)) {
        if (w && !isMenu(w))
            lastWindow_ = w->window();
        return;
    }
    QString text = accessibletext::describe(QAccessible::queryAccessibleInterface(w));
    QWidget *window = w->window();
    if (window != lastWindow_) {
        lastWindow_ = window;
        // Entering a dialog: its title and what it says (a message box's
        // message), then the control that has the focus.
        if (qobject_cast<QDialog *>(window)) {
            const QString said = dialogText(window);
            if (!said.isEmpty())
                text = said + u' ' + text;
            if (!window->windowTitle().isEmpty())
                text = window->windowTitle() + u' ' + accessibletext::roleName(QAccessible::Dialog) + u' ' + text;
        }
    }
    say(text, 0, VoiceFocus);
}

// The accessible item of `action` in a menu or the menu bar.
static QAccessibleInterface *menuItem(QWidget *menu, QAction *action)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(menu);
    const int index = menu->actions().indexOf(action);
    return iface && index >= 0 && index < iface->childCount() ? iface->child(index) : nullptr;
}

void Announcer::onMenuHovered(QMenu *menu, QAction *action)
{
    QAccessibleInterface *item = menuItem(menu, action);
    if (item && item->role() != QAccessible::Separator)
        say(accessibletext::describe(item), 0, VoiceFocus);
}

// A menu closed with Escape leaves its title selected in the menu bar, and
// the next keys go to the menu bar (Left and Right move along it, Escape
// leaves it): the title is said, as is each title the arrows reach, and
// the title of a menu that opens with no item selected.
void Announcer::queueMenuBarTitle()
{
    if (menuBarQueued_)
        return;
    menuBarQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        menuBarQueued_ = false;
        announceMenuBarTitle();
    });
}

void Announcer::announceMenuBarTitle()
{
    auto *bar = qobject_cast<QMenuBar *>(QApplication::focusWidget());
    if (!bar || !bar->activeAction())
        return;
    // A menu is open: its title only when none of its items is selected
    // (they are all greyed, say), so that opening it is heard.
    const auto *open = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (QApplication::activePopupWidget() && (!open || open->activeAction()))
        return;
    if (QAccessibleInterface *item = menuItem(bar, bar->activeAction()))
        say(accessibletext::describe(item), 0, VoiceFocus);
}

// --- user input -----------------------------------------------------------

bool Announcer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show: {
        // Each menu is followed once by this announcer.
        auto *menu = qobject_cast<QMenu *>(watched);
        const QVariant me = QVariant::fromValue(static_cast<QObject *>(this));
        if (menu && menu->property(WatchedMenuProperty) != me) {
            menu->setProperty(WatchedMenuProperty, me);
            connect(menu, &QMenu::hovered, this, [this, menu](QAction *a) { onMenuHovered(menu, a); });
            connect(menu, &QMenu::aboutToHide, this, &Announcer::queueMenuBarTitle);
        }
        if (menu)
            queueMenuBarTitle();
        break;
    }
    case QEvent::KeyRelease: {
        // Text boxes act on the press, so their key has been handled when it
        // is released; buttons and check boxes act on the release itself.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (checkPending_ && (pending_.text || pending_.widget != watched || pending_.key != key->key()))
            finishCheck();
        break;
    }
    case QEvent::MouseButtonPress:
        finishCheck(); // the input before has been handled
        break;
    case QEvent::KeyPress: {
        if (qobject_cast<QMenuBar *>(watched))
            queueMenuBarTitle(); // an arrow moves along the menu bar
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w == QApplication::focusWidget() && !isMenu(w)) {
            auto *key = static_cast<QKeyEvent *>(event);
            QString typed = key->text();
            if (typed.isEmpty() || !typed.at(0).isPrint())
                typed.clear();
            beginCheck(w, key, typed);
        }
        break;
    }
    case QEvent::InputMethod: {
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w)
            break;
        auto *im = static_cast<QInputMethodEvent *>(event);
        composing_ = im->preeditString().isEmpty() ? nullptr : w;
        if (!im->commitString().isEmpty() && w == QApplication::focusWidget())
            beginCheck(w, nullptr, im->commitString());
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w == QApplication::focusWidget() && !isMenu(w)) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            if (iface && !iface->textInterface())
                beginCheck(w, nullptr, QString());
        }
        break;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void Announcer::beginCheck(QWidget *target, const QKeyEvent *key, const QString &typed)
{
    finishCheck(); // the previous input has been handled by now
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(target);
    if (!iface)
        return;
    Snapshot s;
    s.widget = target;
    s.key = key ? key->key() : 0;
    s.modifiers = key ? key->modifiers() : Qt::NoModifier;
    s.typed = typed;
    if (QAccessibleTextInterface *text = iface->textInterface()) {
        s.text = true;
        s.content = text->text(0, text->characterCount());
        takeCaret(s);
    } else {
        s.value = stateAndValue(iface);
    }
    pending_ = s;
    checkPending_ = true;
    checkTimer_.start();
    if (s.text)
        watchCaret(target);
}

void Announcer::takeCaret(Snapshot &s) const
{
    QAccessibleInterface *iface = s.widget ? QAccessible::queryAccessibleInterface(s.widget) : nullptr;
    QAccessibleTextInterface *text = iface ? iface->textInterface() : nullptr;
    if (!text)
        return;
    s.cursor = text->cursorPosition();
    s.selStart = s.selEnd = 0;
    if (text->selectionCount() > 0)
        text->selection(0, &s.selStart, &s.selEnd);
}

void Announcer::onCaretMoved()
{
    // The program moved the caret (a read-all going on under the key): see
    // ProgramCaretMove.
    if (programMoves_ == 0)
        finishCheck();
}

void Announcer::watchCaret(QWidget *target)
{
    // The box moves its caret while it handles the key: that is the place
    // the user moved to, whatever the program does with the caret later.
    if (auto *edit = qobject_cast<QTextEdit *>(target))
        caretWatch_ = connect(edit, &QTextEdit::cursorPositionChanged, this, &Announcer::onCaretMoved);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(target))
        caretWatch_ = connect(plain, &QPlainTextEdit::cursorPositionChanged, this, &Announcer::onCaretMoved);
    else if (auto *line = qobject_cast<QLineEdit *>(target))
        caretWatch_ = connect(line, &QLineEdit::cursorPositionChanged, this, &Announcer::onCaretMoved);
}

void Announcer::finishCheck()
{
    if (!checkPending_)
        return;
    checkPending_ = false;
    checkTimer_.stop();
    disconnect(caretWatch_);
    const Snapshot before = pending_;
    pending_ = Snapshot();
    QWidget *w = before.widget;
    if (!w || w != QApplication::focusWidget())
        return; // the focus moved: its announcement says what matters
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    if (!iface)
        return;
    if (!before.text) {
        const QString value = stateAndValue(iface);
        if (value != before.value)
            say(value, 0, VoiceCaret);
        return;
    }
    QAccessibleTextInterface *text = iface->textInterface();
    if (!text)
        return;
    const QString content = text->text(0, text->characterCount());
    if (content != before.content) {
        if (!before.typed.isEmpty()) {
            say(before.typed, before.typed.size() == 1 ? 1 : 0, VoiceEcho);
        } else if (before.key == Qt::Key_Backspace || before.key == Qt::Key_Delete) {
            const QString gone = removedText(before.content, content);
            say(gone, gone.size() == 1 ? 1 : 0, VoiceEcho);
        }
        return;
    }
    int selStart = 0, selEnd = 0;
    if (text->selectionCount() > 0)
        text->selection(0, &selStart, &selEnd);
    const int cursor = text->cursorPosition();
    if (cursor != before.cursor || selStart != before.selStart || selEnd != before.selEnd)
        readCaret(iface, before, cursor);
}

void Announcer::readCaret(QAccessibleInterface *iface, const Snapshot &before, int cursor)
{
    const bool selecting = before.modifiers & Qt::ShiftModifier;
    if (selecting && cursor != before.cursor) {
        // Extending a selection reads what the caret passed over.
        const int from = std::min(cursor, before.cursor);
        const int to = std::max(cursor, before.cursor);
        const QString passed =
            withReadings(before.widget, from, normaliseBreaks(iface->textInterface()->text(from, to)));
        say(passed, passed.size() == 1 ? 1 : 0, VoiceCaret);
        return;
    }
    QAccessible::TextBoundaryType unit = QAccessible::CharBoundary;
    switch (reading_) {
    case CursorReading::Word: unit = QAccessible::WordBoundary; break;
    case CursorReading::Line: unit = QAccessible::LineBoundary; break;
    case CursorReading::Character:
        switch (before.key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: unit = QAccessible::LineBoundary; break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (before.modifiers & Qt::ControlModifier)
                unit = QAccessible::WordBoundary;
            break;
        default: break;
        }
        break;
    }
    int start = 0;
    const QString at = normaliseBreaks(accessibletext::textAt(iface, cursor, unit, &start));
    if (unit == QAccessible::CharBoundary) {
        say(at.isEmpty() ? QStringLiteral(" ") : withReadings(before.widget, start, at), 1, VoiceCaret);
        return;
    }
    const QString t = withReadings(before.widget, start, at).trimmed();
    say(t.isEmpty() && unit == QAccessible::LineBoundary ? QStringLiteral("空行") : t, 0, VoiceCaret);
}

// --- the reading commands -------------------------------------------------

QWidget *Announcer::readingTarget() const
{
    QWidget *w = QApplication::focusWidget();
    return w && !isMenu(w) ? w : lastFocus_.data();
}

namespace {
QString cursorReadingName(Announcer::CursorReading r)
{
    switch (r) {
    case Announcer::CursorReading::Character: return QStringLiteral("文字単位");
    case Announcer::CursorReading::Word: return QStringLiteral("単語単位");
    case Announcer::CursorReading::Line: return QStringLiteral("行単位");
    }
    return {};
}
} // namespace

void Announcer::stepCursorReading()
{
    switch (reading_) {
    case CursorReading::Character: reading_ = CursorReading::Word; break;
    case CursorReading::Word: reading_ = CursorReading::Line; break;
    case CursorReading::Line: reading_ = CursorReading::Character; break;
    }
    say(cursorReadingName(reading_), 0, VoiceCommand);
}

void Announcer::speedStepped(const QString &name)
{
    say(name, 0, VoiceCommand);
}

QString Announcer::inputState(QWidget *widget, QAccessibleInterface *iface) const
{
    QStringList parts;
    parts << accessibletext::nameOf(iface);
    if (iface->state().readOnly || !widget->isEnabled()) {
        parts << QStringLiteral("読み取り専用");
    } else {
        const auto *edit = qobject_cast<const QTextEdit *>(widget);
        parts << (edit && edit->overwriteMode() ? QStringLiteral("上書き") : QStringLiteral("挿入"));
        if (composing_ == widget)
            parts << QStringLiteral("変換中");
    }
    parts.removeAll(QString());
    return parts.join(u' ');
}

void Announcer::runCommand(const QString &name)
{
    QWidget *w = readingTarget();
    QAccessibleInterface *iface = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    if (!iface)
        return;
    QAccessibleTextInterface *text = iface->textInterface();
    if (name == u"ReadCurLine") {
        if (!text) {
            say(accessibletext::describe(iface), 0, VoiceCommand);
            return;
        }
        int start = 0;
        QString line = accessibletext::isMultiLine(iface)
                           ? normaliseBreaks(accessibletext::textAt(iface, text->cursorPosition(),
                                                                    QAccessible::LineBoundary, &start))
                           : text->text(0, text->characterCount());
        line = withReadings(w, start, line);
        say(line.isEmpty() ? QStringLiteral("空行") : line, 0, VoiceCommand);
    } else if (name == u"ReadCurPos") {
        if (!text) {
            say(accessibletext::describe(iface), 0, VoiceCommand);
            return;
        }
        int s = 0, e = 0;
        if (text->selectionCount() > 0) {
            text->selection(0, &s, &e);
            if (e > s) {
                say(normaliseBreaks(text->text(s, e)), 0, VoiceCommand);
                return;
            }
        }
        int start = 0;
        const QString ch =
            normaliseBreaks(accessibletext::textAt(iface, text->cursorPosition(), QAccessible::CharBoundary, &start));
        say(ch.isEmpty() ? QStringLiteral(" ") : withReadings(w, start, ch), 1, VoiceCommand);
    } else if (name == u"ReadInputSts") {
        say(text ? inputState(w, iface) : accessibletext::describe(iface), 0, VoiceCommand);
    }
}
