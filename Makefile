# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: setup configure build test run bench clean

setup:
	@bash scripts/setup-deps

# Configures once; given CMAKE_FLAGS, configures again so the new values take effect.
configure:
	@if [ ! -f $(BUILD_DIR)/build.ninja ] || [ -n "$(CMAKE_FLAGS)" ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS); fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: setup build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2

bench: setup configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target korvel_benchmarks

run: setup build
	@bash scripts/run-demo $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
