#pragma once
// The speech-dispatcher back end of the screen reader.

#include "orrin/orrinvoice.h"

class SpeechdVoice {
public:
    static std::unique_ptr<OrrinVoice> create(QString *error);
};
