#pragma once
// The search options ("検索オプション"): how many entries a prefix search
// lists, English parts read by the English voice, readings in braces hidden,
// and, behind the advanced check box, the capture hot key and the dictionary
// folder. Values are taken over only by the set button (Settei).

#include "dialogs/optiondialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dialogs {

class DicOption : public OptionDialog {
    Q_OBJECT
public:
    DicOption(MainForm &form, DialogHost &host);

    // The prefix search limit a text gives: its leading number, 20 to 100,
    // rounded half to even; 20 without a number.
    static int zenpoValue(const QString &text);
    static constexpr int ZenpoLow = 20, ZenpoHigh = 100;

    // Takes the controls' values over; false (nothing taken over) when the
    // dictionary folder was changed to one without dictionary files.
    bool Settei();

    QLineEdit *Text1 = nullptr; // prefix search limit
    QCheckBox *chkEng = nullptr, *chkKana = nullptr, *Check1 = nullptr;
    QComboBox *Combo1 = nullptr; // capture hot key
    QLineEdit *Text2 = nullptr;  // dictionary folder
    QPushButton *Command1 = nullptr, *Command2 = nullptr;

protected:
    bool controlKey(QWidget *control, QKeyEvent *event) override;

private:
    void build();
    void load();
    void Check1_Click();
    void Command1_Click();
    void Text2_LostFocus();
    bool dictionaryFolderUsable(const QString &folder);

    QLabel *Label4 = nullptr, *Label5 = nullptr;
    int shownKeyIndex_ = 0;
};

} // namespace dialogs
