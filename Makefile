# The front door. `make test` is what CI runs; `make run` starts the demo.
PRESET ?= dev
JOBS ?= $(shell nproc)
BUILD_DIR := build/$(PRESET)

.PHONY: all deps configure build test run bench asan format clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

test: build
	ctest --preset $(PRESET) -j $(JOBS)

run: build
	@if [ -x $(BUILD_DIR)/duckdemo ]; then $(BUILD_DIR)/duckdemo $(ARGS); \
	else echo "duckdemo: the desktop program is not built yet (the desktop layer has not landed)"; fi

bench:
	$(MAKE) PRESET=release build
	@for b in build/release/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

asan:
	$(MAKE) PRESET=asan test

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
