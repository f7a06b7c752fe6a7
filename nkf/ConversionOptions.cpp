#include "ConversionOptions.h"

ConversionOptions ConversionOptions::parse(std::string_view text)
{
    ConversionOptions options;
    while (!text.empty()) {
        const auto start = text.find_first_not_of(" \t");
        if (start == std::string_view::npos)
            break;
        text.remove_prefix(start);
        const auto end = text.find_first_of(" \t");
        options.apply(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    }
    return options;
}

void ConversionOptions::apply(std::string_view option)
{
    if (option == "-S")
        m_input = KanjiCode::ShiftJis;
    else if (option == "-E")
        m_input = KanjiCode::EucJp;
    else if (option == "-J")
        m_input = KanjiCode::Iso2022Jp;
    else if (option == "-W8")
        m_input = KanjiCode::Utf8;
    else if (option == "-W16L")
        m_input = KanjiCode::Utf16LittleEndian;
    else if (option == "-W16B")
        m_input = KanjiCode::Utf16BigEndian;
    else if (option == "-s")
        setOutput(KanjiCode::ShiftJis, false);
    else if (option == "-e")
        setOutput(KanjiCode::EucJp, false);
    else if (option == "-j")
        setOutput(KanjiCode::Iso2022Jp, false);
    else if (option == "-w")
        setOutput(KanjiCode::Utf8, false);
    else if (option == "-w8")
        setOutput(KanjiCode::Utf8, true);
    else if (option == "-w16L0")
        setOutput(KanjiCode::Utf16LittleEndian, false);
    else if (option == "-w16L")
        setOutput(KanjiCode::Utf16LittleEndian, true);
    else if (option == "-w16B0")
        setOutput(KanjiCode::Utf16BigEndian, false);
    else if (option == "-w16B")
        setOutput(KanjiCode::Utf16BigEndian, true);
    else if (option == "-Lu")
        m_lineEnd = LineEnd::Lf;
    else if (option == "-Lw")
        m_lineEnd = LineEnd::CrLf;
    else if (option == "-Lm")
        m_lineEnd = LineEnd::Cr;
}

void ConversionOptions::setOutput(KanjiCode code, bool byteOrderMark)
{
    m_output = code;
    m_byteOrderMark = byteOrderMark;
}
