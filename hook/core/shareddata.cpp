#include "core/shareddata.h"

#include <cstring>

namespace wlhook {

void beginHook(SharedData &data, std::uintptr_t window, std::uint32_t message, std::int32_t hotKey,
               std::uint32_t ownerPid)
{
    data.CaptureResult = CaptureNone;
    clearCapture(data);
    data.TargetWindow = window;
    data.NotifyMessage = message;
    data.HotKey = hotKey;
    data.HookOwnerPid = ownerPid;
}

void clearCapture(SharedData &data)
{
    std::memset(data.CaptureBuffer, 0, sizeof data.CaptureBuffer);
}

void storeText(SharedData &data, const char *text, std::size_t length)
{
    clearCapture(data);
    if (!text)
        return;
    std::size_t n = 0;
    while (n < length && n < sizeof data.CaptureBuffer - 1 && text[n] != '\0')
        ++n;
    std::memcpy(data.CaptureBuffer, text, n);
}

void keepFromOffset(SharedData &data, std::intptr_t offset)
{
    char kept[CaptureBufferSize] = {};
    if (offset >= 0 && offset < CaptureBufferSize) {
        const std::size_t from = static_cast<std::size_t>(offset);
        std::memcpy(kept, data.CaptureBuffer + from, sizeof data.CaptureBuffer - from);
    }
    kept[CaptureBufferSize - 1] = '\0';
    clearCapture(data);
    storeText(data, kept, sizeof kept);
}

std::int32_t copyCaptureTo(const SharedData &data, char *buffer, std::int32_t length)
{
    if (buffer && length > 0) {
        const std::size_t room = static_cast<std::size_t>(length);
        const std::size_t text = static_cast<std::size_t>(capturedLength(data));
        const std::size_t copied = text < room ? text : room;
        std::memcpy(buffer, data.CaptureBuffer, copied);
        std::memset(buffer + copied, 0, room - copied);
    }
    return data.CaptureResult;
}

std::int32_t capturedLength(const SharedData &data)
{
    std::int32_t n = 0;
    while (n < CaptureBufferSize && data.CaptureBuffer[n] != '\0')
        ++n;
    return n;
}

void copyCaretTo(const SharedData &data, WlhookPoint *point)
{
    if (point)
        *point = data.CaretPoint;
}

bool isCaptureKey(const SharedData &data, bool released, std::uint32_t processId, bool ctrlDown, bool shiftDown,
                  std::int32_t virtualKey)
{
    return released && processId != data.HookOwnerPid && ctrlDown && shiftDown && virtualKey == data.HotKey;
}

} // namespace wlhook
