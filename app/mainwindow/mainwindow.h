#pragma once
// The main window assembled: MainForm (controls and shared state) and the
// classes that carry its procedures, one per role. Each role is given the
// form and the roles it works with when it is made; MainWindow makes them in
// an order in which a role's collaborators exist before it.

#include <QStringList>

#include <memory>

class DisplayModes;
class EventRouter;
class FormKeys;
class History;
class HistoryPopup;
class HookBinding;
class ImeColours;
class InputBox;
class Lifecycle;
class MainForm;
class OptionDialogs;
class Paging;
class QuickGuide;
class ResultPane;
class SearchWindow;
class SingleInstance;
class Tips;
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
    OptionDialogs &optionDialogs() { return *optionDialogs_; }

private:
    MainForm &form_;
    std::unique_ptr<SingleInstance> singleInstance_;
    std::unique_ptr<TrayResidence> tray_;
    std::unique_ptr<HookBinding> hook_;
    std::unique_ptr<WindowMessages> messages_;
    std::unique_ptr<WindowLayout> layout_;
    std::unique_ptr<ImeColours> ime_;
    std::unique_ptr<History> history_;
    std::unique_ptr<QuickGuide> quickGuide_;
    std::unique_ptr<Tips> tips_;
    std::unique_ptr<SearchWindow> search_;
    std::unique_ptr<DisplayModes> display_;
    std::unique_ptr<Lifecycle> lifecycle_;
    std::unique_ptr<FormKeys> formKeys_;
    std::unique_ptr<HistoryPopup> historyPopup_;
    std::unique_ptr<InputBox> inputBox_;
    std::unique_ptr<ResultPane> resultPane_;
    std::unique_ptr<Paging> paging_;
    std::unique_ptr<OptionDialogs> optionDialogs_;
    std::unique_ptr<EventRouter> router_;
};
