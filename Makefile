# Thin front door over CMake. `make run` and `make test` do the whole set-up
# on a fresh Debian 12 machine (they install what is missing first): `make
# run` only what building and running need, `make test` the test tools too.

BUILD      ?= build/release
ASAN_BUILD ?= build/asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN  := $(shell command -v ninja >/dev/null 2>&1 && echo -G Ninja)

.PHONY: all deps test-deps package-deps web-deps build run web test test-asan bench fuzz \
        clang-sanitize-link \
        package ci-configure install uninstall clean

all: build

deps:
	@scripts/install-deps
package-deps:
	@scripts/install-deps package
test-deps:
	@scripts/install-deps test
web-deps:
	@scripts/install-deps web

# $(call configure,DIR,NAME=VALUE ...[,ENV]): runs CMake on DIR unless its cache
# already holds every setting, so moving between targets that share a build
# folder rebuilds only what a changed setting touches. A setting a target
# does not name keeps the value the cache has.
configure = @cached=1; [ -f $(1)/CMakeCache.txt ] || cached=0; \
	for s in $(2); do \
	    grep -qx "$${s%%=*}:[A-Z]*=$${s\#*=}" $(1)/CMakeCache.txt 2>/dev/null || cached=0; \
	done; \
	[ $$cached = 1 ] || { set -x; $(3) cmake -S . -B $(1) $(CMAKE_GEN) $(addprefix -D,$(2)); }

# A plain Release build: the program, tolmeri-hours and what they install.
build: deps
	$(call configure,$(BUILD),CMAKE_BUILD_TYPE=Release)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/tolmeri

# The web edition: Emscripten (Debian's, which wants Node.js' modules from
# NODE_PATH) builds the core and the page's binding in $(WEB_CMAKE) and lays
# the page out in $(WEB): open $(WEB)/index.html, or put the folder on any
# static web host.
WEB       ?= build/web
WEB_CMAKE ?= build/web-cmake
WEB_ENV   := NODE_PATH=/usr/share/nodejs
web: web-deps
	$(call configure,$(WEB_CMAKE),CMAKE_BUILD_TYPE=Release TOLMERI_WEB_SITE=$(abspath $(WEB)),$(WEB_ENV) emcmake)
	$(WEB_ENV) cmake --build $(WEB_CMAKE) -j $(JOBS)

# The same build with the tests, and compiler warnings as errors.
test: test-deps web
	$(call configure,$(BUILD),CMAKE_BUILD_TYPE=Release TOLMERI_BUILD_TESTS=ON TOLMERI_WERROR=ON \
	    TOLMERI_WEB_SITE=$(abspath $(WEB)))
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The browser tests drive the WebAssembly build, which no sanitizer sees:
# make test runs them.
test-asan: test-deps web
	$(call configure,$(ASAN_BUILD),CMAKE_BUILD_TYPE=Debug TOLMERI_SANITIZE=ON \
	    TOLMERI_BUILD_TESTS=ON TOLMERI_WERROR=ON TOLMERI_WEB_SITE=$(abspath $(WEB)))
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && \
	  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) --label-exclude browser

# Short libFuzzer runs (clang only), one after the other, each from its seed
# corpus in fuzz/corpus/: the settings-file reader and writer, the reader of
# typed dates, and the web edition's reading of its links.
FUZZ_SECONDS ?= 30
FUZZ_TARGETS := profile typed_date page_link
fuzz: test-deps
	$(call configure,build/fuzz,CMAKE_BUILD_TYPE=RelWithDebInfo TOLMERI_FUZZ=ON \
	    TOLMERI_WERROR=ON,CXX=clang++)
	cmake --build build/fuzz -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZ_TARGETS))
	set -e; for t in $(FUZZ_TARGETS); do \
	    rm -rf build/fuzz/corpus/$$t && mkdir -p build/fuzz/corpus/$$t && \
	    cp fuzz/corpus/$$t/* build/fuzz/corpus/$$t/ && \
	    build/fuzz/fuzz/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        build/fuzz/corpus/$$t; \
	done

# The sanitizer build made by clang, as far as proving that the picture
# module links and loads: tolmeri-hours draws one chart through it.
clang-sanitize-link: test-deps
	$(call configure,build/clang-asan,CMAKE_BUILD_TYPE=Debug TOLMERI_SANITIZE=ON \
	    TOLMERI_WERROR=ON,CXX=clang++)
	cmake --build build/clang-asan -j $(JOBS) --target tolmeri-hours
	rm -f build/clang-asan/chart.png
	build/clang-asan/bin/tolmeri-hours --place 東京 --date 2026-06-21 \
	    --png build/clang-asan/chart.png
	head -c 4 build/clang-asan/chart.png | grep -q PNG
	@echo "clang sanitizer build: tolmeri-png.so links, loads and draws"

bench: test-deps
	$(call configure,$(BUILD),CMAKE_BUILD_TYPE=Release TOLMERI_BUILD_BENCH=ON)
	cmake --build $(BUILD) -j $(JOBS)
	scripts/run-benchmarks $(BUILD)

# The Debian package: a Release build of its own for the prefix /usr, with
# Debian's hardening flags, packed by CPack into
# $(PACKAGE_BUILD)/tolmeri_<version>_<arch>.deb. CPack strips the programs,
# so Debian's -g would only slow the build down.
PACKAGE_BUILD ?= build/package
PACKAGE_SETTINGS = CMAKE_BUILD_TYPE=Release CMAKE_INSTALL_PREFIX=/usr
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all; export DEB_BUILD_MAINT_OPTIONS; \
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS | sed 's/^-g //; s/ -g / /g') \
	    $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)"
package: package-deps
	$(call configure,$(PACKAGE_BUILD),$(PACKAGE_SETTINGS),$(DEB_FLAGS))
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

# CI tests the tree it packs: $(BUILD) configured once with the package's
# settings and flags and the tests' (a fresh tree: the flags are read when
# CMake first configures it), so that make test and make package
# PACKAGE_BUILD=$(BUILD) share one build.
ci-configure: test-deps
	$(call configure,$(BUILD),$(PACKAGE_SETTINGS) TOLMERI_BUILD_TESTS=ON TOLMERI_WERROR=ON \
	    TOLMERI_WEB_SITE=$(abspath $(WEB)),$(DEB_FLAGS))

# Per user by default: PREFIX/lib/tolmeri holds the program, its help and
# its settings file; PREFIX/bin gets tolmeri and tolmeri-hours; the menu
# entry, the icons, the metainfo, the manual pages, the completion and the
# licence go to PREFIX/share.
PREFIX ?= $(HOME)/.local

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes what install put there; a settings file written since stays.
uninstall:
	@[ -f $(BUILD)/install_manifest.txt ] || { echo "nothing installed from $(BUILD)"; exit 1; }
	xargs -d '\n' rm -f -- <$(BUILD)/install_manifest.txt

clean:
	rm -rf build
