#include "mainwindow/displaymodes.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/imecolours.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/spoken.h"
#include "mainwindow/syscolors.h"
#include "mainwindow/windowlayout.h"
#include "mainwindow/windowsteps.h"
#include "settings/settingsstore.h"
#include "speech/systemutil.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>

#include <cmath>

DisplayModes::DisplayModes(MainForm &form, WindowLayout &layout, ImeColours &ime, SearchWindow &search)
    : form_(form), layout_(layout), ime_(ime), search_(search)
{
    connect(&form_.Timer2, &QTimer::timeout, this, &DisplayModes::Timer2_Timer);
    connect(form_.menu(QStringLiteral("mnu_view")), &QMenu::aboutToShow, this, &DisplayModes::mnu_view_Click);
    connect(form_.action(QStringLiteral("mnu_view_switch")), &QAction::triggered, this,
            &DisplayModes::mnu_view_switch_Click);
    connect(form_.action(QStringLiteral("mnu_view_tujo")), &QAction::triggered, this,
            &DisplayModes::mnu_view_tujo_Click);
    for (int n = 1; n <= Levels; ++n)
        connect(form_.action(QStringLiteral("mnu_view_big%1").arg(n)), &QAction::triggered, this,
                [this, n] { mnu_view_big_Click(n); });
    connect(form_.action(QStringLiteral("mnu_view_font_hyojun")), &QAction::triggered, this,
            &DisplayModes::mnu_view_font_hyojun_Click);
    connect(form_.action(QStringLiteral("mnu_view_font_hanten")), &QAction::triggered, this,
            &DisplayModes::mnu_view_font_hanten_Click);
    connect(form_.action(QStringLiteral("mnu_view_status")), &QAction::triggered, this,
            &DisplayModes::mnu_view_status_Click);
}

double DisplayModes::inputFontSize(bool big, int level)
{
    return big ? 13.0 * std::pow(1.15, level) : 12.0;
}

double DisplayModes::resultFontSize(bool big, int level)
{
    return big ? 15.0 * std::pow(1.3, level) : 12.0;
}

QColor DisplayModes::paneBackground(bool reverse)
{
    return reverse ? QColor(Qt::black) : syscolors::systemColour(syscolors::WindowBackground);
}

QColor DisplayModes::textColour(bool reverse)
{
    return reverse ? QColor(Qt::white) : syscolors::systemColour(syscolors::WindowText);
}

QColor DisplayModes::bandColour(bool reverse)
{
    if (::OsLevel() == 5 && syscolors::CheckDefColor())
        return reverse ? syscolors::colour(0x946030) : syscolors::systemColour(syscolors::InactiveCaptionText);
    return reverse ? syscolors::colour(0x808080) : syscolors::colour(0xE0E0E0);
}

void DisplayModes::FontSetting()
{
    spoken::LockSpeech(form_);
    const int selectionLength = form_.Text2->textCursor().selectionEnd() - form_.Text2->textCursor().selectionStart();
    if (form_.FontBusy)
        return; // the running call unlocks speech
    form_.FontBusy = true;
    windowsteps::DummyScreen(form_);

    const bool big = form_.modeBigFont;
    const int level = form_.modeFontSize;
    form_.StatusBar1->setVisible(settings::readBool(settings::Key::StatusBar));

    // Fonts.
    QFont inputFont = form_.Text1->font();
    inputFont.setPointSizeF(inputFontSize(big, level));
    form_.Text1->setFont(inputFont);
    QFont resultFont = form_.Text2->font();
    resultFont.setPointSizeF(resultFontSize(big, level));
    form_.Text2->setFont(resultFont);
    form_.Text2->setFontPointSize(resultFont.pointSizeF());
    QAction *statusItem = form_.action(QStringLiteral("mnu_view_status"));
    if (!big)
        statusItem->setEnabled(true);

    // Check marks of the magnification menu.
    form_.action(QStringLiteral("mnu_view_tujo"))->setChecked(!big);
    for (int n = 1; n <= Levels; ++n)
        form_.action(QStringLiteral("mnu_view_big%1").arg(n))->setChecked(big && n == level);

    // From level 3 on there is no room for the status bar.
    if (big && level >= 1 && level <= 2) {
        statusItem->setEnabled(true);
    } else if (big && level >= 3 && level <= Levels) {
        statusItem->setEnabled(false);
        form_.StatusBar1->setVisible(false);
    }

    // Colours.
    const bool reverse = form_.modeReverse;
    form_.TextColor = textColour(reverse);
    for (RichTextBox *box : {form_.Text1, form_.Text2}) {
        QPalette p = box->palette();
        p.setColor(QPalette::Base, paneBackground(reverse));
        p.setColor(QPalette::Text, form_.TextColor);
        box->setPalette(p);
    }
    QPalette band = form_.Label3->palette();
    band.setColor(QPalette::Window, bandColour(reverse));
    form_.Label3->setPalette(band);
    form_.action(QStringLiteral("mnu_view_font_hanten"))->setChecked(reverse);
    form_.action(QStringLiteral("mnu_view_font_hyojun"))->setChecked(!reverse);

    recolourInputBox();
    const int resultCaret = form_.Text2->textCursor().position();
    recolourResultPane();
    QTextCursor c = form_.Text2->textCursor();
    c.clearSelection();
    if (form_.Text2->toPlainText() == u" ")
        form_.Text2->clear();
    c = form_.Text2->textCursor();
    c.setPosition(qMin(resultCaret, form_.Text2->document()->characterCount() - 1));
    form_.Text2->setTextCursor(c);

    form_.Text1->setFixedHeight(layout_.inputBoxHeight());
    form_.Timer2.stop();
    form_.Timer2.start();

    if (form_.QevSelMode && form_.QevSelCount == 1) {
        QTextCursor s = form_.Text2->textCursor();
        const int end = form_.Text2->document()->characterCount() - 1;
        s.setPosition(qBound(0, form_.QevSelStart, end));
        s.setPosition(qBound(0, form_.QevSelStart + selectionLength, end), QTextCursor::KeepAnchor);
        form_.Text2->setTextCursor(s);
    }
    form_.FontBusy = false;
    spoken::UnlockSpeech(form_);
}

void DisplayModes::recolourInputBox()
{
    RichTextBox *box = form_.Text1;
    const int caret = box->textCursor().position();
    if (box->document()->isEmpty())
        box->setPlainText(QStringLiteral(" "));
    QTextCursor all(box->document());
    all.select(QTextCursor::Document);
    QTextCharFormat f;
    f.setForeground(form_.TextColor);
    all.mergeCharFormat(f);
    box->followBoxFont(); // what was typed at the old size, too
    QTextCursor c = box->textCursor();
    c.clearSelection();
    if (box->toPlainText() == u" ")
        box->clear();
    c = box->textCursor();
    c.setPosition(qMin(caret, box->document()->characterCount() - 1));
    box->setTextCursor(c);
    box->setTextColor(form_.TextColor);
}

void DisplayModes::recolourResultPane()
{
    RichTextBox *box = form_.Text2;
    if (box->document()->isEmpty())
        box->setPlainText(QStringLiteral(" "));
    if (search_.hitCount() != 0 && !box->toPlainText().isEmpty()) {
        // An entry is on display: write it again in the new colours.
        search_.rewriteEntry();
        return;
    }
    QTextCursor all(box->document());
    all.select(QTextCursor::Document);
    QTextCharFormat f;
    f.setForeground(form_.TextColor);
    f.setFontPointSize(box->font().pointSizeF());
    all.mergeCharFormat(f);
}

void DisplayModes::Timer2_Timer()
{
    form_.Timer2.stop();
    layout_.Form_Resize();
    // The caret and the window's picture come back once the boxes have been
    // laid out in their new fonts (the layout runs from the window's loop).
    // A display change made meanwhile has started the timer again and keeps
    // the still picture until its own turn.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (form_.Timer2.isActive())
                return;
            form_.speech().setCursol(form_.Text1Enable ? form_.Text1 : form_.Text2);
            form_.Picture1->hide();
        },
        Qt::QueuedConnection);
}

void DisplayModes::saveMagnification()
{
    settings::writeInt(settings::Key::FontSize, form_.modeFontSize);
    settings::writeBool(settings::Key::BigMode, form_.modeBigFont);
}

void DisplayModes::DoFont(int iBig)
{
    if (iBig == 0) {
        form_.modeBigFont = false;
    } else {
        form_.modeFontSize = iBig;
        form_.modeBigFont = true;
    }
    FontSetting();
    saveMagnification();
    layout_.Form_Resize();
    FontSetting();
}

void DisplayModes::magnifyUp()
{
    const bool wasBig = form_.modeBigFont;
    form_.modeFontSize += 1;
    if (!wasBig) {
        form_.modeFontSize = 1;
        form_.modeBigFont = true;
    }
    spoken::StopSpeech(form_);
    if (form_.modeFontSize < 8) {
        spoken::Speak(form_, QStringLiteral("拡大%1").arg(form_.modeFontSize));
    } else {
        form_.modeFontSize = 1;
        form_.modeBigFont = false;
        spoken::Speak(form_, QStringLiteral("通常"));
    }
    saveMagnification();
    FontSetting();
}

void DisplayModes::magnifyDown()
{
    const bool wasBig = form_.modeBigFont;
    form_.modeFontSize -= 1;
    if (!wasBig) {
        form_.modeFontSize = Levels;
        form_.modeBigFont = true;
    }
    if (form_.modeFontSize > 0) {
        spoken::Speak(form_, QStringLiteral("拡大%1").arg(form_.modeFontSize));
    } else {
        form_.modeFontSize = Levels;
        form_.modeBigFont = false;
        spoken::Speak(form_, QStringLiteral("通常"));
    }
    saveMagnification();
    FontSetting();
}

void DisplayModes::mnu_view_Click()
{
    form_.AllReadFlag = false;
    form_.speech().SapiCancel();
}

void DisplayModes::mnu_view_switch_Click()
{
    form_.modeBigFont = !form_.modeBigFont;
    spoken::StopSpeech(form_);
    spoken::Speak(form_, form_.modeBigFont ? QStringLiteral("拡大画面") : QStringLiteral("通常画面"));
    FontSetting();
    settings::writeBool(settings::Key::BigMode, form_.modeBigFont);
    layout_.Form_Resize();
    FontSetting();
}

void DisplayModes::mnu_view_tujo_Click()
{
    form_.modeBigFont = false;
    settings::writeBool(settings::Key::BigMode, false);
    layout_.Form_Resize();
    FontSetting();
}

void DisplayModes::mnu_view_big_Click(int level)
{
    DoFont(level);
}

void DisplayModes::mnu_view_font_hyojun_Click()
{
    form_.modeReverse = false;
    FontSetting();
    settings::writeBool(settings::Key::Reverse, false);
    ime_.SetImmColoer();
}

void DisplayModes::mnu_view_font_hanten_Click()
{
    form_.modeReverse = true;
    FontSetting();
    settings::writeBool(settings::Key::Reverse, true);
    ime_.SetImmColoer();
}

void DisplayModes::mnu_view_status_Click()
{
    const bool visible = !form_.StatusBar1->isVisibleTo(&form_);
    form_.StatusBar1->setVisible(visible);
    form_.action(QStringLiteral("mnu_view_status"))->setChecked(visible);
    settings::writeBool(settings::Key::StatusBar, visible);
    // The window lays its status bar out from its loop; the boxes follow.
    QMetaObject::invokeMethod(&layout_, &WindowLayout::Form_Resize, Qt::QueuedConnection);
}

void DisplayModes::magnifyButtonClick()
{
    const bool wasBig = form_.modeBigFont;
    form_.modeFontSize += 1;
    if (!wasBig) {
        form_.modeFontSize = 1;
        form_.modeBigFont = true;
    } else if (form_.modeFontSize > Levels) {
        form_.modeFontSize = 1;
        form_.modeBigFont = false;
    }
    FontSetting();
    saveMagnification();
    FontSetting();
}

void DisplayModes::magnifyMenuChoice(int level)
{
    if (level == 0) {
        form_.modeBigFont = false;
    } else {
        form_.modeFontSize = level;
        form_.modeBigFont = true;
    }
    FontSetting();
    saveMagnification();
}
