# Norvale: the two everyday commands are `make run` and `make test`; both set up
# everything they need on a fresh Debian 12 machine first.

PREFIX ?= /usr/local
CMAKE ?= cmake
CTEST ?= ctest

.PHONY: all deps build run test test-dev test-asan test-fuzz bench fuzz format format-check install package clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	$(CMAKE) --preset dev
	$(CMAKE) --build --preset dev

run: build
	@scripts/run.sh build/dev

test: deps format-check test-dev test-asan test-fuzz

# Each run also fails when a test skipped itself without being on
# tests/skips-allowed.txt.
test-dev:
	$(CMAKE) --preset dev
	$(CMAKE) --build --preset dev
	$(CTEST) --preset dev --output-junit junit.xml
	@scripts/check-skips.py build/dev/junit.xml

test-asan:
	$(CMAKE) --preset asan
	$(CMAKE) --build --preset asan
	$(CTEST) --preset asan --output-junit junit.xml
	@scripts/check-skips.py build/asan/junit.xml

# A few seconds of each fuzz target over its committed seed corpus.
test-fuzz:
	@scripts/fuzz-smoke.sh build/fuzz

bench:
	@scripts/install-deps.sh --bench
	$(CMAKE) --preset release
	$(CMAKE) --build --preset release
	@scripts/bench.sh build/release

fuzz: deps
	$(CMAKE) --preset fuzz
	$(CMAKE) --build --preset fuzz --target fuzz_targets
	@scripts/fuzz.sh build/fuzz $${FUZZ_SECONDS:-60}

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

install: deps
	$(CMAKE) --preset release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	$(CMAKE) --build --preset release
	$(CMAKE) --install build/release

# The package's own build: the programs only, no tests, benchmarks or tools.
package: deps
	$(CMAKE) --preset package
	$(CMAKE) --build --preset package
	cd build/package && cpack -G DEB

clean:
	rm -rf build
