#pragma once
// The names of English voices: "Language-Region: Name (Age Gender)", as in
// "English-American: kal (Adult Male)".

#include <QLocale>
#include <QString>
#include <QVoice>

QString englishVoiceName(const QLocale &locale, const QString &name, QVoice::Age age, QVoice::Gender gender);
// "American" for the United States, "British" for the United Kingdom ...;
// the territory's own name where no adjective is known.
QString regionAdjective(QLocale::Territory territory);
