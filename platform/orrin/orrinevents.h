#pragma once
// The screen reader's event object. Before it runs one of its own key
// commands it emits KeyBack with the command's name; before it speaks on its
// own it emits VoiceBack. A handler sets `Exec` to 0 to stop the command.

#include <QObject>
#include <QString>

class OrrinEvents : public QObject {
    Q_OBJECT
public:
    explicit OrrinEvents(QObject *parent = nullptr);
    ~OrrinEvents() override;

    // The events object most recently created and not shut down.
    static OrrinEvents *current();

    // Disconnects from the screen reader; no event arrives afterwards.
    void Shutdown();
    bool isShutDown() const { return shutDown_; }

    // Raise the events (the screen reader's side): return what the handlers
    // left in Exec (1 when nobody stopped the command).
    int raiseKeyBack(const QString &keyInfo);
    int raiseVoiceBack(qint32 voiceInfo);

signals:
    void KeyBack(const QString &KeyInfo, int &Exec);
    void VoiceBack(qint32 VoiceInfo, int &Exec);

private:
    bool shutDown_ = false;
};
