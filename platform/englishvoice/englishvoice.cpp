#include "englishvoice/englishvoice.h"

#include "englishvoice/qtenglishvoice.h"
#include "englishvoice/transcriptenglishvoice.h"
#include "orrin/speechsetting.h"

namespace {
EnglishVoice::Factory &factory()
{
    static EnglishVoice::Factory f;
    return f;
}
} // namespace

EnglishVoice::EnglishVoice() = default;
EnglishVoice::~EnglishVoice() = default;

void EnglishVoice::setFactory(Factory f)
{
    factory() = std::move(f);
}

std::unique_ptr<EnglishVoice> EnglishVoice::create(QString *error)
{
    if (factory())
        return factory()(error);
    const SpeechSetting s = SpeechSetting::fromEnvironment();
    switch (s.kind) {
    case SpeechSetting::Kind::Transcript: return TranscriptEnglishVoice::create(error);
    case SpeechSetting::Kind::Speechd: return QtEnglishVoice::create(error);
    case SpeechSetting::Kind::Invalid: break;
    }
    if (error)
        *error = s.error;
    return nullptr;
}
