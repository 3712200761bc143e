#pragma once
// Test doubles for the lookup engine: a host and a speech object that record
// every call in order.

#include "lookup/kensaku.h"
#include "orrin/orrinvoice.h"

#include <QStringList>

#include <functional>

class RecordingVoice : public OrrinVoice {
public:
    QStringList calls;

    void Speak(const QString &text, int mode = 0) override
    {
        calls.append(QStringLiteral("Speak(%1,%2)").arg(text).arg(mode));
    }
    void StopSpeech() override { calls.append(QStringLiteral("StopSpeech")); }
    void LockSpeech() override
    {
        OrrinVoice::LockSpeech();
        calls.append(QStringLiteral("LockSpeech"));
    }
    void UnlockSpeech() override
    {
        OrrinVoice::UnlockSpeech();
        calls.append(QStringLiteral("UnlockSpeech"));
    }
    bool Setup(int) override { return true; }
    int Settle() override { return 0; }
    bool IsSpeaking() override { return false; }
    void Signal(int value, int code, int flag) override
    {
        calls.append(QStringLiteral("Signal(%1,%2,%3)").arg(value).arg(code).arg(flag));
    }
    int setStatus(int, int, int) override { return 0; }
    int command(const QString &, int, int) override { return 0; }
    bool loaded() const override { return true; }
};

class RecordingHost : public lookup::KensakuHost {
public:
    QStringList calls;
    QList<lookup::DicFileError> errors;
    std::function<void()> onAllRead;

    void setText1(const QString &text) override
    {
        calls.append(QStringLiteral("Text1=") + text);
        KensakuHost::setText1(text);
    }
    void DummyScreen() override { calls.append(QStringLiteral("DummyScreen")); }
    void hidePicture1() override { calls.append(QStringLiteral("hidePicture1")); }
    void setQuietFocus(bool on) override { calls.append(QStringLiteral("QuietFocus=%1").arg(on)); }
    void SetResident(bool on) override { calls.append(QStringLiteral("SetResident(%1)").arg(on)); }
    void ShowMe() override { calls.append(QStringLiteral("ShowMe")); }
    void focusText2() override { calls.append(QStringLiteral("focusText2")); }
    void setText2SelStart(int pos) override { calls.append(QStringLiteral("SelStart=%1").arg(pos)); }
    void RirekiKosin(const QString &word) override { calls.append(QStringLiteral("RirekiKosin(%1)").arg(word)); }
    void RirekiSetting() override { calls.append(QStringLiteral("RirekiSetting")); }
    void RollSetting(bool on) override { calls.append(QStringLiteral("RollSetting(%1)").arg(on)); }
    void setStatusText(const QString &text) override { calls.append(QStringLiteral("Status=") + text); }
    void AllRead() override
    {
        calls.append(QStringLiteral("AllRead"));
        if (onAllRead)
            onAllRead();
    }
    void ShowExtBox(const QString &text) override { calls.append(QStringLiteral("ShowExtBox(%1)").arg(text)); }
    void ShowTips(const QString &text) override { calls.append(QStringLiteral("ShowTips(%1)").arg(text)); }
    void updateCopyButton() override { calls.append(QStringLiteral("updateCopyButton")); }
    void letEventsRun() override { calls.append(QStringLiteral("letEventsRun")); }
    void showDicFileError(const lookup::DicFileError &e) override
    {
        errors.append(e);
        calls.append(QStringLiteral("DicFileError(%1)").arg(e.message()));
    }
};
