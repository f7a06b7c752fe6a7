#include "Utf8Encoder.h"

void Utf8Encoder::encode(std::string_view utf8, std::string &out)
{
    out.append(utf8);
}

void Utf8Encoder::finish(std::string &)
{
}
