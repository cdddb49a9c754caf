# Two commands do everything on a fresh Debian machine:
#   make run   - install what is missing, build, start the downloader
#   make test  - install what is missing, build with the sanitizers, run every test
SHELL := /bin/bash
JOBS ?= $(shell nproc)
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true

.PHONY: all deps run test bench build clean

all: build

deps:
	@scripts/install-deps.sh

build/release/build.ninja: | deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)

run: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS) --target velmora_d
	./build/release/app/velmora_d

test: deps
	cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEL_SANITIZE=ON
	cmake --build build/asan -j $(JOBS)
	cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure --timeout 300 -j $(JOBS)

bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEL_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	@for b in build/bench/bench/bench_*; do [ -x "$$b" ] && "$$b" || true; done

clean:
	rm -rf build
