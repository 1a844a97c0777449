# Front door. Everything installs what it needs on a Debian 12 machine.
BUILD ?= build
JOBS  ?= $(shell nproc)
export WINEPREFIX := $(abspath $(BUILD))/wineprefix

.PHONY: all deps build dist run test check bench soak fuzz clean

all: build

deps:
	@scripts/deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

dist: build
	scripts/dist.sh $(BUILD)

run: dist
	scripts/run.sh $(BUILD)

# The native sanitizer build and short fuzz runs first, then the Wine tests,
# whose closing lines stay the last ones printed.
test: dist
	@scripts/native.sh $(BUILD) test; native=$$?; \
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j 2; wine=$$?; \
	[ $$native = 0 ] || echo "make test: native sanitizer/fuzz tests FAILED (see above)"; \
	[ $$native = 0 ] && [ $$wine = 0 ]

# The fast path: the native sanitizer build with its unit tests (no fuzzing),
# then the unit-test programs under Wine and the layers check; no end-to-end test.
check: build
	@scripts/native.sh $(BUILD) unit; native=$$?; \
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j 2 -E '^e2e_'; wine=$$?; \
	[ $$native = 0 ] || echo "make check: native sanitizer tests FAILED (see above)"; \
	[ $$native = 0 ] && [ $$wine = 0 ]

fuzz: deps
	scripts/native.sh $(BUILD) fuzz

# HISTORY: day-mode statistic.ini files the forecast's backtest replays
# beside its synthetic households.
bench: dist
	VTC_BENCH_HISTORY="$(HISTORY)" scripts/with-display.sh scripts/bench.sh $(BUILD)

soak: dist
	scripts/with-display.sh scripts/soak.sh $(BUILD)

clean:
	rm -rf $(BUILD)
