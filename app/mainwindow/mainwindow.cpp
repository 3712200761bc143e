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
    : form_(form),
      lifecycle_(std::make_unique<Lifecycle>(form, *this)),
      singleInstance_(std::make_unique<SingleInstance>()),
      tray_(std::make_unique<TrayResidence>(form, *this)),
      hook_(std::make_unique<HookBinding>()),
      messages_(std::make_unique<WindowMessages>(form, *this)),
      display_(std::make_unique<DisplayModes>(form, *this)),
      layout_(std::make_unique<WindowLayout>(form, *this)),
      ime_(std::make_unique<ImeColours>(form, *this)),
      history_(std::make_unique<History>(form, *this)),
      formKeys_(std::make_unique<FormKeys>(form, *this)),
      inputBox_(std::make_unique<InputBox>(form, *this)),
      resultPane_(std::make_unique<ResultPane>(form, *this)),
      historyPopup_(std::make_unique<HistoryPopup>(form, *this)),
      quickGuide_(std::make_unique<QuickGuide>(form, *this)),
      tips_(std::make_unique<Tips>(form, *this)),
      search_(std::make_unique<SearchWindow>(form, *this)),
      paging_(std::make_unique<Paging>(form, *this)),
      router_(std::make_unique<EventRouter>(form, *this))
{
    form_.setWindowIcon(appIcon());
}

MainWindow::~MainWindow()
{
    // The event filters go first, so no handler runs while the roles are
    // taken apart.
    router_.reset();
}
