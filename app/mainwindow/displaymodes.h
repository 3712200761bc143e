#pragma once
// Display modes: normal or one of seven magnification levels, ordinary or
// reversed colours. FontSetting applies the current mode to the fonts, the
// menu check marks, the status bar and the colours without showing the
// intermediate states (a still picture covers the window until Timer2 has
// laid it out again). The View menu, the magnification keys and the
// toolbar's magnification button change the mode through here.

#include <QColor>
#include <QObject>

class ImeColours;
class MainForm;
class SearchWindow;
class WindowLayout;

class DisplayModes : public QObject {
    Q_OBJECT
public:
    static constexpr int Levels = 7;

    DisplayModes(MainForm &form, WindowLayout &layout, ImeColours &ime, SearchWindow &search);

    // Font sizes in points for a mode.
    static double inputFontSize(bool big, int level);
    static double resultFontSize(bool big, int level);
    // The colours of a mode.
    static QColor paneBackground(bool reverse);
    static QColor textColour(bool reverse);
    static QColor bandColour(bool reverse);

    void FontSetting();
    // 0 switches magnification off; 1 to 7 selects that level and switches it on.
    void DoFont(int iBig);
    void Timer2_Timer();

    // The magnification keys (the caller guards them with KeyBusy).
    void magnifyUp();
    void magnifyDown();

    // View menu.
    void mnu_view_Click();
    void mnu_view_switch_Click();
    void mnu_view_tujo_Click(); // 通常 "normal": magnification off
    void mnu_view_big_Click(int level);
    void mnu_view_font_hyojun_Click(); // 標準 "standard" colours
    void mnu_view_font_hanten_Click(); // 反転 "reversed" colours
    void mnu_view_status_Click();
    // The toolbar's magnification button and its drop-down menu (0 = normal).
    void magnifyButtonClick();
    void magnifyMenuChoice(int level);

private:
    void saveMagnification();
    void recolourInputBox();
    void recolourResultPane();

    MainForm &form_;
    WindowLayout &layout_;
    ImeColours &ime_;
    SearchWindow &search_;
};
