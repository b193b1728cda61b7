// A libFuzzer target around the check FUZZ_CHECK of FuzzChecks (set by the
// build). A broken invariant aborts, so that the fuzzer keeps the input.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString wrong = FuzzChecks::FUZZ_CHECK(
        QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!wrong.isEmpty()) {
        std::fprintf(stderr, "broken invariant: %s\n", qPrintable(wrong));
        std::abort();
    }
    return 0;
}
