#pragma once

#include "KanjiCode.h"

#include <optional>
#include <string_view>

enum class LineEnd { Lf, CrLf, Cr };

// What one option string asks of the conversions that follow it.
class ConversionOptions
{
public:
    static ConversionOptions parse(std::string_view text);

    std::optional<KanjiCode> input() const { return m_input; }
    KanjiCode output() const { return m_output; }
    bool writesByteOrderMark() const { return m_byteOrderMark; }
    std::optional<LineEnd> lineEnd() const { return m_lineEnd; }

    bool operator==(const ConversionOptions &) const = default;

private:
    void apply(std::string_view option);
    void setOutput(KanjiCode code, bool byteOrderMark);

    std::optional<KanjiCode> m_input;
    KanjiCode m_output = KanjiCode::Utf8;
    bool m_byteOrderMark = false;
    std::optional<LineEnd> m_lineEnd;
};
