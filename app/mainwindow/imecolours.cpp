#include "mainwindow/imecolours.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/syscolors.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTextBlock>
#include <QTextLayout>

ImeColours::ImeColours(MainForm &form) : form_(form)
{
    form_.Text1->installEventFilter(this);
}

ImeColours::Record ImeColours::record(Attribute attribute, bool reverse)
{
    using syscolors::colour;
    const Record input =
        reverse ? Record{colour(0x00FFFF), colour(0x000000), true} : Record{colour(0xFF0000), colour(0xFFFFFF), true};
    switch (attribute) {
    case Input:
    case Converted: return input;
    case TargetConverted: return {colour(0x000000), colour(0xFFFF00), false};
    case TargetNotConverted:
        return reverse ? Record{colour(0x000000), colour(0x00FFFF), false}
                       : Record{colour(0xFFFFFF), colour(0xFF0000), false};
    }
    return input;
}

void ImeColours::SetImmColoer()
{
    reverse_ = form_.modeReverse;
}

bool ImeColours::composing(const QTextEdit *box)
{
    if (!box)
        return false;
    const QTextLayout *layout = box->textCursor().block().layout();
    return layout && !layout->preeditAreaText().isEmpty();
}

bool ImeColours::IMMuse() const
{
    return composing(qobject_cast<const QTextEdit *>(QApplication::focusWidget()));
}

bool ImeColours::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != form_.Text1 || event->type() != QEvent::InputMethod || resending_)
        return false;
    // The box gets the same event with the formats of this mode instead.
    const auto *original = static_cast<QInputMethodEvent *>(event);
    QInputMethodEvent coloured(original->preeditString(), recolouredAttributes(*original));
    coloured.setCommitString(original->commitString(), original->replacementStart(), original->replacementLength());
    resending_ = true;
    QCoreApplication::sendEvent(form_.Text1, &coloured);
    resending_ = false;
    return true;
}

QList<QInputMethodEvent::Attribute> ImeColours::recolouredAttributes(const QInputMethodEvent &event) const
{
    // Input methods mark the clause being converted with a background (or
    // reverse video) and the rest with an underline; which kind of clause it
    // is decides the record. A clause whose text the input method has not
    // converted yet is still kana; that is the "not converted" target.
    QList<QInputMethodEvent::Attribute> attributes = event.attributes();
    const QString preedit = event.preeditString();
    for (QInputMethodEvent::Attribute &a : attributes) {
        if (a.type != QInputMethodEvent::TextFormat)
            continue;
        QTextCharFormat f = a.value.value<QTextFormat>().toCharFormat();
        const bool target = f.background().style() != Qt::NoBrush;
        const QString clause = preedit.mid(a.start, a.length);
        bool kana = !clause.isEmpty();
        for (QChar c : clause)
            if (!(c.unicode() >= 0x3041 && c.unicode() <= 0x30FF))
                kana = false;
        const Attribute kind = target ? (kana ? TargetNotConverted : TargetConverted) : Input;
        const Record r = record(kind, reverse_);
        f.setForeground(r.text);
        f.setBackground(r.background);
        f.setFontUnderline(r.underline);
        a.value = f;
    }
    return attributes;
}
