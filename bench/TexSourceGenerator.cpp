#include "TexSourceGenerator.h"

#include <array>
#include <random>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 12> phrases{
    "日本語の組版では",   "本稿で提案する手法は", "図に示すように",       "実験の結果、",
    "従来の方法と比べて", "文字の幅と行送りを",   "カタカナとひらがなが", "表の値は平均である",
    "次の節で述べる",     "ここでは簡単のため",   "処理時間は短くなった", "「和文」と（欧文）の間隔を",
};
constexpr std::array<std::string_view, 6> endings{"。", "、", "ことがわかる。", "とする。", "を考える。", "である。"};
constexpr std::array<std::string_view, 6> markup{
    "\\section{", "\\subsection{", "\\begin{itemize}", "\\item ", "\\end{itemize}", "\\cite{knuth84} ",
};

// Characters of each piece, as Shift_JIS would store them: two bytes for each
// Japanese character (three in UTF-8), one for ASCII.
std::size_t shiftJisSize(std::string_view utf8)
{
    std::size_t size = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            size += 1;
        else if ((byte & 0xC0) != 0x80)
            size += 2;
    }
    return size;
}

} // namespace

std::string TexSourceGenerator::generate(std::size_t shiftJisBytes)
{
    std::mt19937 random(42);
    std::string text = "\\documentclass{jarticle}\r\n\\begin{document}\r\n";
    std::size_t size = text.size();
    std::string line;
    while (size < shiftJisBytes) {
        line.clear();
        const auto pick = [&](std::size_t count) { return static_cast<std::size_t>(random() % count); };
        if (pick(4) == 0) {
            line += markup[pick(markup.size())];
            line += "第" + std::to_string(pick(100)) + "章}";
        } else {
            for (std::size_t sentence = 0; sentence < 3; ++sentence) {
                line += phrases[pick(phrases.size())];
                line += " $x_{" + std::to_string(pick(10)) + "} + y^2 = \\alpha$ \\ref{eq:" + std::to_string(pick(50))
                        + "} ";
                line += phrases[pick(phrases.size())];
                line += endings[pick(endings.size())];
            }
        }
        line += "\r\n";
        size += shiftJisSize(line);
        text += line;
    }
    text += "\\end{document}\r\n";
    return text;
}
