#include "tagnames.h"

#include "edict.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace dictbuild {
namespace {

const QHash<QString, QString> &names()
{
    static const QHash<QString, QString> table{
        // Parts of speech (the commonest; verb classes are handled below).
        {QStringLiteral("n"), QStringLiteral("名")},
        {QStringLiteral("pn"), QStringLiteral("代")},
        {QStringLiteral("vs"), QStringLiteral("スル")},
        {QStringLiteral("vi"), QStringLiteral("自")},
        {QStringLiteral("vt"), QStringLiteral("他")},
        {QStringLiteral("int"), QStringLiteral("感")},
        {QStringLiteral("conj"), QStringLiteral("接")},
        {QStringLiteral("prt"), QStringLiteral("助")},
        {QStringLiteral("ctr"), QStringLiteral("助数")},
        {QStringLiteral("pref"), QStringLiteral("接頭")},
        {QStringLiteral("suf"), QStringLiteral("接尾")},
        {QStringLiteral("num"), QStringLiteral("数")},
        {QStringLiteral("exp"), QStringLiteral("句")},
        {QStringLiteral("unc"), QString()},
        // Notes on the word and its use.
        {QStringLiteral("uk"), QStringLiteral("かな書き")},
        {QStringLiteral("uK"), QStringLiteral("漢字書き")},
        {QStringLiteral("ok"), QStringLiteral("古い読み")},
        {QStringLiteral("oK"), QStringLiteral("古い表記")},
        {QStringLiteral("ik"), QStringLiteral("不規則な読み")},
        {QStringLiteral("iK"), QStringLiteral("不規則な表記")},
        {QStringLiteral("io"), QStringLiteral("不規則な送りがな")},
        {QStringLiteral("ateji"), QStringLiteral("当て字")},
        {QStringLiteral("gikun"), QStringLiteral("義訓")},
        {QStringLiteral("abbr"), QStringLiteral("略")},
        {QStringLiteral("arch"), QStringLiteral("古語")},
        {QStringLiteral("obs"), QStringLiteral("廃語")},
        {QStringLiteral("obsc"), QStringLiteral("まれ")},
        {QStringLiteral("rare"), QStringLiteral("まれ")},
        {QStringLiteral("dated"), QStringLiteral("古風")},
        {QStringLiteral("col"), QStringLiteral("口語")},
        {QStringLiteral("sl"), QStringLiteral("俗語")},
        {QStringLiteral("vulg"), QStringLiteral("卑語")},
        {QStringLiteral("derog"), QStringLiteral("軽蔑")},
        {QStringLiteral("sens"), QStringLiteral("婉曲")},
        {QStringLiteral("hon"), QStringLiteral("尊敬")},
        {QStringLiteral("hum"), QStringLiteral("謙譲")},
        {QStringLiteral("pol"), QStringLiteral("丁寧")},
        {QStringLiteral("fam"), QStringLiteral("くだけて")},
        {QStringLiteral("joc"), QStringLiteral("おどけて")},
        {QStringLiteral("poet"), QStringLiteral("詩語")},
        {QStringLiteral("fem"), QStringLiteral("女性語")},
        {QStringLiteral("male"), QStringLiteral("男性語")},
        {QStringLiteral("chn"), QStringLiteral("幼児語")},
        {QStringLiteral("id"), QStringLiteral("慣用句")},
        {QStringLiteral("proverb"), QStringLiteral("ことわざ")},
        {QStringLiteral("yoji"), QStringLiteral("四字熟語")},
        {QStringLiteral("on-mim"), QStringLiteral("擬音語")},
        {QStringLiteral("wasei"), QStringLiteral("和製英語")},
        // Fields.
        {QStringLiteral("comp"), QStringLiteral("コンピュータ")},
        {QStringLiteral("math"), QStringLiteral("数学")},
        {QStringLiteral("med"), QStringLiteral("医学")},
        {QStringLiteral("ling"), QStringLiteral("言語学")},
        {QStringLiteral("food"), QStringLiteral("料理")},
        {QStringLiteral("Buddh"), QStringLiteral("仏教")},
        {QStringLiteral("Shinto"), QStringLiteral("神道")},
        {QStringLiteral("sports"), QStringLiteral("スポーツ")},
        {QStringLiteral("music"), QStringLiteral("音楽")},
        {QStringLiteral("sumo"), QStringLiteral("相撲")},
        {QStringLiteral("baseb"), QStringLiteral("野球")},
        {QStringLiteral("astron"), QStringLiteral("天文")},
        {QStringLiteral("physics"), QStringLiteral("物理")},
        {QStringLiteral("chem"), QStringLiteral("化学")},
        {QStringLiteral("biol"), QStringLiteral("生物")},
        {QStringLiteral("law"), QStringLiteral("法律")},
        {QStringLiteral("mahj"), QStringLiteral("麻雀")},
        {QStringLiteral("shogi"), QStringLiteral("将棋")},
        {QStringLiteral("go"), QStringLiteral("囲碁")},
        {QStringLiteral("MA"), QStringLiteral("武道")},
        // Dialects.
        {QStringLiteral("ksb"), QStringLiteral("関西弁")},
        {QStringLiteral("kyb"), QStringLiteral("京都弁")},
        {QStringLiteral("osb"), QStringLiteral("大阪弁")},
        {QStringLiteral("ktb"), QStringLiteral("関東弁")},
        {QStringLiteral("thb"), QStringLiteral("東北弁")},
        {QStringLiteral("kyu"), QStringLiteral("九州弁")},
        {QStringLiteral("hob"), QStringLiteral("北海道弁")},
        {QStringLiteral("tsb"), QStringLiteral("土佐弁")},
        {QStringLiteral("nab"), QStringLiteral("名古屋弁")},
        {QStringLiteral("tsug"), QStringLiteral("津軽弁")},
        {QStringLiteral("rkb"), QStringLiteral("琉球語")},
    };
    return table;
}

bool isVerbClass(const QString &tag)
{
    // v1, v5r, vs-s, vk, vz ... (vs alone, vi and vt have names of their own)
    return tag.size() > 1 && tag.startsWith(u'v') && tag != u"vi" && tag != u"vt" && tag != u"vs";
}

} // namespace

QString tagName(const QString &tag)
{
    const auto it = names().constFind(tag);
    if (it != names().cend())
        return *it;
    if (isVerbClass(tag) || tag == u"iv")
        return QStringLiteral("動");
    if (tag.startsWith(u"n-"))
        return QStringLiteral("名");
    if (tag.startsWith(u"adj"))
        return QStringLiteral("形");
    if (tag.startsWith(u"adv"))
        return QStringLiteral("副");
    if (tag.startsWith(u"aux") || tag.startsWith(u"cop"))
        return QStringLiteral("助動");
    return tag;
}

bool isDialectTag(const QString &tag)
{
    static const QSet<QString> dialects{QStringLiteral("ksb"),  QStringLiteral("kyb"), QStringLiteral("osb"),
                                        QStringLiteral("ktb"),  QStringLiteral("thb"), QStringLiteral("kyu"),
                                        QStringLiteral("hob"),  QStringLiteral("tsb"), QStringLiteral("nab"),
                                        QStringLiteral("tsug"), QStringLiteral("rkb")};
    return dialects.contains(tag);
}

bool isMarkedRegister(const QString &tag)
{
    static const QSet<QString> marked{
        QStringLiteral("hon"),   QStringLiteral("hum"),  QStringLiteral("arch"),   QStringLiteral("obs"),
        QStringLiteral("obsc"),  QStringLiteral("rare"), QStringLiteral("dated"),  QStringLiteral("col"),
        QStringLiteral("sl"),    QStringLiteral("m-sl"), QStringLiteral("net-sl"), QStringLiteral("vulg"),
        QStringLiteral("derog"), QStringLiteral("sens"), QStringLiteral("X"),      QStringLiteral("male"),
        QStringLiteral("fem"),   QStringLiteral("chn"),  QStringLiteral("joc"),    QStringLiteral("poet")};
    return marked.contains(tag) || isDialectTag(tag);
}

QString withLanguageNames(const QString &text)
{
    static const QHash<QString, QString> languages{
        {QStringLiteral("eng"), QStringLiteral("英語")},
        {QStringLiteral("fre"), QStringLiteral("フランス語")},
        {QStringLiteral("ger"), QStringLiteral("ドイツ語")},
        {QStringLiteral("dut"), QStringLiteral("オランダ語")},
        {QStringLiteral("ita"), QStringLiteral("イタリア語")},
        {QStringLiteral("spa"), QStringLiteral("スペイン語")},
        {QStringLiteral("por"), QStringLiteral("ポルトガル語")},
        {QStringLiteral("rus"), QStringLiteral("ロシア語")},
        {QStringLiteral("lat"), QStringLiteral("ラテン語")},
        {QStringLiteral("grc"), QStringLiteral("古代ギリシャ語")},
        {QStringLiteral("gre"), QStringLiteral("ギリシャ語")},
        {QStringLiteral("chi"), QStringLiteral("中国語")},
        {QStringLiteral("kor"), QStringLiteral("朝鮮語")},
        {QStringLiteral("ara"), QStringLiteral("アラビア語")},
        {QStringLiteral("heb"), QStringLiteral("ヘブライ語")},
        {QStringLiteral("san"), QStringLiteral("サンスクリット語")},
        {QStringLiteral("hin"), QStringLiteral("ヒンディー語")},
        {QStringLiteral("ain"), QStringLiteral("アイヌ語")},
        {QStringLiteral("may"), QStringLiteral("マレー語")},
        {QStringLiteral("tha"), QStringLiteral("タイ語")},
        {QStringLiteral("vie"), QStringLiteral("ベトナム語")},
        {QStringLiteral("swe"), QStringLiteral("スウェーデン語")},
        {QStringLiteral("nor"), QStringLiteral("ノルウェー語")},
        {QStringLiteral("dan"), QStringLiteral("デンマーク語")},
        {QStringLiteral("fin"), QStringLiteral("フィンランド語")},
        {QStringLiteral("pol"), QStringLiteral("ポーランド語")},
        {QStringLiteral("tur"), QStringLiteral("トルコ語")},
        {QStringLiteral("per"), QStringLiteral("ペルシャ語")},
        {QStringLiteral("mon"), QStringLiteral("モンゴル語")},
        {QStringLiteral("tib"), QStringLiteral("チベット語")},
        {QStringLiteral("haw"), QStringLiteral("ハワイ語")},
        {QStringLiteral("tgl"), QStringLiteral("タガログ語")},
        {QStringLiteral("ind"), QStringLiteral("インドネシア語")},
        {QStringLiteral("hun"), QStringLiteral("ハンガリー語")},
        {QStringLiteral("cze"), QStringLiteral("チェコ語")},
        {QStringLiteral("ice"), QStringLiteral("アイスランド語")},
    };
    if (!text.contains(u':') && !text.contains(u'：'))
        return text;
    static const QRegularExpression note(QStringLiteral("\\(([a-z]{3})[:：]\\s*([^()]*?)\\s*\\)"));
    QString out;
    qsizetype from = 0;
    for (auto it = note.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto name = languages.constFind(m.captured(1));
        if (name == languages.cend())
            continue;
        out += QStringView(text).sliced(from, m.capturedStart() - from);
        out +=
            m.captured(2).isEmpty() ? u'(' + *name + u')' : u'(' + *name + QStringLiteral("： ") + m.captured(2) + u')';
        from = m.capturedEnd();
    }
    if (from == 0)
        return text;
    return out + text.mid(from);
}

QString withJapaneseTags(const QString &gloss)
{
    // The tags are taken group by group, as splitTags takes them.
    QStringList groups;
    QStringView rest(gloss);
    for (;;) {
        const QStringView trimmed = rest.trimmed();
        if (!trimmed.startsWith(u'('))
            break;
        const qsizetype close = trimmed.indexOf(u')');
        if (close < 0)
            break;
        const QString group = trimmed.first(close + 1).toString();
        if (!edict::splitTags(group).text.isEmpty())
            break; // no tags: words in parentheses
        QStringList renamed;
        for (const QString &tag : group.mid(1, group.size() - 2).split(u',')) {
            const QString name = tagName(tag.endsWith(u':') ? tag.chopped(1) : tag);
            if (!name.isEmpty() && !renamed.contains(name))
                renamed.append(name);
        }
        if (!renamed.isEmpty())
            groups.append(u'(' + renamed.join(u'・') + u')');
        rest = trimmed.sliced(close + 1);
    }
    const QString text = rest.trimmed().toString();
    if (groups.isEmpty())
        return text.isEmpty() ? gloss : text;
    return text.isEmpty() ? groups.join(u' ') : groups.join(u' ') + u' ' + text;
}

} // namespace dictbuild
