#pragma once
// The search history as a list of words with a current position: the store
// (oldest first), the 1-based position of the current entry (0: empty) and
// the number of valid entries. Entries past that number are stale and get
// overwritten. The entry "-" stands for "no word": after loading a saved
// history it is the current entry, so that stepping back leads to the last
// word of the previous run. No widgets here; the window's side is History.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <optional>

class HistoryModel {
public:
    static constexpr int SavedWords = 10; // keys "Word1" (oldest) to "Word10" (newest)
    static constexpr int MenuWords = 10;  // words offered by a drop-down menu or the pop-up list
    static inline const QString EmptySlot = QStringLiteral("-");

    // Works on the caller's store and counters (MainForm's RirekiList,
    // RirekiIndex and RirekiMax).
    HistoryModel(QStringList &store, qint32 &index, qint32 &max);

    // Records a looked-up word: after the last entry when the current entry
    // is the last one, else in place of the current entry, dropping the
    // later ones.
    void RirekiKosin(const QString &word);
    // One step back or forward: the word to look up, or nothing when there
    // is no entry in that direction.
    std::optional<QString> back();
    std::optional<QString> next();
    // A word chosen from the pop-up list of earlier words (0 = the newest),
    // stepping back like back().
    std::optional<QString> backBy(int distance);
    // A drop-down menu item: key "@b" or "@n" followed by the distance.
    std::optional<QString> jump(const QString &key);

    bool canGoBack() const { return index_ >= 2; }
    bool canGoForward() const { return index_ < max_; }
    // The words before the current entry (newest first) and after it, at
    // most MenuWords each.
    QStringList earlierWords() const;
    QStringList laterWords() const;

    // Loading and saving through the store's get and save of section
    // "History" (keys "Word1" ... "Word10").
    void load(const std::function<QString(const QString &key)> &read);
    void save(const std::function<void(const QString &key, const QString &value)> &write) const;

    QString at(qint32 position) const; // 1-based; empty outside the store

private:
    QStringList &store_;
    qint32 &index_;
    qint32 &max_;
};
