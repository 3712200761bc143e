#pragma once
// The Edit menu and the operation menu's commands that move text between
// the panes and the clipboard: cut, copy, paste, clearing the input box,
// copying the whole result, and the searches of the selection, of the
// clipboard and of a typed reading. Copy and the selection search with
// nothing selected in the result pane start the range command instead.
// The toolbar's copy, cut and paste buttons call the same handlers.

#include <QObject>

class MainForm;
class RangeCommand;
class SearchWindow;

class EditCommands : public QObject {
    Q_OBJECT
public:
    EditCommands(MainForm &form, SearchWindow &search, RangeCommand &range);

    // The menus opening: a reading stops, and the items that depend on the
    // active pane and the clipboard are set.
    void mnu_edit_Click();
    void mnu_edit_disp();
    void mnu_file_Click();

    void mnu_edit_cut_Click();
    void mnu_edit_copy_Click();
    void mnu_edit_paste_Click();
    void mnu_edit_clear_Click();
    void mnu_edit_allcopy_Click();
    void mnu_file_select_Click();
    void mnu_file_clip_Click();
    void mnu_file_yomi_Click(); // 読み: back to the input box to type a reading

private:
    void pasteIntoResult(const QString &text);

    MainForm &form_;
    SearchWindow &search_;
    RangeCommand &range_;
};
