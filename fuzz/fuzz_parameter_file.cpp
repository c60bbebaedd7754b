// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter-file reader on any bytes: a gt::Error or a table, and a short message.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "imaging/error.h"
#include "pipeline/parameter_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    gt::ParameterTable table = gt::defaultParameterTable();
    gt::StyleNames names = gt::styleNames(gt::Language::French);
    try {
        const gt::ParameterFileLoad load =
            gt::readParameterFile(bytes, "fuzz.gtl", size % 2 ? gt::Language::Chinese : gt::Language::French, table, names);
        if (load.records > gt::kStyleCount) std::abort();
    } catch (const gt::Error& e) {
        // A message quotes a short excerpt only, never the whole of a long line.
        if (std::string_view(e.what()).size() > 300) std::abort();
    }
    return 0;
}
