# Thin front door over CMake. `make run` and `make test` do the whole set-up
# on a fresh Debian 12 machine (they install what is missing first).

BUILD      ?= build/release
ASAN_BUILD ?= build/asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN  := $(shell command -v ninja >/dev/null 2>&1 && echo -G Ninja)

.PHONY: all deps build run test test-asan bench fuzz install uninstall clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/tolmeri

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTOLMERI_SANITIZE=ON \
	      -DTOLMERI_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && \
	  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Short libFuzzer run of the settings-file reader and writer (clang only).
FUZZ_SECONDS ?= 60
fuzz: deps
	CXX=clang++ cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DTOLMERI_FUZZ=ON -DTOLMERI_BUILD_TESTS=OFF -DTOLMERI_BUILD_BENCH=OFF
	cmake --build build/fuzz -j $(JOBS) --target profile_fuzz
	rm -rf build/fuzz/corpus && mkdir -p build/fuzz/corpus && cp fuzz/corpus/* build/fuzz/corpus/
	build/fuzz/fuzz/profile_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	      build/fuzz/corpus

# Per user by default: PREFIX/lib/tolmeri holds the program, its help and
# its settings file; PREFIX/bin gets tolmeri and tolmeri-hours; the menu entry
# and the icons go to PREFIX/share.
PREFIX ?= $(HOME)/.local

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes what install put there; a settings file written since stays.
uninstall:
	@[ -f $(BUILD)/install_manifest.txt ] || { echo "nothing installed from $(BUILD)"; exit 1; }
	xargs -d '\n' rm -f -- <$(BUILD)/install_manifest.txt

bench: build
	scripts/run-benchmarks $(BUILD)

clean:
	rm -rf build
