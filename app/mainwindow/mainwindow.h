#pragma once
// The main window assembled: MainForm (controls and shared state) and the
// classes that carry its procedures, one per role. Each role is given the
// form and the roles it works with when it is made; MainWindow makes them in
// an order in which a role's collaborators exist before it.

#include <QStringList>

#include <memory>

#include "desktop/desktop.h"

class Capture;
class DesktopCommands;
class DisplayModes;
class EditCommands;
class EventRouter;
class ExtBox;
class FormKeys;
class HelpMenu;
class History;
class HistoryPopup;
class HookBinding;
class ImageMenu;
class ImeColours;
class InputBox;
class Lifecycle;
class MainForm;
class OptionDialogs;
class Paging;
class QuickGuide;
class RangeCommand;
class ResultPane;
class SearchWindow;
class SingleInstance;
class Tips;
class Toolbar;
class TrayResidence;
class WindowLayout;
class WindowMessages;

class MainWindow {
public:
    explicit MainWindow(MainForm &form);
    ~MainWindow();
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    MainForm &form() { return form_; }

    Lifecycle &lifecycle() { return *lifecycle_; }
    SingleInstance &singleInstance() { return *singleInstance_; }
    TrayResidence &tray() { return *tray_; }
    HookBinding &hook() { return *hook_; }
    WindowMessages &messages() { return *messages_; }
    DisplayModes &display() { return *display_; }
    WindowLayout &layout() { return *layout_; }
    ImeColours &ime() { return *ime_; }
    History &history() { return *history_; }
    FormKeys &formKeys() { return *formKeys_; }
    InputBox &inputBox() { return *inputBox_; }
    ResultPane &resultPane() { return *resultPane_; }
    HistoryPopup &historyPopup() { return *historyPopup_; }
    QuickGuide &quickGuide() { return *quickGuide_; }
    Tips &tips() { return *tips_; }
    SearchWindow &search() { return *search_; }
    Paging &paging() { return *paging_; }
    HelpMenu &helpMenu() { return *helpMenu_; }
    desktop::Windows &desktopWindows() { return *windows_; }
    ExtBox &extBox() { return *extBox_; }
    Capture &capture() { return *capture_; }
    DesktopCommands &desktopCommands() { return *desktopCommands_; }
    Toolbar &toolbar() { return *toolbar_; }
    ImageMenu &imageMenu() { return *imageMenu_; }
    RangeCommand &rangeCommand() { return *range_; }
    EditCommands &editCommands() { return *edit_; }
    OptionDialogs &optionDialogs() { return *optionDialogs_; }

private:
    MainForm &form_;
    std::unique_ptr<SingleInstance> singleInstance_;
    std::unique_ptr<TrayResidence> tray_;
    std::unique_ptr<HookBinding> hook_;
    std::unique_ptr<WindowMessages> messages_;
    std::unique_ptr<desktop::Windows> windows_;
    std::unique_ptr<ExtBox> extBox_;
    std::unique_ptr<WindowLayout> layout_;
    std::unique_ptr<ImeColours> ime_;
    std::unique_ptr<History> history_;
    std::unique_ptr<QuickGuide> quickGuide_;
    std::unique_ptr<Tips> tips_;
    std::unique_ptr<SearchWindow> search_;
    std::unique_ptr<DisplayModes> display_;
    std::unique_ptr<RangeCommand> range_;
    std::unique_ptr<EditCommands> edit_;
    std::unique_ptr<Lifecycle> lifecycle_;
    std::unique_ptr<FormKeys> formKeys_;
    std::unique_ptr<HistoryPopup> historyPopup_;
    std::unique_ptr<InputBox> inputBox_;
    std::unique_ptr<ResultPane> resultPane_;
    std::unique_ptr<Paging> paging_;
    std::unique_ptr<HelpMenu> helpMenu_;
    std::unique_ptr<Capture> capture_;
    std::unique_ptr<DesktopCommands> desktopCommands_;
    std::unique_ptr<desktop::HookNotifyFilter> hookNotify_;
    std::unique_ptr<Toolbar> toolbar_;
    std::unique_ptr<ImageMenu> imageMenu_;
    std::unique_ptr<OptionDialogs> optionDialogs_;
    std::unique_ptr<EventRouter> router_;
};
