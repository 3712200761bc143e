#include "commandline.h"

#include <clocale>
#include <cstdio>
#include <cstring>

#include <langinfo.h>

namespace {

const char *const EnglishHelp = "Usage: Wordlamp [/tsr] [--help] [--version]\n"
                                "\n"
                                "A talking English-Japanese dictionary: type a word and its entries are\n"
                                "shown and read aloud. F1 in the window explains the keys.\n"
                                "\n"
                                "  /tsr, /TSR   start in the notification area\n"
                                "  --help       show this help and exit\n"
                                "  --version    show the version and exit\n"
                                "\n"
                                "Environment: WORDLAMP_SPEECH chooses the speech back end (speechd, or\n"
                                "transcript:FILE for a written record). See wordlamp(1).\n";

const char *const JapaneseHelp = "使い方: Wordlamp [/tsr] [--help] [--version]\n"
                                 "\n"
                                 "しゃべる英和・和英辞書です。単語を入力すると、その項目を表示して読み上げます。\n"
                                 "\n"
                                 "  /tsr, /TSR   通知領域に常駐して起動します\n"
                                 "  --help       この説明を表示して終了します\n"
                                 "  --version    バージョンを表示して終了します\n"
                                 "\n";

void print(const char *text)
{
    std::fputs(text, stdout);
}

// Japanese only where the terminal's character set can show it.
bool utf8Locale()
{
    std::setlocale(LC_CTYPE, "");
    const char *codeset = nl_langinfo(CODESET);
    const bool utf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    std::setlocale(LC_CTYPE, "C");
    return utf8;
}

} // namespace

bool commandline::answered(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            print("Wordlamp " WORDLAMP_VERSION "\n");
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            if (utf8Locale())
                print(JapaneseHelp);
            print(EnglishHelp);
            return true;
        }
    }
    return false;
}
