// SPDX-License-Identifier: GPL-3.0-or-later
// Colour profiles through lcms2: a picture whose file carries a profile is converted to sRGB as it
// comes in, as a colour-managed photo program shows it; every output is tagged sRGB. The intent is
// relative colorimetric with black-point compensation, the usual choice of photo programs.

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "imaging/io/codecs.h"

namespace gt {

namespace {

struct ProfileCloser {
    void operator()(void* p) const { cmsCloseProfile(p); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

struct TransformDeleter {
    void operator()(void* t) const { cmsDeleteTransform(t); }
};
using Transform = std::unique_ptr<void, TransformDeleter>;

constexpr cmsUInt32Number kIntent = INTENT_RELATIVE_COLORIMETRIC;
constexpr cmsUInt32Number kFlags = cmsFLAGS_BLACKPOINTCOMPENSATION;

// lcms2 reports damaged profiles through a global handler that prints nothing by default; a damaged
// profile then simply yields no transform.
Profile openProfile(const std::vector<unsigned char>& icc) {
    if (icc.empty()) return nullptr;
    return Profile(cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size())));
}

std::string describe(cmsHPROFILE profile) {
    char text[256] = {};
    cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", text, sizeof text);
    return text[0] ? std::string(text) : std::string("an embedded colour profile");
}

Profile srgb() { return Profile(cmsCreate_sRGBProfile()); }

// A profile that says it is sRGB converts to itself; skipping it saves the time and the rounding.
bool isSrgb(cmsHPROFILE profile) {
    const std::string d = describe(profile);
    return d.rfind("sRGB", 0) == 0 && cmsGetColorSpace(profile) == cmsSigRgbData &&
           d.find("Linear") == std::string::npos;
}

}  // namespace

std::string convertToSrgb(Bitmap& picture, const std::vector<unsigned char>& iccProfile) {
    const Profile in = openProfile(iccProfile);
    if (!in || picture.empty() || isSrgb(in.get())) return "";
    const Profile out = srgb();
    // The file's own four bytes, any value: held as a number, not as lcms's enumeration.
    const cmsUInt32Number space = cmsGetColorSpace(in.get());
    if (space == cmsSigRgbData) {
        const Transform t(cmsCreateTransform(in.get(), TYPE_BGR_8, out.get(), TYPE_BGR_8, kIntent, kFlags));
        if (!t) return "";
        for (int y = 0; y < picture.height(); ++y)
            cmsDoTransform(t.get(), picture.row(y), picture.row(y), static_cast<cmsUInt32Number>(picture.width()));
        return describe(in.get());
    }
    if (space == cmsSigGrayData) {
        // A grey picture came out with three equal channels; 256 greys make the whole table.
        const Transform t(cmsCreateTransform(in.get(), TYPE_GRAY_8, out.get(), TYPE_BGR_8, kIntent, kFlags));
        if (!t) return "";
        std::array<unsigned char, 256> grey{};
        std::array<unsigned char, 256 * 3> bgr{};
        for (int i = 0; i < 256; ++i) grey[std::size_t(i)] = static_cast<unsigned char>(i);
        cmsDoTransform(t.get(), grey.data(), bgr.data(), 256);
        for (int y = 0; y < picture.height(); ++y) {
            unsigned char* p = picture.row(y);
            for (int x = 0; x < picture.width(); ++x, p += 3) {
                const unsigned char* c = &bgr[std::size_t(p[1]) * 3];
                p[0] = c[0];
                p[1] = c[1];
                p[2] = c[2];
            }
        }
        return describe(in.get());
    }
    return "";
}

CmykConverter::CmykConverter(const std::vector<unsigned char>& iccProfile, bool inverted) {
    const Profile in = openProfile(iccProfile);
    if (!in || cmsGetColorSpace(in.get()) != cmsSigCmykData) return;
    const Profile out = srgb();
    // Adobe's files store the inks inverted: TYPE_CMYK_8_REV reads them so.
    transform_ = cmsCreateTransform(in.get(), inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, out.get(), TYPE_BGR_8,
                                    INTENT_PERCEPTUAL, kFlags);
    if (transform_) description_ = describe(in.get());
}

CmykConverter::~CmykConverter() {
    if (transform_) cmsDeleteTransform(transform_);
}

void CmykConverter::convertRow(const unsigned char* cmyk, unsigned char* bgr, int width) const {
    cmsDoTransform(transform_, cmyk, bgr, static_cast<cmsUInt32Number>(width));
}

namespace {
std::vector<unsigned char> saved(cmsHPROFILE p) {
    cmsUInt32Number size = 0;
    std::vector<unsigned char> b;
    if (p && cmsSaveProfileToMem(p, nullptr, &size) && size > 0) {
        b.resize(size);
        if (!cmsSaveProfileToMem(p, b.data(), &size)) b.clear();
    }
    return b;
}
}  // namespace

std::vector<unsigned char> rgbProfile(double wx, double wy, double rx, double ry, double gx, double gy, double bx, double by,
                                      double gamma) {
    const cmsCIExyY white{wx, wy, 1.0};
    const cmsCIExyYTRIPLE primaries{{rx, ry, 1.0}, {gx, gy, 1.0}, {bx, by, 1.0}};
    cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
    if (!curve) return {};
    cmsToneCurve* curves[3] = {curve, curve, curve};
    const Profile p(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    return saved(p.get());
}

std::vector<unsigned char> cicpProfile(int primaries, int transfer, double wx, double wy, double rx, double ry, double gx,
                                       double gy, double bx, double by) {
    // The curve from the transfer number: the sRGB curve for sRGB itself, unspecified and the
    // BT.709 family (1, 6, 14, 15), plain gammas for 4, 5 and 8.
    double gamma = 0;
    switch (transfer) {
        case 1: case 2: case 6: case 13: case 14: case 15: gamma = -1; break;  // the sRGB curve
        case 4: gamma = 2.2; break;
        case 5: gamma = 2.8; break;
        case 8: gamma = 1.0; break;
        default: return {};
    }
    const bool bt709 = primaries == 1 || primaries == 2;
    if (bt709 && gamma < 0) return {};
    const cmsCIExyY white{wx, wy, 1.0};
    const cmsCIExyYTRIPLE chromaticities{{rx, ry, 1.0}, {gx, gy, 1.0}, {bx, by, 1.0}};
    static const double kSrgbCurve[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    cmsToneCurve* curve = gamma < 0 ? cmsBuildParametricToneCurve(nullptr, 4, kSrgbCurve) : cmsBuildGamma(nullptr, gamma);
    if (!curve) return {};
    cmsToneCurve* curves[3] = {curve, curve, curve};
    const Profile p(cmsCreateRGBProfile(&white, &chromaticities, curves));
    cmsFreeToneCurve(curve);
    if (!p) return {};
    // The name the picture's description gives for the colours it was converted from.
    const std::string name = primaries == 12 ? "Display P3"
                             : primaries == 9 ? "BT.2020"
                             : primaries == 11 ? "DCI-P3"
                                               : "H.273 primaries " + std::to_string(primaries);
    const std::string description = name + " (HEIF/AVIF code points " + std::to_string(primaries) + "/" + std::to_string(transfer) + ")";
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    if (mlu) {
        cmsMLUsetASCII(mlu, "en", "US", description.c_str());
        cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, mlu);
        cmsMLUfree(mlu);
    }
    return saved(p.get());
}

// The profile every output is tagged with. lcms2 stamps a profile with the time it was made (the
// header's creation date, bytes 24 to 35); the outputs must be the same bytes on every run, so the
// date is set to a fixed one, 1 January 2000, and the header's profile ID, which would cover the
// date, is left unset (all zeros, which a profile may have).
const std::vector<unsigned char>& srgbProfile() {
    static const std::vector<unsigned char> bytes = [] {
        const Profile p = srgb();
        std::vector<unsigned char> b = saved(p.get());
        if (b.size() < 128) return b;
        static constexpr unsigned char kFixedDate[12] = {0x07, 0xD0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0};
        std::copy(std::begin(kFixedDate), std::end(kFixedDate), b.begin() + 24);
        std::fill(b.begin() + 84, b.begin() + 100, static_cast<unsigned char>(0));
        return b;
    }();
    return bytes;
}

}  // namespace gt
