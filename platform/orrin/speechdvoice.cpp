#include "orrin/speechdvoice.h"

std::unique_ptr<OrrinVoice> SpeechdVoice::create(QString *error)
{
    if (error)
        *error = QStringLiteral("the speech-dispatcher back end is not built yet");
    return nullptr;
}
