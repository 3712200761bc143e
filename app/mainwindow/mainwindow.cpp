#include "mainwindow/mainwindow.h"

#include "form/mainform.h"
#include "mainwindow/appicon.h"
#include "mainwindow/displaymodes.h"
#include "mainwindow/eventrouter.h"
#include "mainwindow/formkeys.h"
#include "mainwindow/history.h"
#include "mainwindow/historypopup.h"
#include "mainwindow/hookbinding.h"
#include "mainwindow/imecolours.h"
#include "mainwindow/inputbox.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/optiondialogs.h"
#include "mainwindow/paging.h"
#include "mainwindow/quickguide.h"
#include "mainwindow/resultpane.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/singleinstance.h"
#include "mainwindow/tips.h"
#include "mainwindow/trayresidence.h"
#include "mainwindow/windowlayout.h"
#include "mainwindow/windowmessages.h"

MainWindow::MainWindow(MainForm &form)
    : form_(form), singleInstance_(std::make_unique<SingleInstance>()), tray_(std::make_unique<TrayResidence>(form)),
      hook_(std::make_unique<HookBinding>()), messages_(std::make_unique<WindowMessages>(form, *tray_)),
      layout_(std::make_unique<WindowLayout>(form)), ime_(std::make_unique<ImeColours>(form)),
      history_(std::make_unique<History>(form)), quickGuide_(std::make_unique<QuickGuide>(form)),
      tips_(std::make_unique<Tips>(form)), search_(std::make_unique<SearchWindow>(form, *history_, *tips_, *tray_)),
      display_(std::make_unique<DisplayModes>(form, *layout_, *ime_, *search_)),
      lifecycle_(
          std::make_unique<Lifecycle>(form, *hook_, *history_, *singleInstance_, *tray_, *display_, *ime_, *messages_)),
      formKeys_(std::make_unique<FormKeys>(form, *display_, *ime_)),
      historyPopup_(std::make_unique<HistoryPopup>(form, *history_, *quickGuide_)),
      inputBox_(std::make_unique<InputBox>(form, *ime_, *quickGuide_, *search_, *historyPopup_)),
      resultPane_(std::make_unique<ResultPane>(form, *quickGuide_, *search_)),
      paging_(std::make_unique<Paging>(form, *search_)),
      optionDialogs_(std::make_unique<OptionDialogs>(form, *quickGuide_, *hook_)),
      router_(std::make_unique<EventRouter>(form, *lifecycle_, *formKeys_, *inputBox_, *resultPane_, *historyPopup_))
{
    // A word chosen from the history is looked up without being recorded again.
    QObject::connect(history_.get(), &History::wordChosen, search_.get(), [this](const QString &word) {
        QString w = word;
        search_->Kensaku(w, false);
    });
    form_.setWindowIcon(appIcon());
}

MainWindow::~MainWindow()
{
    // The event filters go first, so no handler runs while the roles are
    // taken apart.
    router_.reset();
}
