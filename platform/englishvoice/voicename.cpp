#include "englishvoice/voicename.h"

QString regionAdjective(QLocale::Territory territory)
{
    switch (territory) {
    case QLocale::UnitedStates: return QStringLiteral("American");
    case QLocale::UnitedKingdom: return QStringLiteral("British");
    case QLocale::Australia: return QStringLiteral("Australian");
    case QLocale::Canada: return QStringLiteral("Canadian");
    case QLocale::Ireland: return QStringLiteral("Irish");
    case QLocale::India: return QStringLiteral("Indian");
    case QLocale::SouthAfrica: return QStringLiteral("South African");
    case QLocale::Jamaica: return QStringLiteral("Jamaican");
    case QLocale::AnyTerritory: return QStringLiteral("General");
    default: return QLocale::territoryToString(territory);
    }
}

QString englishVoiceName(const QLocale &locale, const QString &name, QVoice::Age age, QVoice::Gender gender)
{
    const QString ageText = age == QVoice::Other ? QStringLiteral("Other") : QVoice::ageName(age);
    const QString genderText = gender == QVoice::Unknown ? QStringLiteral("Unknown") : QVoice::genderName(gender);
    return QStringLiteral("%1-%2: %3 (%4 %5)")
        .arg(QLocale::languageToString(locale.language()), regionAdjective(locale.territory()), name.trimmed(), ageText,
             genderText);
}
