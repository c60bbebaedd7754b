// SPDX-License-Identifier: GPL-3.0-or-later
// The picture readers on any bytes: they may refuse them with a gt::Error, never crash, never read
// outside the bytes, never take memory out of proportion to the limits. Built once per reader: the
// bytes are given the format's signature, so every input reaches that reader (GT_FUZZ_SIGNATURE),
// and once without, where the content alone chooses (formats added later are reached by their seeds).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/picture_io.h"

namespace {

// Small limits: a header may claim any size, and the fuzzer's memory is bounded.
const gt::PictureLimits kLimits{4096, 4'000'000};

#ifdef GT_FUZZ_SIGNATURE
const std::string kSignature(GT_FUZZ_SIGNATURE, sizeof(GT_FUZZ_SIGNATURE) - 1);
#endif

}  // namespace

// Under the leak checker: on damaged AV1 data libheif's decoder gives dav1d a data block that is
// never handed back (libheif 1.15); the library's leak, not the program's.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libdav1d.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<unsigned char> bytes(data, data + size);
#ifdef GT_FUZZ_SIGNATURE
    if (bytes.size() < kSignature.size()) bytes.resize(kSignature.size());
    std::memcpy(bytes.data(), kSignature.data(), kSignature.size());
#endif
    try {
        const gt::Bitmap picture = gt::decodePicture(bytes.data(), bytes.size(), "fuzz", kLimits);
        // Every row of what came back is there to read.
        volatile unsigned sum = 0;
        for (int y = 0; y < picture.height(); ++y) sum = sum + picture.row(y)[picture.width() * 3 - 1];
    } catch (const gt::Error&) {
    }
    return 0;
}
