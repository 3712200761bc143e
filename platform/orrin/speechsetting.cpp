#include "orrin/speechsetting.h"

#include <QRegularExpression>

SpeechSetting SpeechSetting::parse(const QString &value)
{
    SpeechSetting s;
    const QString v = value.trimmed();
    if (v.isEmpty() || v == u"speechd")
        return s;
    if (!v.startsWith(u"transcript:")) {
        s.kind = Kind::Invalid;
        s.error = QStringLiteral("WORDLAMP_SPEECH must be \"speechd\" or \"transcript:PATH\", not \"%1\"").arg(v);
        return s;
    }
    s.kind = Kind::Transcript;
    s.path = v.mid(int(sizeof "transcript:") - 1);
    static const QRegularExpression timing(QStringLiteral("@(\\d{1,6})$"));
    const QRegularExpressionMatch m = timing.match(s.path);
    if (m.hasMatch()) {
        s.msPerChar = m.captured(1).toInt();
        s.path.chop(m.capturedLength(0));
    }
    if (s.path.isEmpty()) {
        s.kind = Kind::Invalid;
        s.error = QStringLiteral("WORDLAMP_SPEECH=transcript: needs a file path");
    }
    return s;
}

SpeechSetting SpeechSetting::fromEnvironment()
{
    return parse(qEnvironmentVariable("WORDLAMP_SPEECH"));
}
