#pragma once
// The input box (Text1): its keys, its change and selection handling, its
// focus guidance, clicks and dropped text.

#include <QObject>

class HistoryPopup;
class ImeColours;
class MainForm;
class QMimeData;
class QuickGuide;
class SearchWindow;

class InputBox : public QObject {
    Q_OBJECT
public:
    InputBox(MainForm &form, ImeColours &ime, QuickGuide &quickGuide, SearchWindow &search, HistoryPopup &historyPopup);

    void Text1_KeyDown(int &KeyCode, int Shift);
    void Text1_KeyPress(int &KeyAscii);
    void Text1_KeyUp(int &KeyCode, int Shift);
    void Text1_Change();
    void Text1_SelChange();
    void Text1_GotFocus();
    void Text1_LostFocus();
    void Text1_Click();
    void Text1_RightButtonDown();
    void Text1_OLEDragDrop(const QString &text);

    // The pop-up list of earlier words under the input box.
    void openHistoryList();

private:
    MainForm &form_;
    ImeColours &ime_;
    QuickGuide &quickGuide_;
    SearchWindow &search_;
    HistoryPopup &historyPopup_;
    bool inChange_ = false;
    // Recolouring a selection is itself a change of the selection's text:
    // the notification it causes is not handled again.
    bool inSelChange_ = false;
};

// Shared by both panes: the colours of a label and the enabled state of the
// edit commands.
namespace panes {
void setLabelColours(class QWidget *label, int backgroundIndex, int textIndex);
bool clipboardHasText();
void showEditMenu(MainForm &form, class QWidget *pane);
} // namespace panes
