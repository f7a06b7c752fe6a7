#pragma once

#include "Encoder.h"

// The text is UTF-8 already: it is copied as it is.
class Utf8Encoder : public Encoder
{
public:
    void encode(std::string_view utf8, std::string &out) override;
    void finish(std::string &out) override;
    std::size_t replacements() const override { return 0; }
};
