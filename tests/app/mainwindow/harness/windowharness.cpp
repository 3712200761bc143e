#include "windowharness.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/hookbinding.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/mainwindow.h"
#include "orrin/transcript.h"
#include "orrin/transcriptvoice.h"
#include "settings/settingsstore.h"
#include "speech/speech.h"
#include "speech/speechlayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {
QStringList &recordedHookCalls()
{
    static QStringList calls;
    return calls;
}

// The capture library's stand-in: records its calls, captures nothing.
int32_t WLHOOK_CALL fakeHookKeyHandler(WlhookWindow window, uint32_t message, int32_t hotKey)
{
    recordedHookCalls() << QStringLiteral("HookKeyHandler %1 %2 %3").arg(window != 0).arg(message).arg(hotKey);
    return 1;
}
int32_t WLHOOK_CALL fakeUnHookKeyHandler()
{
    recordedHookCalls() << QStringLiteral("UnHookKeyHandler");
    return 1;
}
WindowHarness::FakeCapture &fakeCapture()
{
    static WindowHarness::FakeCapture capture;
    return capture;
}
// As the library does: the text's bytes, padded with NULs up to length, or
// the first length bytes without a terminator.
int32_t WLHOOK_CALL fakeGetString(char *buffer, int32_t length)
{
    ++fakeCapture().getStringCalls;
    const QByteArray &text = fakeCapture().text;
    for (int32_t i = 0; i < length; ++i)
        buffer[i] = i < text.size() ? text.at(i) : '\0';
    return fakeCapture().code;
}
int32_t WLHOOK_CALL fakeGetStrLength()
{
    return int32_t(fakeCapture().text.size());
}
void WLHOOK_CALL fakeGetScreenCaret(WlhookPoint *point)
{
    point->x = fakeCapture().caret.x();
    point->y = fakeCapture().caret.y();
}

HookBinding::Api fakeHookApi()
{
    return {fakeHookKeyHandler, fakeUnHookKeyHandler, fakeGetString, fakeGetStrLength, fakeGetScreenCaret};
}

QString transcriptFile()
{
    // WORDLAMP_SPEECH = "transcript:PATH@N"
    QString value = qEnvironmentVariable("WORDLAMP_SPEECH");
    if (!value.startsWith(u"transcript:"))
        return {};
    value = value.mid(11);
    const qsizetype at = value.lastIndexOf(u'@');
    return at >= 0 ? value.left(at) : value;
}
} // namespace

WindowHarness::WindowHarness() : WindowHarness(Options{})
{
}

WindowHarness::WindowHarness(const Options &options) : temp_(std::make_unique<testsupport::TempSettings>())
{
    recordedHookCalls().clear();
    fakeCapture() = {};
    setMessageHandler([this](const MessageRecord &m) {
        messages.append(m);
        return QMessageBox::Ok;
    });
    if (!options.settingsFile.isEmpty()) {
        QDir().mkpath(QFileInfo(temp_->userFile()).path());
        QFile file(temp_->userFile());
        if (file.open(QIODevice::WriteOnly))
            file.write(options.settingsFile);
    }
    speechMsPerChar_ = options.speechMsPerChar;
    // A window starts with a dictionary unless the test says otherwise: without
    // one the program says at start-up where it is missing.
    if (!options.dictionaryFolder.isEmpty())
        settings::writeText(settings::Key::Wordmere, options.dictionaryFolder);
    else if (!options.settingsFile.contains("Wordmere"))
        settings::writeText(settings::Key::Wordmere, QStringLiteral(WORDLAMP_TEST_DATA "/mainwindow"));
    for (const QString &s : options.settings)
        settings::save(settings::SettingsSection, s.section(u'=', 0, 0), s.section(u'=', 1));
    for (const QString &s : options.history)
        settings::save(settings::HistorySection, s.section(u'=', 0, 0), s.section(u'=', 1));

    form_ = std::make_unique<MainForm>();
    window_ = std::make_unique<MainWindow>(*form_);
    if (options.installSpeech) {
        auto speech = std::make_unique<Speech>(*form_);
        // The braille table lives in the program's folder, not the test's.
        speech->layer().setProgramFolder(QStringLiteral(WORDLAMP_PROGRAM_DIR));
        form_->setSpeech(std::move(speech));
    }
    if (options.fakeHook)
        window_->hook().setApi(fakeHookApi());
    else if (!options.hookFolder.isEmpty())
        window_->hook().setFolder(options.hookFolder);
    transcriptPath_ = transcriptFile();
    markTranscript();
}

WindowHarness::~WindowHarness()
{
    unload();
    window_.reset();
    form_.reset();
    setMessageHandler({});
}

bool WindowHarness::load(const QStringList &arguments)
{
    if (!window_->lifecycle().Form_Load(QStringList{QStringLiteral("Wordlamp")} + arguments))
        return false;
    if (auto *voice = dynamic_cast<TranscriptVoice *>(form_->Voice1.get()))
        voice->setMsPerChar(speechMsPerChar_);
    if (!form_->TrayResident) {
        form_->show();
        if (!QTest::qWaitForWindowExposed(form_.get()))
            return false;
        form_->activateWindow();
        if (!QTest::qWaitForWindowActive(form_.get()))
            return false;
    }
    QCoreApplication::processEvents();
    return true;
}

void WindowHarness::unload()
{
    if (window_ && window_->lifecycle().isLoaded())
        window_->lifecycle().Form_Unload();
}

QStringList WindowHarness::transcript() const
{
    QFile f(transcriptPath_);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    f.seek(transcriptMark_);
    QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList WindowHarness::spoken() const
{
    QStringList texts;
    for (const QString &line : transcript())
        if (line.startsWith(u"Speak\t") || line.startsWith(u"SapiSpeak\t"))
            texts << Transcript::unescape(line.section(u'\t', 1, 1));
    return texts;
}

void WindowHarness::markTranscript()
{
    transcriptMark_ = QFileInfo(transcriptPath_).size();
}

bool WindowHarness::waitSpoken(const QString &text, int timeoutMs) const
{
    return QTest::qWaitFor([&] { return spoken().contains(text); }, timeoutMs);
}

QString WindowHarness::setting(const QString &section, const QString &key) const
{
    return settings::get(section, key, QString());
}

QWidget *WindowHarness::focused() const
{
    return QApplication::focusWidget();
}

void WindowHarness::key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = focused() ? focused() : form_.get();
    QTest::keyClick(target, key, modifiers);
}

void WindowHarness::type(const QString &text)
{
    for (QChar c : text) {
        QWidget *target = focused() ? focused() : form_.get();
        if (c.unicode() < 0x80) {
            QTest::keyClick(target, c.toLatin1());
        } else {
            // A character of no key of the keyboard, as a layout would type it.
            QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void WindowHarness::lookUp(const QString &word)
{
    form_->Text1->setFocus();
    form_->Text1->clear();
    type(word);
    QTest::keyClick(form_->Text1, Qt::Key_Return);
}

WindowHarness::FakeCapture &WindowHarness::capture()
{
    return fakeCapture();
}

QStringList WindowHarness::hookCalls()
{
    return recordedHookCalls();
}
