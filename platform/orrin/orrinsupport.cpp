#include "orrin/orrinsupport.h"

#include "codepage/codepage.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

QByteArray cnvDelKakko(QByteArrayView line)
{
    QByteArray out;
    out.reserve(line.size());
    qsizetype i = 0;
    while (i < line.size()) {
        const unsigned char b = static_cast<unsigned char>(line[i]);
        if (codepage::isLeadByte(b) && i + 1 < line.size()) {
            out.append(line.sliced(i, 2));
            i += 2;
            continue;
        }
        if (b == '{' && !out.isEmpty() && out.back() != ' ') {
            // A reading: the group must close on the same line. Skip to the
            // matching '}' (stepping over double-byte characters whole, since
            // a trail byte may equal '}').
            qsizetype j = i + 1;
            while (j < line.size() && line[j] != '}') {
                j += codepage::isLeadByte(static_cast<unsigned char>(line[j])) ? 2 : 1;
            }
            if (j < line.size()) {
                i = j + 1;
                continue;
            }
        }
        out.append(char(b));
        ++i;
    }
    return out;
}

QByteArray cnvStrSafe(QByteArrayView line)
{
    return line.toByteArray();
}

namespace {

struct BrailleTable {
    bool loaded = false;
    QHash<QString, QString> cells; // character -> dot pattern
};

BrailleTable &brailleTable()
{
    static BrailleTable table;
    return table;
}

} // namespace

int BrixSet(const QString &path)
{
    BrixFree();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    // An INI file in UTF-8: a [Braille] section of "character=dots" lines, the
    // dots written as the raised dot numbers 1 to 6 ("あ=1").
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    bool inTable = false;
    QHash<QString, QString> cells;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inTable = line.compare(u"[Braille]", Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inTable)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            return 2;
        const QString dots = line.mid(eq + 1).trimmed();
        for (QChar d : dots)
            if (d < u'1' || d > u'6')
                if (d != u'-' && d != u' ')
                    return 2;
        cells.insert(line.left(eq).trimmed(), dots);
    }
    if (cells.isEmpty())
        return 2;
    BrailleTable &t = brailleTable();
    t.cells = std::move(cells);
    t.loaded = true;
    return 0;
}

void BrixFree()
{
    BrailleTable &t = brailleTable();
    t.cells.clear();
    t.loaded = false;
}

bool BrixLoaded()
{
    return brailleTable().loaded;
}
