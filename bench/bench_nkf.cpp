// Throughput of the conversion library against glibc's iconv on a generated 25 MB
// Japanese TeX source, and the peak memory of one conversion.
#include "IconvReference.h"
#include "PeakMemory.h"
#include "TexSourceGenerator.h"
#include "ThreadTime.h"

#include "nkf32.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t SourceSize = 25u << 20;
constexpr int Repetitions = 5;

struct Encoding
{
    const char *name;
    const char *iconvName;
    const char *inputOption;
    const char *outputOption;
};

const std::vector<Encoding> encodings{
    {"Shift_JIS", "CP932", "-S", "-s"},
    {"EUC-JP", "EUC-JP-MS", "-E", "-e"},
    {"ISO-2022-JP", "ISO-2022-JP", "-J", "-j"},
    {"UTF-16LE", "UTF-16LE", "-W16L", "-w16L0"},
};

// The whole sequence a caller runs: options, sizing, buffer, conversion, and the
// encoding query.
std::string convertWithLibrary(const std::string &options, const std::string &input)
{
    SetNkfOption(options.c_str());
    std::uint32_t size = 0;
    NkfConvertSafe(nullptr, 0, &size, input.data(), static_cast<std::uint32_t>(input.size()));
    std::string output(size + 1, '\0');
    NkfConvertSafe(output.data(), size + 1, &size, input.data(), static_cast<std::uint32_t>(input.size()));
    NkfGetKanjiCode();
    output.resize(size);
    return output;
}

// Megabytes of input per second of processor time, the best of several runs.
double throughput(std::size_t inputSize, const std::function<void()> &work)
{
    double best = 0;
    for (int run = 0; run < Repetitions; ++run) {
        const double start = ThreadTime::seconds();
        work();
        const double seconds = ThreadTime::seconds() - start;
        best = std::max(best, static_cast<double>(inputSize) / (1024.0 * 1024.0) / seconds);
    }
    return best;
}

void report(const char *direction, const char *name, double library, double iconv)
{
    std::printf("%-8s %-12s library %8.1f MB/s   iconv %8.1f MB/s   ratio %.2f\n", direction, name, library, iconv,
                library / iconv);
}

void reportMemory(const char *direction, const char *name, const std::string &options, const std::string &input)
{
    std::size_t outputSize = 0;
    const std::size_t growth = PeakMemory::growthDuring(
        [&] { outputSize = convertWithLibrary(options, input).size(); });
    const std::size_t expectedOutput = convertWithLibrary(options, input).size();
    std::printf("%-8s %-12s input %6.1f MB  output %6.1f MB  peak above input %6.1f MB (%.2f x output)\n", direction,
                name, input.size() / 1048576.0, expectedOutput / 1048576.0, growth / 1048576.0,
                static_cast<double>(growth) / static_cast<double>(expectedOutput));
}

} // namespace

int main()
{
    const std::string source = TexSourceGenerator::generate(SourceSize);
    const std::string pivot = IconvReference("UTF-8", "UTF-8").convert(source);
    std::string pivotLf;
    std::remove_copy(pivot.begin(), pivot.end(), std::back_inserter(pivotLf), '\r');
    std::printf("Generated TeX source: %.1f MB in Shift_JIS with CR+LF (MB/s of processor time)\n\n",
                IconvReference("CP932", "UTF-8").convert(source).size() / 1048576.0);

    std::puts("Reading (detection + conversion to UTF-8 with LF; iconv is given the encoding):");
    for (const Encoding &encoding : encodings) {
        const std::string input = IconvReference(encoding.iconvName, "UTF-8").convert(source);
        const IconvReference reference("UTF-8", encoding.iconvName);
        const std::size_t outputSize = reference.convert(input).size() + 1;
        const double library = throughput(input.size(), [&] { convertWithLibrary("-w -Lu", input); });
        const double iconv = throughput(input.size(), [&] { reference.convert(input, outputSize); });
        report("read", encoding.name, library, iconv);
    }

    std::puts("\nWriting (UTF-8 with LF to each encoding with CR+LF; iconv without newline change):");
    for (const Encoding &encoding : encodings) {
        const std::string options = std::string("-W8 ") + encoding.outputOption + " -Lw";
        const IconvReference reference(encoding.iconvName, "UTF-8");
        const std::size_t outputSize = reference.convert(pivotLf).size() + 1;
        const double library = throughput(pivotLf.size(), [&] { convertWithLibrary(options, pivotLf); });
        const double iconv = throughput(pivotLf.size(), [&] { reference.convert(pivotLf, outputSize); });
        report("write", encoding.name, library, iconv);
    }

    std::puts("\nPeak memory of one conversion (budget: twice the output above the input):");
    const std::string shiftJis = IconvReference("CP932", "UTF-8").convert(source);
    reportMemory("read", "Shift_JIS", "-w -Lu", shiftJis);
    reportMemory("write", "Shift_JIS", "-W8 -s -Lw", pivotLf);
    reportMemory("write", "UTF-16LE", "-W8 -w16L0 -Lw", pivotLf);
    return 0;
}
