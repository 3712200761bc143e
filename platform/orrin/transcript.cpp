#include "orrin/transcript.h"

#include "codepage/codepage.h"
#include "orrin/speechsetting.h"

#include <memory>

namespace {
Transcript::Observer &observer()
{
    static Transcript::Observer o;
    return o;
}
} // namespace

Transcript::Transcript(const QString &path) : file_(path)
{
    (void)file_.open(QIODevice::WriteOnly | QIODevice::Append);
}

QString Transcript::escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += u"\\\\"; break;
        case u'\t': out += u"\\t"; break;
        case u'\r': out += u"\\r"; break;
        case u'\n': out += u"\\n"; break;
        case codepage::SpeechEndMarker: out += u"\\m"; break;
        default: out += c;
        }
    }
    return out;
}

QString Transcript::unescape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i].unicode()) {
        case u't': out += u'\t'; break;
        case u'r': out += u'\r'; break;
        case u'n': out += u'\n'; break;
        case u'm': out += QChar(codepage::SpeechEndMarker); break;
        default: out += text[i];
        }
    }
    return out;
}

void Transcript::write(const QString &operation, const QStringList &arguments)
{
    if (!file_.isOpen())
        return;
    QString line = operation;
    for (const QString &a : arguments) {
        line += u'\t';
        line += escape(a);
    }
    line += u'\n';
    file_.write(line.toUtf8());
    file_.flush();
    if (observer())
        observer()(operation, arguments);
}

void Transcript::setObserver(Observer o)
{
    observer() = std::move(o);
}

namespace {
std::unique_ptr<Transcript> &sharedSlot()
{
    static std::unique_ptr<Transcript> slot;
    return slot;
}
} // namespace

Transcript *Transcript::shared()
{
    std::unique_ptr<Transcript> &slot = sharedSlot();
    if (!slot) {
        const SpeechSetting s = SpeechSetting::fromEnvironment();
        if (s.kind != SpeechSetting::Kind::Transcript)
            return nullptr;
        slot = std::make_unique<Transcript>(s.path);
    }
    return slot->isOpen() ? slot.get() : nullptr;
}

void Transcript::resetShared()
{
    sharedSlot().reset();
}
