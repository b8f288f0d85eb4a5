# The two commands of the README: `make run` and `make test`.
# Both install what is missing first (scripts/install-deps), then build:
# `make run` and `make demo` only the two programs, the rest everything.

BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_BENCH ?= build-bench
GENERATOR   := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
JOBS        ?= $(shell nproc)

.PHONY: all deps deps-build build build-programs run test test-fast test-asan bench clean

all: build

deps:
	@scripts/install-deps test

deps-build:
	@scripts/install-deps build

build: deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_BUILD_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)

# Just kestrel and kestrel-book, in the same folder as the full build: the
# tests are left out of the configuration, so their packages need not be there.
build-programs: deps-build
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_BUILD_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS) --target kestrel kestrel-book

# Starts Kestrel on the book "phone.dat" of the folder make was started in.
run: build-programs
	$(BUILD)/app/kestrel

test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(BUILD_ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DKESTREL_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS) -LE no-asan

test: test-fast test-asan

bench: deps
	cmake -S . -B $(BUILD_BENCH) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DKESTREL_BUILD_BENCH=ON -DKESTREL_BUILD_TESTS=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	@for b in $(BUILD_BENCH)/bench/bench_*; do \
	  [ -x "$$b" ] || continue; echo "== $$b"; "$$b" --benchmark_counters_tabular=true || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_BENCH) $(BUILD_WINDOWS)

# Packaging and the first look: `make package` builds the Debian package in
# $(BUILD); `make demo` starts Kestrel on a fresh copy of the sample book in
# $(BUILD)/demo, never on examples/phone.dat itself; `make sample` writes the
# sample book again from the generator (the same bytes every time).
.PHONY: package demo sample

package: build
	cmake --build $(BUILD) --target package

demo: build-programs
	rm -rf $(BUILD)/demo
	mkdir -p $(BUILD)/demo
	cp examples/phone.dat $(BUILD)/demo/phone.dat
	cd $(BUILD)/demo && $(abspath $(BUILD))/app/kestrel

sample: build
	$(BUILD)/tools/make_sample_book examples/phone.dat

# Fuzzing with clang's libFuzzer: `make fuzz` runs each target FUZZ_SECONDS
# (600 by default), `make fuzz-short` about a minute each, for CI. New inputs
# go to $(BUILD_FUZZ)/fuzz-work/, never into the committed fuzz/corpus/.
BUILD_FUZZ   ?= build-fuzz
FUZZ_SECONDS ?= 600

.PHONY: fuzz fuzz-short fuzz-build

fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKESTREL_BUILD_FUZZ=ON -DKESTREL_BUILD_GUI=OFF -DKESTREL_BUILD_TESTS=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS)

fuzz: fuzz-build
	scripts/run-fuzzers $(BUILD_FUZZ) $(FUZZ_SECONDS)

fuzz-short: fuzz-build
	scripts/run-fuzzers $(BUILD_FUZZ) 60

# The Windows build, cross-compiled with MinGW-w64 into $(BUILD_WINDOWS):
# `make windows` builds kestrel.exe and kestrel-book.exe, `make
# test-windows` runs the Windows test programs under Wine, whose prefix
# lives in $(BUILD_WINDOWS)/wineprefix, and kestrel.exe end to end under
# Wine on Xvfb; the run fails if it leaves anything new in the home folder.
BUILD_WINDOWS ?= build-windows

.PHONY: deps-windows windows test-windows windows-package

deps-windows:
	@scripts/install-deps windows

windows: deps-windows
	cmake -S . -B $(BUILD_WINDOWS) $(GENERATOR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_WINDOWS) -j $(JOBS)

test-windows: windows
	scripts/home-unchanged snapshot $(BUILD_WINDOWS)/home-before-tests
	$(BUILD_WINDOWS)/wine-run --prepare
	ctest --test-dir $(BUILD_WINDOWS) --output-on-failure -j $(JOBS); \
	  rc=$$?; $(BUILD_WINDOWS)/wine-run --stop; \
	  scripts/home-unchanged compare $(BUILD_WINDOWS)/home-before-tests || rc=1; exit $$rc

# The zip and the installer, in $(BUILD_WINDOWS).
windows-package: windows
	cd $(BUILD_WINDOWS) && cpack
