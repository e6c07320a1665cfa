# The front door. `make test` is what CI runs; `make run` starts the demo.
PRESET ?= dev
JOBS ?= $(shell nproc)
BUILD_DIR := build/$(PRESET)
SHELL := bash
# The compiler's scratch files and any test's temporary ones stay in the
# build tree, as everything the build and the tests write does.
export TMPDIR := $(CURDIR)/build/tmp

.PHONY: all deps configure build test run run-ce windows windows-zip web serve-web package capture greeting song-wav bench asan fuzz assets-preview format format-check clean

all: build

deps:
	@mkdir -p "$$TMPDIR"
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

# A dot per passed test, failures in full, ctest's own closing lines and exit
# status; the whole output is in $(BUILD_DIR)/Testing/Temporary/LastTest.log.
# The dev suite is then run again built with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer.
test: build
	@set -o pipefail; ctest --preset $(PRESET) -j $(JOBS) 2>&1 | awk -f scripts/ctest-summary.awk
	@if [ "$(PRESET)" = dev ]; then $(MAKE) --no-print-directory PRESET=asan test; fi

# A normal quit ends the programs with 1 and a cancelled setup box with 0;
# anything else is a failure.
run: build
	@$(BUILD_DIR)/duckdemo $(ARGS); status=$$?; [ $$status -le 1 ] || exit $$status

run-ce: build
	@$(BUILD_DIR)/duckdemo-ce $(ARGS); status=$$?; [ $$status -le 1 ] || exit $$status

# duckdemo.exe for 64-bit Windows, with data/ beside it: the one the dev
# build makes for its Wine test, in build/dev/windows/, so what make test
# built and is current is not built again.
windows: configure
	cmake --build --preset $(PRESET) -j $(JOBS) --target duckdemo_windows
	@echo "duckdemo.exe: $(BUILD_DIR)/windows/duckdemo.exe"

# build/packages/duckdemo-<version>-windows-x64.zip: the exe, data/ and
# README.txt, as the dev build makes them.
windows-zip: windows
	@mkdir -p build/packages
	@cp $(BUILD_DIR)/windows/duckdemo-*-windows-x64.zip build/packages/
	@echo "zip: $$(ls build/packages/duckdemo-*-windows-x64.zip)"

# build/web/: the page, its script, wasm and packed data, built with
# emscripten (the web preset); ?handheld shows the handheld's view, ?to=,
# ?from= and ?wish= the greeting, ?at=T the show at one time.
WEB_PORT ?= 8024
web: deps
	@cmake --preset web >/dev/null
	cmake --build --preset web -j $(JOBS)
	@echo "page: build/web/index.html"

serve-web: web
	@node scripts/serve_web.js build/web $(WEB_PORT)

# build/packages/duckdemo_<version>_amd64.deb, from an optimised, hardened
# build of the programs alone (the package preset).
package: deps
	@cmake --preset package >/dev/null
	cmake --build --preset package -j $(JOBS)
	@echo "package: $$(ls build/packages/duckdemo_*_amd64.deb)"

# The intro (74 s) and 10 s of the game as a video at 640 x 480, with no
# display needed: $(1).mp4, or PNG frames and audio.wav in $(1)-capture/
# where there is no ffmpeg; $(2) are more options for the program.
CAPTURE_SECONDS = 84
define capture_video
	if command -v ffmpeg >/dev/null; then out=$(1).mp4; else out=$(1)-capture; \
	  echo "no ffmpeg on the PATH: PNG frames and audio.wav go to $$out/"; rm -rf "$$out"; fi; \
	env -u DISPLAY $(BUILD_DIR)/duckdemo --double-size --capture "$$out" --duration $(CAPTURE_SECONDS) $(2); status=$$?; \
	[ $$status -le 1 ] || exit $$status; echo "capture: $$out"
endef

capture: build
	@$(call capture_video,build/duckdemo)

# The capture as a greeting to send: make greeting TO="anna" FROM="bob"
# (WISH="..." too) writes build/greeting-anna.mp4. The texts reach the
# program through the environment, so no quote in them can reach the shell.
greeting: build
	@if [ -z "$$TO" ]; then echo 'make greeting needs TO="name" (FROM="..." and WISH="..." may follow)' >&2; exit 2; fi; \
	name=$$(printf '%s' "$$TO" | tr 'A-Z' 'a-z' | tr -cs 'a-z0-9-' '-' | sed 's/^-*//; s/-*$$//'); \
	$(call capture_video,build/greeting-$${name:-greeting},--to "$$TO" $${FROM:+--from "$$FROM"} $${WISH:+--wish "$$WISH"})

# The song rendered once to a WAV file, to hear or measure anywhere.
song-wav: configure
	cmake --build --preset $(PRESET) --target assetgen
	$(BUILD_DIR)/tools/assetgen/assetgen --render-wav $(BUILD_DIR)/duck.wav
	@echo "song: $(BUILD_DIR)/duck.wav"

# Only the benchmark programs, the demo and its data, built optimised, then
# each run in turn; the last prints the speed goals' table and writes
# build/release/bench-summary.json.
bench:
	$(MAKE) PRESET=release configure
	cmake --build --preset release -j $(JOBS) --target run-benchmarks

asan:
	$(MAKE) PRESET=asan test

# Each fuzz target in turn from its seed corpus, for FUZZ_RUNS inputs
# (1,000,000) or FUZZ_SECONDS (600) each, whichever comes first; a finding
# fails it and is left in build/fuzz/fuzz/artifacts/.
FUZZ_RUNS ?= 1000000
FUZZ_SECONDS ?= 600
fuzz: deps
	@cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	RUNS=$(FUZZ_RUNS) SECONDS_EACH=$(FUZZ_SECONDS) bash fuzz/run_fuzzers.sh build/fuzz

# The contact sheet of the duck frames and the font, for a person to look at.
assets-preview: configure
	cmake --build --preset $(PRESET) --target assets-preview

# The tracked C++ sources; an empty list is a failure, never a pass.
SOURCES_LISTED = mkdir -p "$$TMPDIR"; sources=$$(git ls-files '*.cpp' '*.h') && [ -n "$$sources" ] || \
	{ echo "cannot list the sources with git ls-files: run this in a git checkout with git installed" >&2; exit 1; }

format:
	@$(SOURCES_LISTED); clang-format -i $$sources

# Names the tracked sources that make format would change; fails if any.
format-check:
	@$(SOURCES_LISTED); \
	if ! output=$$(clang-format --dry-run --Werror $$sources 2>&1); then \
	  names=$$(grep -E '^[^ ]+:[0-9]+:[0-9]+: error: code should be clang-formatted' <<<"$$output" | cut -d: -f1 | uniq); \
	  if [ -n "$$names" ]; then sed 's/^/not formatted: /' <<<"$$names"; else echo "$$output"; fi; \
	  exit 1; \
	fi

clean:
	rm -rf build
