// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A JPEG whose decoding takes a while and then fails, for the tests of a reading stopped midway.

#include <cstdio>  // before jpeglib.h, which uses FILE
#include <jpeglib.h>

#include <cstdlib>
#include <vector>

#include "io/io_test_support.h"

namespace gt::testing {

// A grey progressive JPEG of 442 scans (the DC, then each of the 63 AC coefficients in 7 bit
// planes) over a flat picture of side x side, small on disk, whose decoding passes over every block
// once a scan. Its last bytes are cut off, so a decoding that runs to the end fails there.
inline Bytes slowJpegCutShort(int side) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(side);
    c.image_height = JDIMENSION(side);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    std::vector<jpeg_scan_info> scans = {{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k < 64; ++k) {
        scans.push_back({1, {0}, k, k, 0, 6});
        for (int al = 5; al >= 0; --al) scans.push_back({1, {0}, k, k, al + 1, al});
    }
    c.scan_info = scans.data();
    c.num_scans = int(scans.size());
    jpeg_start_compress(&c, TRUE);
    const std::vector<unsigned char> row(std::size_t(side), 128);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = const_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes b(out, out + size - 16);
    std::free(out);
    return b;
}

}  // namespace gt::testing
