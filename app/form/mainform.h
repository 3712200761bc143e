#pragma once
// MainForm: the program's only top-level window. It owns the widgets and the
// state that the parts of the program share; each part's procedures live in
// a class of their own that holds a reference to MainForm.

#include "form/menubar.h"
#include "form/speechcommands.h"
#include "lookup/lookupstate.h"

#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include <array>
#include <memory>

class ImageButton;
class OrrinEvents;
class OrrinVoice;
class QFrame;
class QLabel;
class QListWidget;
class QStatusBar;
class QToolBar;
class QToolButton;
class RichTextBox;

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainForm(QWidget *parent = nullptr);
    ~MainForm() override;

    // Controls, named as the program's procedures know them.
    RichTextBox *Text1 = nullptr; // the input box for the search word
    RichTextBox *Text2 = nullptr; // the result pane
    QLabel *Label1 = nullptr;     // "検索語(&S)"
    QLabel *Label2 = nullptr;     // "意味・検索結果(&W)"
    QLabel *Label3 = nullptr;     // the result band behind the result pane
    QFrame *Shape1 = nullptr;     // the frame around Label2
    QFrame *Line1 = nullptr, *Line2 = nullptr, *Line3 = nullptr, *Line4 = nullptr, *Line5 = nullptr;
    QListWidget *List1 = nullptr; // the pop-up list of earlier words
    QWidget *Pic1 = nullptr;      // the toolbar strip
    QToolBar *Toolbar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *Pic2 = nullptr;   // the status bar's picture: the image menu
    QLabel *Image2 = nullptr; // greyed cover over the reading buttons
    // The image menu's buttons (on Pic2): play, stop, back about 100
    // characters, back a sentence, on to the next chunk, skip lines, and the
    // button that wakes an outside program.
    std::array<ImageButton *, 7> ImageX{};
    QLabel *Picture1 = nullptr; // snapshot cover over the client area
    QWidget *Tips = nullptr;    // the tip window
    QLabel *LabelTips = nullptr;

    QTimer Timer1, Timer2, TimerMemo, TimerHook, TimerTips, TimerAppSetFocus, chkOrrin;

    // Menus and items by name ("mnu_file", "mnu_file_yudo1", ...).
    QAction *action(const QString &name) const;
    QMenu *menu(const QString &name) const;
    // Toolbar buttons by key ("検索", "戻る", "進む", "めくる", "拡大", "コピー",
    // "切り取り", "貼り付け"), in this order.
    QToolButton *toolButton(const QString &key) const;
    const QList<QToolButton *> &toolButtons() const { return toolButtons_; }
    // Status bar panel 1.
    void setStatusText(const QString &text);
    QString statusText() const;

    // The speech layer and reading commands (no-ops until installed).
    SpeechCommands &speech() const { return *speech_; }
    void setSpeech(std::unique_ptr<SpeechCommands> speech);

    // The screen reader's speech and event objects, made at start-up.
    std::unique_ptr<OrrinVoice> Voice1;
    std::unique_ptr<OrrinEvents> OrvBack;

    // The shared state, grouped by the feature that owns it. Any part of the
    // program may read a field; beside each group stand the classes that may
    // change it. Flags are bool; counts and positions qint32.

    // Lookup: the position record of the last lookup and the lookup's own
    // flags. The fields of the same names below are these, so every part of
    // the program sees one value. Changed by the lookup engine
    // (lookup::LookupEngine through SearchWindow); Lifecycle loads the
    // settings and resets the position record; DisplayModes sets modeReverse.
    lookup::LookupState Lookup;
    qint32 &DicMode = Lookup.DicMode;
    bool &ZenpoFlag = Lookup.ZenpoFlag; // 前方 "front": the lookup is a prefix search
    qint32 &ZenpoMax = Lookup.ZenpoMax; // lines a prefix search keeps, less one
    bool &DicKana = Lookup.DicKana;     // 仮名: readings in braces are removed
    QString &FilePath = Lookup.FilePath;
    bool &KensakuEnable = Lookup.KensakuEnable; // 検索: a lookup is running
    qint32 &CoarseSteps = Lookup.record.CoarseSteps;
    qint32 &FineSteps = Lookup.record.FineSteps;
    bool &modeReverse = Lookup.modeReverse;

    // History (履歴): the store and its position. Changed by History through
    // HistoryModel; Lifecycle clears them at start-up.
    QStringList RirekiList; // the history store (oldest first)
    qint32 RirekiIndex = 0; // the current history entry (1-based, 0 none)
    qint32 RirekiMax = 0;   // the number of history entries

    // Reading: read-all and the voices. Changed by Reading, SpeechLayer and
    // the speech start-up (Speech); the panes' and the display's handlers
    // only clear AllReadFlag to stop a reading; Lifecycle loads EngUse and the
    // English voice's name and speed, and sets CaretScale.
    bool AllReadFlag = false;
    bool AllReadIdle = true;
    bool ReadBack = false, ReadBack100 = false, ReadSkip = false;
    qint32 ReadClickPos = 0; // also ResultPane, on a click
    QString KeyMemo;
    bool EngUse = true;
    bool EnglishMode = false;
    QString SapiEngineName;
    qint32 SapiEngineSpeed = 4;
    QString SapiEngineID;
    float CaretScale = 1.35f; // height factor of the wide caret

    // Range command (Qev): a copy or search of a part of the result waits
    // for its range while the window is locked. Set by the range commands
    // only; Lifecycle resets QevSelMode at start-up.
    bool QevSelMode = false;               // a range command waits for its range; the window is locked
    qint32 QevSelCount = 0;                // the range command's step
    QString QevSelCommand;                 // the range command's name
    qint32 QevSelStart = 0, QevSelEnd = 0; // the range's end points
    bool RangeSelecting = false;           // a keyboard range selection waits for its end point

    // Display: magnification and colours. Changed by DisplayModes (and
    // WindowLayout for ResizeBusy); Lifecycle loads the settings.
    bool modeBigFont = false;
    qint32 modeFontSize = 1;
    QColor TextColor;
    bool ResizeBusy = false, FontBusy = false;

    // Edit and keys: the edit commands' state and the keyboard's. Changed by
    // InputBox, ResultPane, HistoryPopup (List1Enable) and FormKeys
    // (LastShift, PasteTyped, KeyBusy); SearchWindow and Lifecycle set
    // QuietFocus and Text2Change; Lifecycle loads KeyFunc and resets the rest.
    bool editPaste = false, editCopy = false, editCut = false;
    bool Text1Enable = false;
    bool List1Enable = false;
    bool Text2Change = false;
    qint32 LastShift = 0;
    bool PasteTyped = false;
    bool QuietFocus = false;
    bool WideTyped = false;
    bool KeyBusy = false;
    qint32 KeyFunc = 12;
    bool DialogKeys = true; // Enter and Space move on in the dialogs

    // Capture and residence: a word captured from another application, and
    // the notification area. Changed by Lifecycle, SearchWindow (after a
    // lookup), the speech start-up, Capture and WindowMessages, and
    // TrayResidence (TrayResident).
    bool CaptureActive = false; // a word captured from another application is being looked up
    quintptr SourceWindow = 0;  // the active window when the last capture arrived (0 none)
    bool TrayResident = false;

    // Image menu: an image button is held down, and which. Changed by
    // ImageMenu only.
    bool ImagePressed = false;
    qint32 ImagePressedIndex = 0;

signals:
    // A read-all started (true) or ended (false): the play button shows its
    // active or its normal picture.
    void readAllStateChanged(bool running);

private:
    void buildControls();
    void buildToolbar();
    void buildImageMenu();
    void buildTimers();

    std::unique_ptr<SpeechCommands> speech_;
    MenuBarItems menuItems_;
    QList<QToolButton *> toolButtons_;
    QLabel *statusPanel1_ = nullptr;
};
