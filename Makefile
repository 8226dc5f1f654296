# Kivrel: `make run` and `make test` do all the set-up on a fresh Debian 12 machine.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 600

SANITIZE_DIR ?= $(BUILD_DIR)-sanitize
# An allocation past a test's memory limit fails as it would without the sanitizer (the
# test expects it to); libstdc++ 12's stable_sort frees its buffer in a way ASan takes
# for a mismatch.
SANITIZE_OPTIONS ?= allocator_may_return_null=1:alloc_dealloc_mismatch=0

.PHONY: all deps build run test sanitize package bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh

# Clang: its build of each search is 4 to 10% faster than GCC's, the same puzzles
# (docs/performance.md, "Built with clang").
CXX_RELEASE ?= clang++

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=$(CXX_RELEASE)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@BUILD_DIR=$(BUILD_DIR) scripts/run-main.sh

# Every test has a time limit of its own; --timeout is the limit of any test left without.
test: build sanitize
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 30 -j $(JOBS)

# The core library and its tests built with AddressSanitizer and UndefinedBehaviorSanitizer
# (no Qt, no windows: a few minutes), where any fault they find fails the test. Warnings
# stay warnings here: GCC reports false ones in the standard library under the sanitizers.
# Built with GCC, so that the search built for VBMI2 is checked against the plain one
# with the instructions GCC's build writes out for it as well as with clang's.
sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVREL_SANITIZE=ON -DCMAKE_CXX_COMPILER=g++ \
	  -DKIVREL_CORE_TESTS_ONLY=ON -DKIVREL_BUILD_BENCH=OFF -DKIVREL_BUILD_FUZZ=OFF -DKIVREL_WERROR=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS) --target kivrel_core_tests
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=$(SANITIZE_OPTIONS) ctest --output-on-failure -L core -j $(JOBS)

# The Debian package, $(BUILD_DIR)/kivrel_VERSION_ARCH.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Every benchmark program in turn; a program that fails fails the target.
bench: build
	@status=0; for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] || continue; "$$b" || status=1; done; exit $$status

# Each fuzz target for FUZZ_SECONDS seconds, one after the other.
fuzz: build
	fuzz/run.sh word_list_file $(BUILD_DIR)/fuzz seconds $(FUZZ_SECONDS)
	fuzz/run.sh puzzle_file $(BUILD_DIR)/fuzz seconds $(FUZZ_SECONDS)
	fuzz/run.sh build_search $(BUILD_DIR)/fuzz seconds $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
