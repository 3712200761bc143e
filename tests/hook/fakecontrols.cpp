#include "fakecontrols.h"

#include "codepage/codepage.h"

#include <algorithm>

namespace {

std::size_t encodeForTests(const char16_t *text, std::size_t length, char *dest, std::size_t capacity)
{
    const QByteArray bytes = codepage::encode(QStringView(text, static_cast<qsizetype>(length)));
    // Like the platform conversion, whole characters only.
    const std::size_t n = static_cast<std::size_t>(codepage::safeCut(bytes, static_cast<qsizetype>(capacity)));
    std::memcpy(dest, bytes.constData(), n);
    return n;
}

} // namespace

wlhook::AnsiCodePage cp932ForTests()
{
    wlhook::AnsiCodePage cp;
    cp.fromUtf16 = encodeForTests;
    return cp;
}

FakeControl::FakeControl(QByteArray className, bool unicode, const QString &text)
    : class_(std::move(className)), unicode_(unicode), rich_(class_.startsWith("Rich") || class_ == "RICHEDIT")
{
    const QStringList lines = text.split(rich_ ? QStringLiteral("\r") : QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        wideLines_.push_back(line.toStdU16String());
        ansiLines_.push_back(codepage::encode(line));
    }
}

void FakeControl::className(char *name, int room)
{
    const int n = std::min<int>(room - 1, static_cast<int>(class_.size()));
    std::memcpy(name, class_.constData(), static_cast<std::size_t>(n));
    name[n] = '\0';
}

std::intptr_t FakeControl::sendAnsi(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    char *buffer = reinterpret_cast<char *>(lParam);
    const auto write = [&](const QByteArray &text) {
        const std::size_t n = std::min<std::size_t>(wParam, static_cast<std::size_t>(text.size()));
        std::memcpy(buffer, text.constData(), n);
        buffer[n] = '\0';
    };
    switch (message) {
    case wlhook::EditorHasSelection: return editorHasSelection ? 1 : 0;
    case wlhook::EditorGetSelection: write(editorSelection); return 0;
    case wlhook::EditorGetCaretText: write(editorCaretText); return editorOffset;
    }
    return 0;
}

std::int32_t FakeControl::size() const
{
    std::int32_t n = 0;
    for (std::size_t i = 0; i < wideLines_.size(); ++i)
        n += static_cast<std::int32_t>(unicode_ ? wideLines_[i].size()
                                                : static_cast<std::size_t>(ansiLines_[i].size())) +
             (i + 1 < wideLines_.size() ? breakWidth() : 0);
    return n;
}

void FakeControl::setSelection(std::int32_t start, std::int32_t end)
{
    selStart = std::clamp(start, 0, size());
    selEnd = std::clamp(end, 0, size());
    changes << QStringLiteral("sel %1 %2").arg(selStart).arg(selEnd);
}

void FakeControl::setEventMask(std::uint32_t m)
{
    mask = m;
    changes << QStringLiteral("mask %1").arg(m, 0, 16);
}

void FakeControl::setOptions(std::uint32_t o)
{
    opts = o;
    changes << QStringLiteral("options %1").arg(o, 0, 16);
}

std::int32_t FakeControl::lineFromChar(std::int32_t charIndex)
{
    std::int32_t line = 0;
    while (line + 1 < static_cast<std::int32_t>(wideLines_.size()) && lineIndex(line + 1) <= charIndex)
        ++line;
    return line;
}

std::int32_t FakeControl::lineIndex(std::int32_t line)
{
    std::int32_t index = 0;
    for (std::int32_t i = 0; i < line && i < static_cast<std::int32_t>(wideLines_.size()); ++i)
        index += static_cast<std::int32_t>(
                     unicode_ ? wideLines_[static_cast<std::size_t>(i)].size()
                              : static_cast<std::size_t>(ansiLines_[static_cast<std::size_t>(i)].size())) +
                 breakWidth();
    return index;
}

std::int32_t FakeControl::lineLength(std::int32_t charIndex)
{
    const auto line = static_cast<std::size_t>(lineFromChar(charIndex));
    return static_cast<std::int32_t>(unicode_ ? wideLines_[line].size()
                                              : static_cast<std::size_t>(ansiLines_[line].size()));
}

void FakeControl::getLine(std::int32_t line, void *buffer)
{
    std::uint16_t max = 0;
    std::memcpy(&max, buffer, sizeof max);
    const auto i = static_cast<std::size_t>(line);
    if (unicode_) {
        const std::size_t n = std::min<std::size_t>(max, wideLines_[i].size());
        std::memcpy(buffer, wideLines_[i].data(), n * sizeof(char16_t));
    } else {
        const std::size_t n = std::min<std::size_t>(max, static_cast<std::size_t>(ansiLines_[i].size()));
        std::memcpy(buffer, ansiLines_[i].constData(), n);
    }
}

void FakeControl::getSelectedText(void *buffer)
{
    // The whole text with its breaks, then the selected part and a terminator.
    if (unicode_) {
        std::u16string all;
        for (std::size_t i = 0; i < wideLines_.size(); ++i)
            all += wideLines_[i] + (i + 1 < wideLines_.size() ? (rich_ ? u"\r" : u"\r\n") : u"");
        const std::u16string part =
            all.substr(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selEnd - selStart));
        std::memcpy(buffer, part.c_str(), (part.size() + 1) * sizeof(char16_t));
    } else {
        QByteArray all;
        for (std::size_t i = 0; i < ansiLines_.size(); ++i)
            all += ansiLines_[i] + (i + 1 < ansiLines_.size() ? (rich_ ? "\r" : "\r\n") : "");
        const QByteArray part = all.mid(selStart, selEnd - selStart);
        std::memcpy(buffer, part.constData(), static_cast<std::size_t>(part.size()) + 1);
    }
}
