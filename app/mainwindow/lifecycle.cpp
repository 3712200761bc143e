#include "mainwindow/lifecycle.h"

#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/messagebox.h"
#include "form/richtextbox.h"
#include "mainwindow/activation.h"
#include "mainwindow/dictionarycheck.h"
#include "mainwindow/displaymodes.h"
#include "mainwindow/history.h"
#include "mainwindow/hookbinding.h"
#include "mainwindow/imecolours.h"
#include "mainwindow/singleinstance.h"
#include "mainwindow/spoken.h"
#include "mainwindow/syscolors.h"
#include "mainwindow/trayresidence.h"
#include "mainwindow/twips.h"
#include "mainwindow/windowlayout.h"
#include "mainwindow/windowmessages.h"
#include "mainwindow/windowsteps.h"
#include "session/session.h"
#include "settings/settingsstore.h"
#include "speech/systemutil.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {
const QString StartupErrorTitle = QStringLiteral("起動エラー");

// The stored window position counts from the top-left corner of the primary
// screen's available area.
QPoint desktopOrigin()
{
    return QGuiApplication::primaryScreen()->availableGeometry().topLeft();
}
} // namespace

Lifecycle::Lifecycle(MainForm &form, HookBinding &hook, History &history, SingleInstance &singleInstance,
                     TrayResidence &tray, DisplayModes &display, ImeColours &ime, WindowMessages &messages,
                     desktop::Windows &windows)
    : form_(form), hook_(hook), history_(history), singleInstance_(singleInstance), tray_(tray), display_(display),
      ime_(ime), messages_(messages), windows_(windows)
{
    connect(form_.action(QStringLiteral("mnu_file_exit")), &QAction::triggered, &form_, &QWidget::close);
}

Lifecycle::~Lifecycle() = default;

bool Lifecycle::failStartup(int code)
{
    // Give back what the steps so far acquired; the window never shows.
    form_.speech().stopForShutdown();
    tray_.removeIcon();
    singleInstance_.close();
    form_.TrayResident = false;
    exitCode_ = code;
    return false;
}

bool Lifecycle::Form_Load(const QStringList &arguments)
{
    // 1. Hand over to a running copy.
    if (singleInstance_.DuplicateLoad()) {
        exitCode_ = 0;
        return false;
    }
    connect(&singleInstance_, &SingleInstance::messageReceived, &messages_, &WindowMessages::receiveMessage,
            Qt::UniqueConnection);

    // 2. Notification-area mode on request.
    form_.TrayResident = false;
    const QString commandLine = arguments.mid(1).join(u' ');
    if (commandLine.contains(u"/tsr") || commandLine.contains(u"/TSR"))
        tray_.SetResident(true);

    // 4.-7.
    form_.EngUse = settings::readBool(settings::Key::EngUse);
    form_.Text2Change = false;
    form_.Text1->setPlainText(QStringLiteral(" "));
    form_.Text2->setPlainText(QStringLiteral(" "));
    form_.KensakuEnable = false;
    settings::writeText(settings::Key::Version, Version);
    form_.RirekiIndex = form_.RirekiMax = 0;
    form_.RirekiList.clear();
    form_.QevSelMode = false;

    // 8. The screen reader (its message is shown by the step itself).
    if (!form_.speech().createScreenReader())
        return failStartup(1);
    // 9. The braille table.
    form_.speech().loadBrailleTable();
    // A settings file that cannot be used is said once, as soon as there is a
    // screen reader to say it; the program goes on with the defaults and
    // leaves the file as it is.
    settings::setProblemHandler([this](const QString &message) {
        if (!unloaded_)
            showMessage(loaded_ ? &form_ : nullptr, QMessageBox::Warning, QStringLiteral("設定エラー"), message);
    });

    // 10.-14. Settings and window placement.
    form_.DicKana = settings::readBool(settings::Key::DicKana);
    form_.SapiEngineName = settings::readText(settings::Key::SapiEngine);
    form_.SapiEngineSpeed = settings::readInt(settings::Key::SapiEngineSpeed);
    form_.FilePath = settings::readText(settings::Key::Wordmere);
    dictionarycheck::announceMissing(form_);
    const bool statusBar = settings::readBool(settings::Key::StatusBar);
    form_.StatusBar1->setVisible(statusBar);
    form_.action(QStringLiteral("mnu_view_status"))->setChecked(statusBar);
    placeWindow();
    form_.modeBigFont = settings::readBool(settings::Key::BigMode);
    form_.modeFontSize = settings::readInt(settings::Key::FontSize);
    form_.modeReverse = settings::readBool(settings::Key::Reverse);
    form_.ZenpoMax = settings::readInt(settings::Key::ZenpoMax);
    form_.KeyFunc = settings::readInt(settings::Key::KeyFunc);
    form_.QuietFocus = false;
    form_.CoarseSteps = 200;
    form_.FineSteps = 50;
    form_.ResizeBusy = false;
    form_.editPaste = form_.editCopy = form_.editCut = false;

    // 15. Display mode, history, paging commands.
    windowsteps::EditSetting(form_);
    display_.FontSetting();
    history_.RirekiLoad();
    history_.RirekiSetting();
    history_.RollSetting(false);
    form_.AllReadIdle = true;

    // 16. IME colours and the caret's height factor.
    ime_.SetImmColoer();
    form_.CaretScale = ::OsLevel() > 4 ? 1.75f : 1.35f;

    // 17. The menus filled from the installation.
    emit fillingMenus();

    // 18.-19. The window's messages are watched from its creation on; the
    // capture hook needs the library, without which the program cannot run.
    if (!hook_.bind()) {
        showMessage(nullptr, QMessageBox::Warning, StartupErrorTitle,
                    QStringLiteral("Wlhookが読み込めません\n%1").arg(hook_.errorString()));
        return failStartup(1);
    }
    hook_.HookKeyHandler(WlhookWindow(form_.winId()), form_.KeyFunc);
    form_.CaptureActive = false;

    // 20. The English voice (its message is shown by the step itself), the
    // screen reader's presence indicator.
    if (!form_.speech().checkEnglishVoice()) {
        hook_.UnHookKeyHandler();
        return failStartup(1);
    }
    eventloop::DoEvents(); // start-up runs before the window's loop: nothing to re-enter
    form_.Text2Change = true;
    form_.Image2->show();
    form_.speech().VIconSet();
    form_.chkOrrin.start();
    if (::OsLevel() == 5 && syscolors::CheckDefColor()) {
        const QColor background = syscolors::systemColour(syscolors::InactiveCaptionText);
        for (QWidget *w : {static_cast<QWidget *>(&form_), static_cast<QWidget *>(form_.Toolbar1), form_.Pic1,
                           static_cast<QWidget *>(form_.StatusBar1)}) {
            QPalette p = w->palette();
            p.setColor(QPalette::Window, background);
            w->setPalette(p);
            w->setAutoFillBackground(true);
        }
        QPalette menuPalette = form_.menuBar()->palette();
        menuPalette.setColor(QPalette::Window, syscolors::systemColour(syscolors::Menu));
        form_.menuBar()->setPalette(menuPalette);
    }

    // The input box is first in the tab order: it takes the keys when the
    // window first becomes active.
    form_.Text1->setFocus();
    watchSessionEnd();
    loaded_ = true;
    return true;
}

void Lifecycle::placeWindow()
{
    // Stored values may come from another screen, or from a hand that
    // mistyped: the window gets a size that fits its screen and that the
    // layout accepts, on a screen that is there.
    QList<QRectF> screens;
    const QPoint origin = desktopOrigin();
    const auto toTwips = [this](const QRect &r) {
        return QRectF(twips::fromPixels(r.left(), &form_), twips::fromPixels(r.top(), &form_),
                      twips::fromPixels(r.width(), &form_), twips::fromPixels(r.height(), &form_));
    };
    screens << toTwips(QGuiApplication::primaryScreen()->availableGeometry().translated(-origin));
    for (const QScreen *s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen())
            screens << toTwips(s->availableGeometry().translated(-origin));
    const QRectF placement = settings::initialWindowGeometry(screens, float(WindowLayout::MinimumTwips));
    form_.resize(twips::toPixels(placement.width(), &form_), twips::toPixels(placement.height(), &form_));
    form_.move(origin + QPoint(twips::toPixels(placement.left(), &form_), twips::toPixels(placement.top(), &form_)));
}

void Lifecycle::watchSessionEnd()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return;
    // Hidden in the notification area the window is the last one even
    // when none shows: the program ends only through shutdown.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    terminationWatcher_ = std::make_unique<session::TerminationWatcher>();
    connect(terminationWatcher_.get(), &session::TerminationWatcher::terminationRequested, this,
            &Lifecycle::endProgram);
    connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { Form_Unload(); });
    connect(app, &QCoreApplication::aboutToQuit, this, &Lifecycle::Form_Unload);
}

void Lifecycle::endProgram()
{
    Form_Unload();
    QCoreApplication::exit(0);
}

void Lifecycle::Form_Activate()
{
    if (!loaded_ || unloaded_)
        return;
    // Activated while another window still has the keyboard (the window
    // manager may report its own choice a moment after the focus came).
    const desktop::WindowId front = form_.isActiveWindow() ? 0 : windows_.activeWindow();
    if (front != 0 && front != form_.effectiveWinId() && !form_.TrayResident) {
        activation::Mouse_MeOn(form_, windows_, form_.effectiveWinId());
        form_.raise();
        form_.activateWindow();
    } else if (!form_.isActiveWindow() && !form_.TrayResident) {
        form_.raise();
        form_.activateWindow();
    }
    form_.Text1->setTextColor(form_.TextColor);
    form_.Text2->setTextColor(form_.TextColor);
    form_.speech().setCursol(form_.Text1Enable ? form_.Text1 : form_.Text2);
    for (RichTextBox *box : {form_.Text1, form_.Text2})
        if (box->toPlainText() == u" ")
            box->clear();
}

void Lifecycle::Form_Deactivate()
{
    if (form_.CaptureActive)
        form_.CaptureActive = false;
}

void Lifecycle::Form_Unload()
{
    if (!loaded_ || unloaded_)
        return;
    unloaded_ = true;
    // Shutdown may run inside a reading or a wait that still lets events
    // through: from here on the window takes no more keys, clicks or menu
    // commands, so nothing is said or stored after the farewell.
    form_.setEnabled(false);
    // 1.-2. Reading and speech stop; the braille table and the screen
    // reader's events are released.
    form_.speech().stopForShutdown();
    {
        // 3. and 6. go to the settings in one write.
        settings::WriteGroup oneWrite;
        // 3. Geometry, only from the normal state.
        if (!(form_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
            const QRect g(form_.pos() - desktopOrigin(), form_.size());
            settings::saveWindowGeometry(QRectF(twips::fromPixels(g.left(), &form_), twips::fromPixels(g.top(), &form_),
                                                twips::fromPixels(g.width(), &form_),
                                                twips::fromPixels(g.height(), &form_)));
        }
        // 4.-5. The capture hook.
        hook_.UnHookKeyHandler();
        // 6. The history.
        history_.RirekiSave();
    }
    tray_.removeIcon();
    singleInstance_.close();
    form_.chkOrrin.stop();
    // 8. The farewell.
    form_.speech().sayFarewell();
}
