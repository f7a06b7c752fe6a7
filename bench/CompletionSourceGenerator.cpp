#include "CompletionSourceGenerator.h"

#include <QStringList>

#include <random>

QString CompletionSourceGenerator::generate(int lineCount)
{
    const QStringList phrases = {
        QStringLiteral("日本語の組版では"),     QStringLiteral("本稿で提案する手法は"),
        QStringLiteral("図に示すように"),       QStringLiteral("実験の結果、"),
        QStringLiteral("従来の方法と比べて"),   QStringLiteral("文字の幅と行送りを"),
        QStringLiteral("カタカナとひらがなが"), QStringLiteral("処理時間は短くなった。"),
    };
    std::mt19937 random(42);
    const auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };

    QString text = QStringLiteral("\\documentclass{jsarticle}\n\\begin{document}\n");
    int labels = 0;
    for (int line = 2; line < lineCount - 1; ++line) {
        switch (line % 10) {
        case 0:
            text += QStringLiteral("% ") + phrases[pick(phrases.size())]
                    + QStringLiteral("の注記 \\label{old:%1}\n").arg(line);
            break;
        case 5:
            text += QStringLiteral("\\subsection{") + phrases[pick(phrases.size())]
                    + QStringLiteral("}\\label{sec:%1}\n").arg(labels++);
            break;
        default:
            text += phrases[pick(phrases.size())]
                    + QStringLiteral(" $x_{%1}+y^2=\\alpha$ \\ref{sec:%2}。\n")
                          .arg(pick(10))
                          .arg(pick(std::max(labels, 1)));
            break;
        }
    }
    text += QStringLiteral("\\end{document}");
    return text;
}
