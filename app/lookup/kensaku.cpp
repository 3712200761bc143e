#include "lookup/kensaku.h"

#include "codepage/codepage.h"
#include "lookup/normalize.h"
#include "orrin/orrinvoice.h"

#include <QScopeGuard>

namespace lookup {
namespace {

const QString NotFound = QStringLiteral("は見つかりませんでした");

} // namespace

KensakuHost::~KensakuHost() = default;

LookupEngine::LookupEngine(LookupState &state, KensakuHost &host, EntrySink *sink, OrrinVoice *voice)
    : state_(state), host_(host), voice_(voice), search_(state, sink)
{
}

QString LookupEngine::statusText(int DicMode, bool prefix)
{
    if (DicMode == EnglishJapanese)
        return prefix ? QStringLiteral("英和辞典を前方一致で検索しました (Shift+Ctrl+F12:カーソル位置検索)")
                      : QStringLiteral("英和辞典を検索しました (Shift+Ctrl+F12:カーソル位置検索)");
    return prefix ? QStringLiteral("和英辞典を前方一致で検索しました (Shift+Ctrl+F12:カーソル位置検索)")
                  : QStringLiteral("和英辞典を検索しました (Shift+Ctrl+F12:カーソル位置検索)");
}

QString LookupEngine::notFoundText(const QString &inputText)
{
    const QString w = inputText.size() > 20 ? inputText.left(16) + QChar(0x2026) : inputText;
    return w + NotFound;
}

bool LookupEngine::Kensaku(QString &str, bool rirekiFlag)
{
    if (trimWordSpaces(str).isEmpty()) {
        host_.setText1(QString());
        if (voice_)
            voice_->Signal(100, 3, 0);
        return false;
    }
    if (state_.KensakuEnable) {
        if (voice_)
            voice_->Signal(10, 1, 0);
        return false;
    }

    state_.KensakuEnable = true;
    state_.record.HitLines.clear();
    bool result = false;
    bool roll = false;
    // Whatever way the lookup ends, it ends with step 11.
    auto end = qScopeGuard([&] {
        host_.updateCopyButton();
        host_.RollSetting(roll);
        host_.RirekiSetting();
        host_.letEventsRun();
        host_.hidePicture1();
        state_.KensakuEnable = false;
    });
    host_.DummyScreen();

    // A trailing asterisk after at least one character asks for a prefix
    // search; the test looks at the untrimmed word.
    QChar asterisk;
    if (str.size() > 1 && (str.back() == u'*' || str.back() == u'＊')) {
        state_.ZenpoFlag = true;
        asterisk = str.back();
        str.chop(1);
    } else {
        state_.ZenpoFlag = false;
    }

    result = searchDirections(str);
    if (result) {
        found(str, rirekiFlag, asterisk);
        roll = true;
    } else {
        notFound();
    }
    return result;
}

bool LookupEngine::searchDirections(const QString &str)
{
    if (CheckEng(str)) {
        state_.DicMode = EnglishJapanese;
        if (voice_)
            voice_->LockSpeech();
        const bool hit = search_.FileAtoZ(str);
        if (search_.error())
            host_.showDicFileError(*search_.error());
        return hit;
    }

    // Japanese-English, with one retry in katakana.
    QString word = str;
    bool retried = false;
    QString beforeRetry;
    for (;;) {
        state_.DicMode = JapaneseEnglish;
        const bool hit = search_.FileWaei(word);
        if (hit)
            return true;
        // A file error ends the lookup: the word counts as not found, and
        // the katakana form is not tried against the same broken files.
        if (search_.error()) {
            host_.showDicFileError(*search_.error());
            break;
        }
        const QString k = hira2kana(str);
        if (k.isEmpty() || retried)
            break;
        retried = true;
        beforeRetry = str;
        host_.setText1(k);
        word = k;
    }
    if (retried)
        host_.setText1(beforeRetry);
    return false;
}

void LookupEngine::found(const QString &str, bool rirekiFlag, QChar removedAsterisk)
{
    host_.setQuietFocus(true);
    host_.setText1(QString());
    if (state_.CaptureActive) {
        host_.SetResident(false);
        host_.ShowMe();
    }
    host_.focusText2();
    host_.setQuietFocus(false);
    if (rirekiFlag)
        host_.RirekiKosin(removedAsterisk.isNull() ? str : str + removedAsterisk);
    host_.letEventsRun();
    host_.setText2SelStart(0);
    host_.setStatusText(statusText(state_.DicMode, state_.ZenpoFlag));
    if (voice_) {
        voice_->UnlockSpeech();
        voice_->StopSpeech();
    }
    host_.letEventsRun();
    host_.hidePicture1();
    host_.AllRead();
}

void LookupEngine::notFound()
{
    if (state_.CaptureActive)
        host_.ShowExtBox(host_.Text1() + QStringLiteral(" ") + NotFound);
    host_.letEventsRun();
    host_.hidePicture1();
    if (voice_)
        voice_->UnlockSpeech();
    const QString message = notFoundText(host_.Text1());
    host_.setText1(QString());
    if (!state_.CaptureActive)
        host_.ShowTips(message);
    if (voice_) {
        voice_->StopSpeech();
        voice_->Speak(state_.DicMode == JapaneseEnglish ? message + QChar(codepage::SpeechEndMarker) : message, 0);
    }
    state_.CaptureActive = false;
}

} // namespace lookup
