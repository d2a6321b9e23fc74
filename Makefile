# The two set-up commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2
DEMO_DIR ?= demo
# Optimised, without debug information: it makes a fresh build half as slow
# again. A tree for a debugger: cmake -S . -B build-debug -DCMAKE_BUILD_TYPE=Debug
BUILD_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"

.PHONY: demo test build configure deps arm-test board-package sanitize fuzz layers bench clean

deps:
	@./scripts/install-deps.sh base

configure: deps
	cmake -S . -B $(BUILD) $(BUILD_FLAGS) >/dev/null

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# A demo on the simulated board: starts okta80f-sim on a fresh directory,
# drives it with okta-host and shows the printed tape. It builds only those
# two programs: the tests and benchmarks come with `make test` and `make bench`.
demo: configure
	cmake --build $(BUILD) -j$(JOBS) --target okta80f-sim okta-host
	./scripts/demo.sh $(BUILD) $(DEMO_DIR)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Every include points down the folder order of layers.txt.
layers:
	./scripts/check-layers.sh

# The board build: ARM cross compile and its unit tests under qemu-arm.
arm-test:
	@./scripts/install-deps.sh base arm
	cmake -S . -B $(BUILD)-arm -DCMAKE_TOOLCHAIN_FILE=cmake/arm-linux-gnueabihf.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD)-arm -j$(JOBS)
	cd $(BUILD)-arm && ctest --output-on-failure -j$(JOBS) -L unit

# The board package: the ARM build of the register program with its systemd
# unit, its init script and the service engineer's page (docs/board.md),
# laid out under $(BUILD)-arm/board-package/ as on the board's root.
board-package:
	@./scripts/install-deps.sh base arm
	cmake -S . -B $(BUILD)-arm -DCMAKE_TOOLCHAIN_FILE=cmake/arm-linux-gnueabihf.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD)-arm -j$(JOBS) --target okta80f
	rm -rf $(BUILD)-arm/board-package
	cmake --install $(BUILD)-arm --component board --prefix $(BUILD)-arm/board-package
	tar -czf $(BUILD)-arm/okta80f-board.tar.gz -C $(BUILD)-arm/board-package .

# The sanitizer trees (clang): AddressSanitizer with UndefinedBehaviorSanitizer
# over every test, ThreadSanitizer over the tests where threads meet.
sanitize:
	@./scripts/install-deps.sh base sanitize
	JOBS=$(JOBS) ./scripts/sanitize.sh

# The fuzz targets of fuzz/ (clang with libFuzzer) under AddressSanitizer
# and UndefinedBehaviorSanitizer: each runs its regression inputs, then
# fuzzes for FUZZ_SECONDS from its seed corpus; any finding fails.
FUZZ_SECONDS ?= 60
fuzz:
	@./scripts/install-deps.sh base sanitize
	JOBS=$(JOBS) FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/fuzz.sh

bench: build
	$(BUILD)/bench/bench_roundtrip
	$(BUILD)/bench/bench_archive
	$(BUILD)/bench/bench_fiscal_day
	$(BUILD)/bench/bench_crash_sweep
	$(BUILD)/bench/bench_hostile_host
	$(BUILD)/bench/bench_soak

clean:
	rm -rf $(BUILD) $(BUILD)-arm build-asan build-tsan build-fuzz $(DEMO_DIR)
