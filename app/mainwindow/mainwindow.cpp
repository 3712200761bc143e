#include "mainwindow/mainwindow.h"

#include "form/mainform.h"
#include "mainwindow/appicon.h"
#include "mainwindow/capture.h"
#include "mainwindow/desktopcommands.h"
#include "mainwindow/displaymodes.h"
#include "mainwindow/editcommands.h"
#include "mainwindow/eventrouter.h"
#include "mainwindow/extbox.h"
#include "mainwindow/formkeys.h"
#include "mainwindow/helpmenu.h"
#include "mainwindow/history.h"
#include "mainwindow/historypopup.h"
#include "mainwindow/hookbinding.h"
#include "mainwindow/imagemenu.h"
#include "mainwindow/imecolours.h"
#include "mainwindow/inputbox.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/optiondialogs.h"
#include "mainwindow/paging.h"
#include "mainwindow/quickguide.h"
#include "mainwindow/rangecommand.h"
#include "mainwindow/resultpane.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/singleinstance.h"
#include "mainwindow/tips.h"
#include "mainwindow/toolbar.h"
#include "mainwindow/trayresidence.h"
#include "mainwindow/windowlayout.h"
#include "mainwindow/windowmessages.h"

#include <QGuiApplication>

MainWindow::MainWindow(MainForm &form)
    : form_(form), singleInstance_(std::make_unique<SingleInstance>()), tray_(std::make_unique<TrayResidence>(form)),
      hook_(std::make_unique<HookBinding>()), messages_(std::make_unique<WindowMessages>(form, *tray_)),
      windows_(desktop::createWindows()), extBox_(std::make_unique<ExtBox>(form, *hook_, *windows_)),
      layout_(std::make_unique<WindowLayout>(form)), ime_(std::make_unique<ImeColours>(form)),
      history_(std::make_unique<History>(form)), quickGuide_(std::make_unique<QuickGuide>(form)),
      tips_(std::make_unique<Tips>(form)),
      search_(std::make_unique<SearchWindow>(form, *history_, *tips_, *tray_, *extBox_, *windows_)),
      display_(std::make_unique<DisplayModes>(form, *layout_, *ime_, *search_)),
      range_(std::make_unique<RangeCommand>(form, *tips_, *search_)),
      edit_(std::make_unique<EditCommands>(form, *search_, *range_)),
      lifecycle_(std::make_unique<Lifecycle>(form, *hook_, *history_, *singleInstance_, *tray_, *display_, *ime_,
                                             *messages_, *windows_)),
      formKeys_(std::make_unique<FormKeys>(form, *display_, *ime_, *edit_)),
      historyPopup_(std::make_unique<HistoryPopup>(form, *history_, *quickGuide_)),
      inputBox_(std::make_unique<InputBox>(form, *ime_, *quickGuide_, *search_, *historyPopup_)),
      resultPane_(std::make_unique<ResultPane>(form, *quickGuide_, *search_, *edit_, *range_)),
      paging_(std::make_unique<Paging>(form, *search_)), helpMenu_(std::make_unique<HelpMenu>(form)),
      capture_(std::make_unique<Capture>(form, *hook_, *search_, *extBox_, *windows_)),
      desktopCommands_(std::make_unique<DesktopCommands>(form)),
      toolbar_(std::make_unique<Toolbar>(form, *search_, *history_, *paging_, *display_)),
      imageMenu_(std::make_unique<ImageMenu>(form)),
      optionDialogs_(std::make_unique<OptionDialogs>(form, *quickGuide_, *hook_)),
      router_(std::make_unique<EventRouter>(form, *lifecycle_, *formKeys_, *inputBox_, *resultPane_, *historyPopup_))
{
    // A word chosen from the history is looked up without being recorded again.
    QObject::connect(history_.get(), &History::wordChosen, search_.get(), [this](const QString &word) {
        QString w = word;
        search_->Kensaku(w, false);
    });
    QObject::connect(lifecycle_.get(), &Lifecycle::fillingMenus, helpMenu_.get(), &HelpMenu::ManualSet);
    form_.setWindowIcon(appIcon());

    // The window's messages: the capture library's notification, another
    // application becoming active, the show request of a second start (from
    // SingleInstance, connected at start-up).
    QObject::connect(messages_.get(), &WindowMessages::captureArrived, capture_.get(), &Capture::TimerHook_Capture);
    QObject::connect(messages_.get(), &WindowMessages::applicationDeactivated, capture_.get(),
                     &Capture::applicationDeactivated);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QObject::connect(app, &QGuiApplication::applicationStateChanged, messages_.get(),
                         [this](Qt::ApplicationState state) {
                             messages_->receive(WindowMessages::ActivateApp, state == Qt::ApplicationActive ? 1 : 0);
                         });
        hookNotify_ = std::make_unique<desktop::HookNotifyFilter>(
            [this] { return form_.internalWinId(); }, wlhook::NotifyAtomName, wlhook::NotifyMessage,
            [this] { messages_->receive(WindowMessages::HookNotify); });
        app->installNativeEventFilter(hookNotify_.get());
    }
}

MainWindow::~MainWindow()
{
    // The event filters go first, so no handler runs while the roles are
    // taken apart.
    router_.reset();
    if (hookNotify_)
        QCoreApplication::instance()->removeNativeEventFilter(hookNotify_.get());
}
