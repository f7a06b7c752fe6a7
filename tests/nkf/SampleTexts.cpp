#include "SampleTexts.h"

namespace SampleTexts {

std::string longDocument()
{
    std::string text = "\\documentclass{jarticle}\n\\begin{document}\n";
    for (int section = 1; section <= 40; ++section) {
        text += "\\section{第" + std::to_string(section) + "節　組版の基本}\n";
        text += "本稿では、日本語の文書を組版する方法について述べる。"
                "ひらがな、カタカナ、漢字が混在する文章を扱い、"
                "全角の記号「」（）や句読点も用いる。\n"
                "数式 $x^2 + y^2 = z^2$ を含む段落もあり、\\ref{fig:"
                + std::to_string(section)
                + "} を参照する。\n"
                  "表示する図は次のとおりである。\\label{sec:"
                + std::to_string(section) + "}\n\n";
    }
    text += "\\end{document}\n";
    return text;
}

std::string markupWithFewWords()
{
    return "\\documentclass{jarticle}\n\\begin{document}\n\\section{はじめに}\n"
           "See \\cite{knuth84} and \\ref{eq:1}.\n\\end{document}\n";
}

std::string singleSentence()
{
    return "今日は良い天気ですね。";
}

std::string utf8Of(char32_t character)
{
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (character < 0x80)
        return {byte(character)};
    if (character < 0x800)
        return {byte(0xC0 | (character >> 6)), byte(0x80 | (character & 0x3F))};
    if (character < 0x10000)
        return {byte(0xE0 | (character >> 12)), byte(0x80 | ((character >> 6) & 0x3F)),
                byte(0x80 | (character & 0x3F))};
    return {byte(0xF0 | (character >> 18)), byte(0x80 | ((character >> 12) & 0x3F)),
            byte(0x80 | ((character >> 6) & 0x3F)), byte(0x80 | (character & 0x3F))};
}

} // namespace SampleTexts
