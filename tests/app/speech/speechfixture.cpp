#include "speechfixture.h"

#include "englishvoice/transcriptenglishvoice.h"
#include "form/richtextbox.h"
#include "orrin/transcript.h"
#include "orrin/transcriptvoice.h"
#include "settings/settingsstore.h"
#include "speech/speechlayer.h"

#include <QTextCursor>

SpeechFixture::SpeechFixture(int msPerChar)
{
    transcriptPath_ = dir_.filePath(QStringLiteral("transcript.txt"));
    qputenv("WORDLAMP_SPEECH", QStringLiteral("transcript:%1@%2").arg(transcriptPath_).arg(msPerChar).toUtf8());
    Transcript::resetShared();
    Transcript::setObserver([this](const QString &op, const QStringList &args) {
        QString highlight;
        if (form_ && form_->Text2)
            highlight = form_->Text2->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
        entries_.append({op, args, highlight});
        if (onLine_)
            onLine_(op, args);
    });
    setMessageHandler([this](const MessageRecord &m) {
        messages.append(m);
        return QMessageBox::Ok;
    });
    form_ = std::make_unique<MainForm>();
    auto speech = std::make_unique<Speech>(*form_);
    speech_ = speech.get();
    speech_->layer().setProgramFolder(QStringLiteral(WORDLAMP_PROGRAM_DIR)); // where the braille table is
    form_->setSpeech(std::move(speech));
}

SpeechFixture::~SpeechFixture()
{
    form_.reset();
    Transcript::setObserver({});
    Transcript::resetShared();
    setMessageHandler({});
}

bool SpeechFixture::start()
{
    MainForm &f = *form_;
    f.EngUse = settings::readBool(settings::Key::EngUse);
    if (!speech_->createScreenReader())
        return false;
    speech_->loadBrailleTable();
    f.SapiEngineName = settings::readText(settings::Key::SapiEngine);
    f.SapiEngineSpeed = settings::readInt(settings::Key::SapiEngineSpeed);
    f.AllReadIdle = true;
    if (!speech_->checkEnglishVoice())
        return false;
    speech_->VIconSet();
    mark();
    return true;
}

TranscriptVoice *SpeechFixture::voice() const
{
    return dynamic_cast<TranscriptVoice *>(form_->Voice1.get());
}

TranscriptEnglishVoice *SpeechFixture::english() const
{
    return dynamic_cast<TranscriptEnglishVoice *>(speech_->layer().englishVoice());
}

void SpeechFixture::setEnglish(bool englishMode, bool engUse)
{
    form_->EnglishMode = englishMode;
    form_->EngUse = engUse;
}

void SpeechFixture::setPane(const QString &text, int cursor)
{
    form_->Text2->setPlainText(text);
    QTextCursor c = form_->Text2->textCursor();
    c.setPosition(cursor);
    form_->Text2->setTextCursor(c);
}

int SpeechFixture::paneCursor() const
{
    return form_->Text2->textCursor().position();
}

QStringList SpeechFixture::lines() const
{
    return testsupport::readLines(transcriptPath_).mid(markLine_);
}

void SpeechFixture::mark()
{
    markLine_ = testsupport::readLines(transcriptPath_).size();
    entries_.clear();
}

QStringList SpeechFixture::spoken(const QStringList &also) const
{
    QStringList out;
    for (const Entry &e : entries_) {
        const QString text = e.arguments.value(0);
        if (e.operation == u"Speak" || e.operation == u"SapiSpeak")
            out << QStringLiteral("%1 %2 [%3]")
                       .arg(e.operation, Transcript::escape(text), Transcript::escape(e.highlight));
        else if (e.operation == u"Announce")
            out << QStringLiteral("Announce %1").arg(Transcript::escape(text));
        else if (also.contains(e.operation))
            out << (e.arguments.isEmpty() ? e.operation : e.operation + u' ' + e.arguments.join(u' '));
    }
    return out;
}
