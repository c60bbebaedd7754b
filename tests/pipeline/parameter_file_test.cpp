// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "pipeline/parameter_file.h"

namespace gt {
namespace {

std::string record(std::string_view name, std::initializer_list<const char*> numbers) {
    std::string s(name);
    s += "\r\n";
    for (const char* n : numbers) s += std::string(n) + "\r\n";
    return s;
}

ParameterTable filledTable(int value) {
    ParameterTable t{};
    for (auto& row : t) row.fill(value);
    return t;
}

TEST(ParameterFileName, GtlIsAppendedUnlessTheNameEndsInExactlyGtl) {
    EXPECT_EQ(withGtlExtension("Params"), "Params.gtl");
    EXPECT_EQ(withGtlExtension("Params.gtl"), "Params.gtl");
    EXPECT_EQ(withGtlExtension("Params.GTL"), "Params.GTL.gtl");
    EXPECT_EQ(withGtlExtension("gtl"), "gtl.gtl");
    EXPECT_EQ(withGtlExtension(".gtl"), ".gtl");
    EXPECT_EQ(withGtlExtension(""), ".gtl");
}

TEST(ParameterFileSave, DefaultsInFrenchAndChinese) {
    const std::string fr = encodeParameterFile(defaultParameterTable(), styleNames(Language::French));
    EXPECT_EQ(fr.substr(0, 41), "Dessin au crayon\r\n25\r\n100\r\n80\r\n160\r\n100\r\n");
    EXPECT_NE(fr.find("\r\nDessin \xE0 l'encre\r\n30\r\n110\r\n90\r\n140\r\n0\r\n"), std::string::npos);
    EXPECT_NE(fr.find("\r\nPeinture 4 (filtre m\xE9" "dian r\xE9" "cursif)\r\n5\r\n30\r\n60\r\n140\r\n0\r\n"), std::string::npos);
    EXPECT_EQ(fr.find("Cadre"), std::string::npos);  // style 8 is not saved
    int lines = 0;
    for (std::size_t i = 0; i + 1 < fr.size(); ++i) lines += fr[i] == '\r' && fr[i + 1] == '\n';
    EXPECT_EQ(lines, 48);
    EXPECT_EQ(fr.find('\n'), fr.find('\r') + 1);
    EXPECT_EQ(fr.substr(fr.size() - 2), "\r\n");

    const std::string zh = encodeParameterFile(defaultParameterTable(), styleNames(Language::Chinese));
    EXPECT_EQ(zh.substr(0, 10), "\xB9\x5D\xB5\xA7\xAF\xC0\xB4\x79\r\n");
    EXPECT_NE(zh.find("\r\n\xBF\xFB\xB5\xA7\xAF\xC0\xB4\x79(&I)\r\n"), std::string::npos);
    EXPECT_NE(zh.find("\r\n\xAA\x6F\xB5\x65 3 (\xA4\xA4\xB6\xA1\xAD\xC8 +\xB9\xEF\xBA\xD9\xC2\x6F\xC3\xE8)\r\n"), std::string::npos);
}

TEST(ParameterFileLoad, RoundTripByteForByteInBothLanguages) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> value(-100000, 100000);
    for (Language lang : {Language::French, Language::Chinese}) {
        ParameterTable saved = defaultParameterTable();
        for (int r = 0; r < 8; ++r)
            for (int s = 0; s < 5; ++s) saved[r][s] = value(rng);
        const std::string bytes = encodeParameterFile(saved, styleNames(lang));

        for (Language current : {Language::French, Language::Chinese}) {
            ParameterTable loaded = filledTable(-1);
            StyleNames names = styleNames(current);
            const ParameterFileLoad result = readParameterFile(bytes, "Params.gtl", current, loaded, names);
            EXPECT_EQ(result.records, 8);
            EXPECT_TRUE(result.warning.empty());
            for (int r = 0; r < 8; ++r) {
                EXPECT_EQ(names[r], styleNames(lang)[r]);  // the file's language, whatever the current one
                for (int s = 0; s < 5; ++s) EXPECT_EQ(loaded[r][s], saved[r][s]);
                EXPECT_EQ(loaded[r][5], -1);
            }
            EXPECT_EQ(names[8], styleNames(current)[8]);
            EXPECT_EQ(loaded[8][0], -1);
            EXPECT_EQ(encodeParameterFile(loaded, names), bytes);
        }
    }
}

// English names are ASCII: the file is the same bytes in either old code page, so the program's
// French and Chinese interfaces, old and new, read the English names back as they were written.
TEST(ParameterFileLoad, AnEnglishFileReadsTheSameInEveryLanguage) {
    const std::string en = encodeParameterFile(defaultParameterTable(), styleNames(Language::English));
    EXPECT_EQ(en.substr(0, 39), "Pencil drawing\r\n25\r\n100\r\n80\r\n160\r\n100\r\n");
    EXPECT_TRUE(std::all_of(en.begin(), en.end(), [](char c) { return c > 0 && c < 127; }));
    for (Language current : {Language::French, Language::Chinese, Language::English}) {
        ParameterTable table = filledTable(0);
        StyleNames names = styleNames(Language::French);
        EXPECT_EQ(readParameterFile(en, "p.gtl", current, table, names).records, 8);
        for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(names[i], styleNames(Language::English)[i]);
        EXPECT_EQ(names[8], styleNames(Language::French)[8]);
        EXPECT_EQ(table[3], defaultParameterTable()[3]);
    }
    // A name the English interface does not know is read as Windows-1252, as French reads it.
    EXPECT_EQ(decodeStyleName("Caf\xE9", Language::English), "Caf\xC3\xA9");
}

TEST(ParameterFileLoad, UnknownNamesUseTheCurrentCodePage) {
    EXPECT_EQ(decodeStyleName("Caf\xE9 \x80", Language::French), "Café €");
    EXPECT_EQ(decodeStyleName("\xB9\x5D" "A\xA4\x40", Language::Chinese), "鉛A\xEF\xBF\xBD");
    EXPECT_EQ(decodeStyleName("\xB9", Language::Chinese), "\xEF\xBF\xBD");
    EXPECT_EQ(encodeStyleName("Café €"), "Caf\xE9 \x80");
    EXPECT_EQ(encodeStyleName("鉛筆 x"), "\xB9\x5D\xB5\xA7 x");
    EXPECT_EQ(encodeStyleName("Ω"), "?");
}

TEST(ParameterFileLoad, FewerRecordsChangeOnlyThose) {
    ParameterTable t = filledTable(9);
    StyleNames names = styleNames(Language::French);
    const std::string bytes = record("A", {"1", "2", "3", "4", "5"}) + record("B", {"6", "-7", "+8", " 9", "10"});
    EXPECT_EQ(readParameterFile(bytes, "f.gtl", Language::French, t, names).records, 2);
    EXPECT_EQ(names[0], "A");
    EXPECT_EQ(names[1], "B");
    EXPECT_EQ(names[2], styleNames(Language::French)[2]);
    EXPECT_EQ((std::array<int, 5>{t[1][0], t[1][1], t[1][2], t[1][3], t[1][4]}), (std::array<int, 5>{6, -7, 8, 9, 10}));
    EXPECT_EQ(t[0][4], 5);
    EXPECT_EQ(t[1][5], 9);
    EXPECT_EQ(t[2][0], 9);
}

TEST(ParameterFileLoad, LinesMayEndInLfOrCr) {
    ParameterTable t{};
    StyleNames names{};
    readParameterFile("A\n1\n2\n3\n4\n5\nB\r6\r7\r8\r9\r10", "f.gtl", Language::French, t, names);
    EXPECT_EQ(names[1], "B");
    EXPECT_EQ(t[1][4], 10);
}

TEST(ParameterFileLoad, MoreThanNineRecordsReadsNineAndSaysSo) {
    std::string bytes;
    for (int i = 0; i < 11; ++i) bytes += record("S" + std::to_string(i), {"1", "2", "3", "4", std::to_string(i).c_str()});
    ParameterTable t = filledTable(-1);
    StyleNames names{};
    const ParameterFileLoad result = readParameterFile(bytes, "big.gtl", Language::French, t, names);
    EXPECT_EQ(result.records, 9);
    EXPECT_EQ(names[8], "S8");
    EXPECT_EQ(t[8][4], 8);
    EXPECT_EQ(t[9][4], -1);
    EXPECT_EQ(t[10][0], -1);
    EXPECT_EQ(result.warning, "more than 9 records; only the first 9 were read and the remaining 12 lines were ignored");
}

TEST(ParameterFileLoad, ABadNumberStopsTheLoadAndKeepsWhatWasRead) {
    ParameterTable t = filledTable(-1);
    StyleNames names{};
    const std::string bytes = record("A", {"1", "2", "3", "4", "5"}) + record("B", {"6", "7", "x8", "9", "10"}) +
                              record("C", {"1", "1", "1", "1", "1"});
    try {
        readParameterFile(bytes, "bad.gtl", Language::French, t, names);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "bad.gtl, line 10: \"x8\" is not a whole number");
    }
    EXPECT_EQ(t[0][4], 5);
    EXPECT_EQ(names[1], "B");
    EXPECT_EQ(t[1][0], 6);
    EXPECT_EQ(t[1][1], 7);
    EXPECT_EQ(t[1][2], -1);
    EXPECT_EQ(names[2], "");

    for (const char* badNumber : {"", "7 ", "1e3", "+-1", "-", "99999999999", "0x10"}) {
        ParameterTable u{};
        StyleNames n{};
        EXPECT_THROW(readParameterFile(record("A", {"1", badNumber, "3", "4", "5"}), "f", Language::French, u, n), Error)
            << badNumber;
    }
}

TEST(ParameterFileLoad, AFileEndingInsideARecord) {
    ParameterTable t{};
    StyleNames names{};
    try {
        readParameterFile(record("A", {"1", "2", "3", "4", "5"}) + "B\r\n6\r\n", "short.gtl", Language::French, t, names);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "short.gtl, line 9: a number is missing (the file ends inside a record)");
    }
    EXPECT_EQ(t[1][0], 6);
}

TEST(ParameterFileDisk, SaveLoadAndAMissingFile) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "gt-parameter-file-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Params.gtl").string();
    { std::ofstream(path) << "old content that is longer than nothing"; }
    saveParameterFile(path, defaultParameterTable(), styleNames(Language::Chinese));
    std::ifstream in(path, std::ios::binary);
    std::string bytes(4096, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    EXPECT_EQ(bytes, encodeParameterFile(defaultParameterTable(), styleNames(Language::Chinese)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary left behind

    ParameterTable t{};
    StyleNames names = styleNames(Language::French);
    EXPECT_EQ(loadParameterFile(path, Language::French, t, names).records, 8);
    EXPECT_EQ(t, [] { ParameterTable d{}; resetParameterTable(d); return d; }());
    EXPECT_EQ(names[0], "鉛筆素描");

    try {
        loadParameterFile((dir / "absent.gtl").string(), Language::French, t, names);
        FAIL();
    } catch (const ParameterFileNotFound& e) {
        EXPECT_EQ(std::string(e.what()), "檔案沒有找到");
    }
    EXPECT_THROW(saveParameterFile((dir / "no-such-folder" / "p.gtl").string(), t, names), Error);

    // Saved through a link, the file it names is replaced and the link stays.
    std::filesystem::create_symlink("Params.gtl", dir / "link.gtl");
    saveParameterFile((dir / "link.gtl").string(), filledTable(7), names);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.gtl"));
    EXPECT_EQ(loadParameterFile(path, Language::French, t, names).records, 8);
    EXPECT_EQ(t[0][0], 7);
    std::filesystem::remove_all(dir);
}

// A parameter file holds a few hundred bytes: a longer file is refused unread, and a device that
// never ends is read only up to the limit.
TEST(ParameterFileDisk, AnythingLongerThanAMegabyteIsRefused) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "gt-parameter-file-size-test";
    std::filesystem::create_directories(dir);
    const std::string big = (dir / "big.gtl").string();
    { std::ofstream(big) << record("Dessin au crayon", {"1", "2", "3", "4", "5"}); }
    std::filesystem::resize_file(big, kMaxParameterFileBytes + 1);
    ParameterTable t = filledTable(3);
    StyleNames names = styleNames(Language::French);
    for (const std::string& path : {big, std::string("/dev/zero")}) {
        try {
            loadParameterFile(path, Language::French, t, names);
            ADD_FAILURE() << path;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), path + ": too large for a parameter file (more than 1 MB)");
        }
    }
    EXPECT_EQ(t, filledTable(3));
    std::filesystem::remove_all(dir);
}

TEST(ParameterFileReset, WritesRowsZeroToSevenOnly) {
    ParameterTable t = filledTable(3);
    resetParameterTable(t);
    EXPECT_EQ(t[0][0], 25);
    EXPECT_EQ(t[7][3], 140);
    EXPECT_EQ(t[7][5], 3);
    EXPECT_EQ(t[8][0], 3);
    EXPECT_EQ(t[10][4], 3);
}

}  // namespace
}  // namespace gt

namespace gt {
namespace {

std::string loadError(const std::string& bytes) {
    ParameterTable t{};
    StyleNames names{};
    try {
        readParameterFile(bytes, "p.gtl", Language::French, t, names);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

TEST(ParameterFileMessages, QuoteAShortPrintableExcerptAndRefuseAnEmptyFile) {
    EXPECT_EQ(loadError(""), "p.gtl: the file is empty; it holds no parameters");
    // A NUL byte does not cut the message short.
    std::string nul = record("A", {"1"});
    nul += std::string("7\0\x01z", 4) + "\r\n";
    EXPECT_EQ(loadError(nul), "p.gtl, line 3: \"7??z\" is not a whole number");
    // A very long line is quoted by its start only.
    const std::string huge = loadError(record("A", {"1", std::string(10 << 20, '9').c_str(), "3", "4", "5"}));
    EXPECT_EQ(huge, "p.gtl, line 3: \"" + std::string(40, '9') + "...\" is too large for a slider value");
    EXPECT_EQ(loadError(record("A", {"1", (std::string(5000, 'x')).c_str()})),
              "p.gtl, line 3: \"" + std::string(40, 'x') + "...\" is not a whole number");
}

TEST(ParameterFileMessages, ValuesBeyondASlidersRangeAreNamedWithTheValueUsed) {
    ParameterTable t{};
    StyleNames names{};
    // Row 0 is the pencil drawing (TrackBar4 shown), row 1 the grey edge drawing (TrackBar4 hidden).
    const ParameterFileLoad load = readParameterFile(
        record("A", {"300", "-4", "100", "7", "256"}) + record("B", {"1", "2", "101", "4", "999"}), "p.gtl",
        Language::French, t, names);
    EXPECT_EQ(load.records, 2);
    EXPECT_EQ(load.clamped, (std::vector<std::string>{
                                "line 2: 300 is outside the range of TrackBar1 (0..255); 255 is used",
                                "line 3: -4 is outside the range of TrackBar2 (0..255); 0 is used",
                                "line 6: 256 is outside the range of TrackBar4 (0..255); 255 is used",
                                "line 10: 101 is outside the range of TrackBar5 (0..100); 100 is used",
                            }));
    EXPECT_EQ(t[0][0], 300);  // kept as read: the slider clamps it when the style is shown
}

}  // namespace
}  // namespace gt
