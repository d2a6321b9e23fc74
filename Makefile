# The two set-up commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2
DEMO_DIR ?= demo

.PHONY: demo test build deps arm-test bench clean

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

# A demo on the simulated board: starts okta80f-sim on a fresh directory,
# drives it with okta-host and shows the printed tape.
demo: build
	./scripts/demo.sh $(BUILD) $(DEMO_DIR)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The board build: ARM cross compile and its unit tests under qemu-arm.
arm-test: deps
	cmake -S . -B $(BUILD)-arm -DCMAKE_TOOLCHAIN_FILE=cmake/arm-linux-gnueabihf.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD)-arm -j$(JOBS)
	cd $(BUILD)-arm && ctest --output-on-failure -j$(JOBS) -L unit

bench: build
	$(BUILD)/bench/bench_roundtrip

clean:
	rm -rf $(BUILD) $(BUILD)-arm $(DEMO_DIR)
