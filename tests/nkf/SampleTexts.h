#pragma once

#include <string>

// Japanese TeX sources in UTF-8 with LF line ends.
namespace SampleTexts {

// A document of some kilobytes: markup, sentences with kana, kanji and symbols.
std::string longDocument();
// A few Japanese words among ASCII TeX markup.
std::string markupWithFewWords();
// One Japanese sentence, no ASCII at all.
std::string singleSentence();

} // namespace SampleTexts
