#include "NkfRun.h"

#include "nkf32.h"

#include <string>

NkfRun NkfRun::convert(std::string_view options, std::string_view input)
{
    NkfRun run;
    SetNkfOption(std::string(options).c_str());
    run.sized = NkfConvertSafe(nullptr, 0, &run.reportedSize, input.data(), static_cast<std::uint32_t>(input.size()))
                != 0;
    if (!run.sized)
        return run;
    run.output.assign(run.reportedSize, '\0');
    std::uint32_t written = 0;
    run.converted = NkfConvertSafe(run.output.data(), run.reportedSize, &written, input.data(),
                                   static_cast<std::uint32_t>(input.size()))
                    != 0;
    run.output.resize(written);
    run.kanjiCode = NkfGetKanjiCode();
    run.replacedCount = NkfGetReplacedCount();
    return run;
}
