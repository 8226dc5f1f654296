# Kivrel: `make run` and `make test` do all the set-up on a fresh Debian 12 machine.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 600

.PHONY: all deps build run test package bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@BUILD_DIR=$(BUILD_DIR) scripts/run-main.sh

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package, $(BUILD_DIR)/kivrel_VERSION_ARCH.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

# Each fuzz target for FUZZ_SECONDS seconds, one after the other.
fuzz: build
	fuzz/run.sh word_list_file $(BUILD_DIR)/fuzz seconds $(FUZZ_SECONDS)
	fuzz/run.sh puzzle_file $(BUILD_DIR)/fuzz seconds $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR)
