#include "CommandLine.h"

#include <QCommandLineParser>

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption lineOption(QStringLiteral("line"), QString(), QStringLiteral("N"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(lineOption);
    parser.addOption(helpOption);
    parser.addPositionalArgument(QStringLiteral("file"), {});

    CommandLine result;
    if (!parser.parse(QStringList{QStringLiteral("quillmere")} + arguments)) {
        result.error = parser.errorText();
        return result;
    }
    result.help = parser.isSet(helpOption);
    const QStringList files = parser.positionalArguments();
    result.file = files.value(0);
    if (parser.isSet(lineOption)) {
        bool isNumber = false;
        result.line = parser.value(lineOption).toInt(&isNumber);
        if (!isNumber || result.line < 1)
            result.error = QStringLiteral("--line には 1 以上の行番号を指定してください: ") + parser.value(lineOption);
        else if (result.file.isEmpty())
            result.error = QStringLiteral("--line には開くファイルを続けてください。");
    }
    return result;
}

QString CommandLine::helpText()
{
    return QStringLiteral("使い方: quillmere [--line N] [ファイル]\n"
                          "\n"
                          "TeX と LaTeX の原稿を編集します。ファイルを指定しなければ新しい文書で始まります。\n"
                          "\n"
                          "  --line N     ファイルを開き、キャレットを N 行目の先頭に置きます。そのファイルを\n"
                          "               開いている Quillmere がすでにあれば、そのウィンドウが前面に出て\n"
                          "               N 行目を示し、新しいウィンドウは開きません。\n"
                          "  -h, --help   この説明を表示します。\n");
}
