#include "orrin/kanjireader.h"

#include "orrin/speechtext.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <mecab.h>

struct KanjiReader::Api {
    QLibrary library;
    decltype(&mecab_new) create = nullptr;
    decltype(&mecab_destroy) destroy = nullptr;
    decltype(&mecab_strerror) strerror = nullptr;
    decltype(&mecab_sparse_tonode2) parse = nullptr;
};

namespace {

QStringList dictionaryCandidates()
{
    QStringList dirs = {
        QStringLiteral("/var/lib/mecab/dic/ipadic-utf8"),
        QStringLiteral("/usr/lib/x86_64-linux-gnu/mecab/dic/ipadic-utf8"),
        QStringLiteral("/usr/lib/aarch64-linux-gnu/mecab/dic/ipadic-utf8"),
        QStringLiteral("/usr/lib/mecab/dic/ipadic-utf8"),
        QStringLiteral("/usr/local/lib/mecab/dic/ipadic-utf8"),
        QStringLiteral("/usr/lib64/mecab/dic/ipadic-utf8"),
    };
    if (QCoreApplication::instance())
        dirs.prepend(QCoreApplication::applicationDirPath() + QStringLiteral("/mecab/dic/ipadic-utf8"));
    return dirs;
}

bool hasDictionary(const QString &dir)
{
    return QFileInfo::exists(dir + QStringLiteral("/sys.dic")) && QFileInfo::exists(dir + QStringLiteral("/dicrc"));
}

bool isReading(const QString &reading)
{
    bool kana = !reading.isEmpty();
    speechtext::forEachCharacter(reading, [&kana](char32_t ch) { kana = kana && speechtext::isKana(ch); });
    return kana;
}

// The reading in an IPA dictionary feature string: the eighth field of
// "品詞,細分類1,細分類2,細分類3,活用型,活用形,原形,読み,発音".
QString readingOf(const char *feature)
{
    if (!feature)
        return {};
    const QList<QByteArray> fields = QByteArray(feature).split(',');
    if (fields.size() < 8)
        return {};
    return QString::fromUtf8(fields[7]);
}

} // namespace

std::unique_ptr<KanjiReader> KanjiReader::load(const QString &dictionaryDir, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return std::unique_ptr<KanjiReader>();
    };

    auto api = std::make_unique<Api>();
    api->library.setFileNameAndVersion(QStringLiteral("mecab"), 2);
    if (!api->library.load()) {
        api->library.setFileName(QStringLiteral("libmecab"));
        if (!api->library.load())
            return fail(QStringLiteral("MeCab is not installed: %1").arg(api->library.errorString()));
    }
    api->create = reinterpret_cast<decltype(api->create)>(api->library.resolve("mecab_new"));
    api->destroy = reinterpret_cast<decltype(api->destroy)>(api->library.resolve("mecab_destroy"));
    api->strerror = reinterpret_cast<decltype(api->strerror)>(api->library.resolve("mecab_strerror"));
    api->parse = reinterpret_cast<decltype(api->parse)>(api->library.resolve("mecab_sparse_tonode2"));
    if (!api->create || !api->destroy || !api->strerror || !api->parse)
        return fail(QStringLiteral("the MeCab library lacks its C interface"));

    QString dir = dictionaryDir;
    if (dir.isEmpty()) {
        for (const QString &candidate : dictionaryCandidates()) {
            if (hasDictionary(candidate)) {
                dir = candidate;
                break;
            }
        }
        if (dir.isEmpty())
            return fail(QStringLiteral("no MeCab IPA dictionary in UTF-8 (mecab-ipadic-utf8) was found"));
    } else if (!hasDictionary(dir)) {
        return fail(QStringLiteral("%1 holds no MeCab dictionary").arg(dir));
    }

    // The dictionary is named directly and no resource file is read, so the
    // machine's MeCab settings cannot choose another dictionary.
    QByteArray argv0("mecab"), rcOption("-r"), rcFile("/dev/null"), dicOption("-d");
    QByteArray dicDir = QFile::encodeName(dir);
    char *argv[] = {argv0.data(), rcOption.data(), rcFile.data(), dicOption.data(), dicDir.data(), nullptr};
    void *tagger = api->create(5, argv);
    if (!tagger)
        return fail(
            QStringLiteral("MeCab cannot load %1: %2").arg(dir, QString::fromLocal8Bit(api->strerror(nullptr))));

    std::unique_ptr<KanjiReader> reader(new KanjiReader(std::move(api), tagger));
    if (reader->toReadings(QStringLiteral("漢字")) != u"カンジ")
        return fail(QStringLiteral("the MeCab dictionary in %1 gives no readings in katakana").arg(dir));
    return reader;
}

KanjiReader::KanjiReader(std::unique_ptr<Api> api, void *tagger) : api_(std::move(api)), tagger_(tagger)
{
}

KanjiReader::~KanjiReader()
{
    api_->destroy(static_cast<mecab_t *>(tagger_));
}

QString KanjiReader::toReadings(const QString &text) const
{
    if (!speechtext::containsKanji(text))
        return text;
    // MeCab reads one sentence at a time; give it one line at a time.
    const QStringList lines = text.split(u'\n');
    QStringList out;
    out.reserve(lines.size());
    for (const QString &line : lines)
        out << (speechtext::containsKanji(line) ? convertLine(line) : line);
    return out.join(u'\n');
}

QString KanjiReader::convertLine(const QString &line) const
{
    const QByteArray utf8 = line.toUtf8();
    const mecab_node_t *node = api_->parse(static_cast<mecab_t *>(tagger_), utf8.constData(), size_t(utf8.size()));
    if (!node)
        return line;
    QString out;
    out.reserve(line.size() * 2);
    qsizetype pos = 0; // bytes of `utf8` already written to `out`
    for (; node; node = node->next) {
        if (node->stat != MECAB_NOR_NODE && node->stat != MECAB_UNK_NODE)
            continue;
        // rlength counts the white space MeCab skipped before the word.
        const qsizetype start = pos + (qsizetype(node->rlength) - qsizetype(node->length));
        const qsizetype end = start + node->length;
        if (start < pos || end > utf8.size())
            return line; // not the text we gave it; speak it unconverted
        out += QString::fromUtf8(utf8.constData() + pos, start - pos);
        const QString word = QString::fromUtf8(utf8.constData() + start, end - start);
        if (!speechtext::containsKanji(word)) {
            out += word;
        } else {
            const QString reading = readingOf(node->feature);
            out += isReading(reading) ? reading : characterReadings(word);
        }
        pos = end;
    }
    out += QString::fromUtf8(utf8.constData() + pos, utf8.size() - pos);
    return out;
}

// A word MeCab does not know (a rare kanji, a name): each kanji read as a
// word of its own. The voice cannot read a kanji (it says "Chinese letter"),
// so one that has no reading at all is left out.
QString KanjiReader::characterReadings(const QString &word) const
{
    QString out;
    speechtext::forEachCharacter(word, [&](char32_t ch) {
        const QString c = QString::fromUcs4(&ch, 1);
        if (!speechtext::isKanji(ch)) {
            out += c;
            return;
        }
        const QByteArray utf8 = c.toUtf8();
        const mecab_node_t *node = api_->parse(static_cast<mecab_t *>(tagger_), utf8.constData(), size_t(utf8.size()));
        for (; node; node = node->next) {
            if (node->stat != MECAB_NOR_NODE)
                continue;
            const QString reading = readingOf(node->feature);
            if (node->length == size_t(utf8.size()) && isReading(reading))
                out += reading;
            break;
        }
    });
    return out;
}

bool KanjiReader::wanted(const QString &setting, const QString &outputModule)
{
    const QString s = setting.trimmed().toLower();
    if (s == u"0" || s == u"off" || s == u"false" || s == u"no")
        return false;
    if (s == u"1" || s == u"on" || s == u"true" || s == u"yes")
        return true;
    return !outputModule.contains(QStringLiteral("jtalk"), Qt::CaseInsensitive);
}
