#include "mainwindow/historymodel.h"

HistoryModel::HistoryModel(QStringList &store, qint32 &index, qint32 &max) : store_(store), index_(index), max_(max)
{
}

QString HistoryModel::at(qint32 position) const
{
    if (position < 1 || position > store_.size())
        return {};
    return store_.at(position - 1);
}

void HistoryModel::RirekiKosin(const QString &word)
{
    // The empty-slot marker after a loaded history is overwritten.
    if (index_ > 0 && store_.size() >= index_ && at(index_) == EmptySlot) {
        --index_;
        --max_;
    }
    if (index_ == max_)
        ++index_;
    if (store_.size() < index_)
        store_.append(word);
    else
        store_[index_ - 1] = word;
    max_ = index_;
}

std::optional<QString> HistoryModel::back()
{
    return backBy(0);
}

std::optional<QString> HistoryModel::backBy(int distance)
{
    const int steps = distance + 1;
    if (index_ < 2 || steps < 1 || index_ - steps < 1)
        return std::nullopt;
    index_ -= steps;
    if (at(index_ + 1) == EmptySlot)
        --max_;
    return at(index_);
}

std::optional<QString> HistoryModel::next()
{
    if (index_ >= max_)
        return std::nullopt;
    ++index_;
    return at(index_);
}

std::optional<QString> HistoryModel::jump(const QString &key)
{
    bool ok = false;
    const int c = key.mid(2).toInt(&ok);
    if (!ok || c < 1)
        return std::nullopt;
    // Unlike a single step back, a jump keeps counting a marker after it.
    if (key.startsWith(u"@b")) {
        if (index_ <= 1 || index_ - c < 1)
            return std::nullopt;
        index_ -= c;
    } else if (key.startsWith(u"@n")) {
        if (index_ >= max_ || index_ + c > max_)
            return std::nullopt;
        index_ += c;
    } else {
        return std::nullopt;
    }
    return at(index_);
}

QStringList HistoryModel::earlierWords() const
{
    QStringList words;
    for (qint32 p = index_; p >= 2 && words.size() < MenuWords; --p)
        words.append(at(p - 1));
    return words;
}

QStringList HistoryModel::laterWords() const
{
    QStringList words;
    for (qint32 p = index_; p < max_ && words.size() < MenuWords; ++p)
        words.append(at(p + 1));
    return words;
}

void HistoryModel::load(const std::function<QString(const QString &key)> &read)
{
    store_.clear();
    index_ = max_ = 0;
    for (int n = 1; n <= SavedWords; ++n) {
        const QString word = read(QStringLiteral("Word%1").arg(n));
        if (!word.isEmpty() && word != EmptySlot) {
            store_.append(word);
            ++index_;
            ++max_;
        }
    }
    if (index_ > 0) {
        store_.append(EmptySlot);
        ++index_;
        ++max_;
    }
}

void HistoryModel::save(const std::function<void(const QString &key, const QString &value)> &write) const
{
    qint32 p = index_;
    for (int n = SavedWords; n >= 1; --n) {
        QString value = EmptySlot;
        if (p >= 1) {
            value = at(p);
            --p;
        }
        write(QStringLiteral("Word%1").arg(n), value.isEmpty() ? EmptySlot : value);
    }
}
