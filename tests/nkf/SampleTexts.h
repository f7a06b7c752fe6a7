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

// One character, given by its code point, in UTF-8: for texts that walk the code
// space without trusting the converter to make them.
std::string utf8Of(char32_t character);

} // namespace SampleTexts
