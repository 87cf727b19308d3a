# Front door. `make run` builds and starts the game; `make test` builds and runs every test.
# Both install missing Debian packages first (scripts/install-deps).

JOBS      ?= $(shell nproc)
BUILD     ?= build
ASAN      ?= build-asan
FUZZ      ?= build-fuzz
FUZZ_SECONDS ?= 30
DATA_DIR  ?= $(BUILD)/run

.PHONY: run test deps build data unit asan xtests fuzz bench clean

run: build data
	cd $(DATA_DIR) && ../bin/zarvoth

test: build data unit asan xtests fuzz

deps:
	@./scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The game's data files are generated, never committed.
data: build
	./scripts/make-data $(BUILD) $(DATA_DIR)

unit: build
	ctest --test-dir $(BUILD) -L unit --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DZARVOTH_SANITIZE=ON -DZARVOTH_BENCH=OFF
	cmake --build $(ASAN) -j $(JOBS) --target zarvoth_tests
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN) -L unit --output-on-failure -j $(JOBS)

xtests: build data
	xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir $(BUILD) -L x11 --output-on-failure

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVOTH_FUZZ=ON -DZARVOTH_BENCH=OFF
	cmake --build $(FUZZ) -j $(JOBS) --target fuzz_targets
	./scripts/run-fuzzers $(FUZZ) $(FUZZ_SECONDS)

bench: build data
	./scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ)
