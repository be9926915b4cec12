# make test: install what is missing, build host, win64 and win32, run every test.
# make run:  install, build, start Quillvault under Wine.
# make gallery: install, build, start the control gallery under Wine
#   (SKINS="a.skin b.skin": skin files it tries in turn).
# make dist: the stripped Release program for x64 and i686 in dist/.
# make fuzz: each fuzz target for FUZZ_SECONDS, then its coverage.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: test run gallery deps build build-host build-win64 build-win32 build-fuzz fuzz dist clean bench

deps:
	@tools/install-deps.sh

build-host: deps
	cmake -S . -B $(BUILD)/host $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD)/host -j $(JOBS)

build-win64: deps
	cmake -S . -B $(BUILD)/win64 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD)/win64 -j $(JOBS)

build-win32: deps
	cmake -S . -B $(BUILD)/win32 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD)/win32 -j $(JOBS)

build-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DQV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD)/fuzz -j $(JOBS)

build: build-host build-win64 build-win32 build-fuzz

# make fuzz: each fuzz target for FUZZ_SECONDS (default 60), then its coverage.
FUZZ_SECONDS ?= 60
fuzz: build-fuzz
	tools/fuzz-run.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

test: build
	cd $(BUILD)/host && ctest --output-on-failure -j $(JOBS)
	cd $(BUILD)/fuzz && ctest --output-on-failure -j $(JOBS)
	# One display, one foreground window and one mouse for every GUI test:
	# they take turns, the 32-bit program's after the 64-bit one's, each tree
	# under its own Wine, stopped when its tests end.
	# A machine whose kernel runs no i386 code cannot start the 32-bit tree's
	# programs at all: that is said loudly and is no failure of the program.
	rc=0; for tree in win64 win32; do \
	  if ! $(BUILD)/$$tree/wine-run --can-run; then \
	    echo "*** $$tree: Windows tests NOT RUN on this machine (see above)"; continue; fi; \
	  $(BUILD)/$$tree/wine-run --prepare && (cd $(BUILD)/$$tree && ctest --output-on-failure) || rc=1; \
	  $(BUILD)/$$tree/wine-run --stop; \
	done; exit $$rc

run: build-win64
	@tools/run-demo.sh $(BUILD)/win64

# make gallery SKINS="a.skin b.skin": the gallery tries each skin in turn.
gallery: build-win64
	@tools/run-gallery.sh $(BUILD)/win64 $(SKINS)

bench: build-win64
	cmake -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_SANITIZE=OFF >/dev/null
	cmake --build $(BUILD)/bench -j $(JOBS)
	$(BUILD)/bench/bench/coder_bench
	$(BUILD)/bench/bench/skin_bench
	$(BUILD)/win64/wine-run $(BUILD)/win64/bench/skin_frame_bench.exe
	$(BUILD)/win64/wine-run $(BUILD)/win64/bench/skin_draw_bench.exe
	$(BUILD)/win64/wine-run $(BUILD)/win64/bench/skin_controls_bench.exe
	$(BUILD)/win64/wine-run $(BUILD)/win64/bench/startup_bench.exe 10 "Z:$(abspath $(BUILD))/win64/app/Quillvault.exe" "Z:$(abspath $(BUILD))/win64/bench/bare_window.exe"
	$(BUILD)/win64/wine-run $(BUILD)/win64/bench/startup_bench.exe 10 "Z:$(abspath $(BUILD))/win64/app/Quillvault.exe" "Z:$(abspath $(BUILD))/win64/bench/bare_window_v6.exe"
	bench/backup-bench.sh $(BUILD)/win64 2000

# make dist: the program for users: Release builds for x64 and i686, stripped
# of their debug information, in dist/ with the README.
DIST_ARCHS := x86_64:x64 i686:i686
dist: deps
	@set -e; rm -rf dist; mkdir -p dist; \
	for pair in $(DIST_ARCHS); do \
	  triple=$${pair%%:*}; name=$${pair##*:}; tree=$(BUILD)/dist-$$name; \
	  cmake -S . -B $$tree $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$$triple.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null; \
	  cmake --build $$tree -j $(JOBS) --target Quillvault; \
	  mkdir -p dist/$$name; \
	  $$triple-w64-mingw32-strip -o dist/$$name/Quillvault.exe $$tree/app/Quillvault.exe; \
	done; \
	cp README.md dist/; \
	ls -l dist/*/Quillvault.exe

clean:
	rm -rf $(BUILD)
