# SPDX-License-Identifier: GPL-3.0-or-later
# Graphitello: `make run` and `make test` do the whole set-up on a fresh Debian machine.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?=
# Our own builds: warnings are errors, and the compiler cache is used where the machine has one.
OUR_FLAGS := -DGT_WERROR=ON $(if $(shell command -v ccache),-DGT_CCACHE=ON)

.PHONY: deps configure build run test test-fast test-asan bench assets clean screenshots

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(OUR_FLAGS) $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

test-fast: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DGT_SANITIZE=ON $(OUR_FLAGS) $(CMAKE_FLAGS)

test-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# ---- The second compiler and the fuzzers ----------------------------------------------------
# One clang-19 build, with AddressSanitizer, UBSan and libFuzzer's coverage, holds the command line
# and the fuzz targets: its graphitello-cli must give the gcc build's bytes, warnings are errors as
# with gcc, and the fuzz targets run FUZZ_SECONDS each with `make fuzz`, FUZZ_TEST_SECONDS each in
# `make test` (there with a fixed seed, so each machine tries the same inputs). Only what the
# comparison and the fuzzers need is built (no desktop app, no tests).
CLANG_BUILD ?= build-clang
CLANGXX ?= clang++-19
FUZZ_SECONDS ?= 60
FUZZ_TEST_SECONDS ?= 4

.PHONY: clang-build test-clang fuzz test-fuzz

$(CLANG_BUILD)/CMakeCache.txt:
	cmake -S . -B $(CLANG_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(CLANGXX) -DGT_BUILD_APP=OFF \
	  -DGT_SANITIZE=ON -DGT_FUZZ=ON $(OUR_FLAGS) $(CMAKE_FLAGS)

clang-build: deps $(CLANG_BUILD)/CMakeCache.txt
	cmake --build $(CLANG_BUILD) -j $(JOBS) --target graphitello-cli fuzzers

test-clang: build clang-build
	bash scripts/compare-compilers.sh $(BUILD)/cli/graphitello-cli $(CLANG_BUILD)/cli/graphitello-cli

fuzz: clang-build
	bash scripts/fuzz.sh $(CLANG_BUILD) $(FUZZ_SECONDS)

test-fuzz: clang-build
	bash scripts/fuzz.sh $(CLANG_BUILD) $(FUZZ_TEST_SECONDS) 1969
# ---- end of the second compiler and the fuzzers ---------------------------------------------

# A packager's build (Release, no tests, their flags, no -Werror): configured in a scratch folder and
# checked, and its graphitello-cli built and run.
.PHONY: test-packager
test-packager: deps
	bash scripts/check-packager-build.sh

test: test-fast test-asan test-clang test-fuzz test-packager

# The pictures of docs/screenshots, retaken on a virtual display; look at each before committing it.
screenshots: build
	QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" $(BUILD)/tests/screenshots/graphitello-screenshots

bench: build
	$(BUILD)/bench/graphitello-bench

assets: build
	$(BUILD)/assets/generator/graphitello-assetgen assets/data

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(CLANG_BUILD)

# ---- Installing and packaging ----
.PHONY: package
# The Debian package of what `cmake --install` installs, written into $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB
