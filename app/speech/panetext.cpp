#include "speech/panetext.h"

#include <algorithm>

PaneText::PaneText(const QString &plain)
{
    text_.reserve(plain.size() + plain.count(u'\n'));
    for (int i = 0; i < plain.size(); ++i) {
        const QChar ch = plain.at(i);
        if (ch == u'\n' || ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator) {
            breaks_.append(i);
            text_ += u"\r\n";
        } else {
            text_ += ch;
        }
    }
}

int PaneText::toReading(int panePosition) const
{
    const auto before = std::lower_bound(breaks_.begin(), breaks_.end(), panePosition) - breaks_.begin();
    return panePosition + int(before);
}

int PaneText::toPane(int readingPosition) const
{
    // Break k sits at reading position breaks_[k] + k (its carriage return);
    // count the breaks whose line feed lies before the position.
    int lo = 0, hi = int(breaks_.size());
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (breaks_[mid] + mid + 1 < readingPosition)
            lo = mid + 1;
        else
            hi = mid;
    }
    return readingPosition - lo;
}
