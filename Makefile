# Korvane: `make run` builds and starts the program, `make test` runs every test.
JOBS      ?= $(shell nproc)
BUILD     ?= build
GEN       := -G Ninja

.PHONY: all deps build run test test-main test-tsan test-asan test-fuzz fuzz bench bench-convert bench-list screenshots clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(GEN) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/korvane-cli --help

test: deps test-main test-tsan test-asan test-fuzz

# A short fuzzing run keeps the fuzz target building and catches regressions.
test-fuzz:
	$(MAKE) fuzz FUZZ_SECONDS=60

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The engine's threads under ThreadSanitizer (no Qt in this build).
test-tsan: deps
	cmake -S . -B $(BUILD)-tsan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKORVANE_SANITIZE=thread -DKORVANE_ENGINE_ONLY=ON
	cmake --build $(BUILD)-tsan -j $(JOBS)
	cd $(BUILD)-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j $(JOBS) -L engine

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(BUILD)-asan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_SANITIZE=address
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
	  ctest --output-on-failure -j $(JOBS)

# Benchmarks: speed and memory figures, printed for the record.
bench: bench-convert bench-list

bench-convert: build
	@scripts/install-deps.sh --bench
	bench/convert_bench.sh $(BUILD)

bench-list: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/list_bench

# The MP4 reader against libFuzzer with AddressSanitizer and UBSan, seeded with
# the test fixtures; new inputs collect in fuzz-corpus/, crashes in build-fuzz/.
FUZZ_SECONDS ?= 60
FUZZ_FLAGS   := -std=c++20 -g -O1 -I. -fno-omit-frame-pointer \
                -fsanitize=fuzzer,address,undefined,unsigned-integer-overflow \
                -fno-sanitize-recover=all
fuzz: deps
	mkdir -p build-fuzz fuzz-corpus
	clang++ $(FUZZ_FLAGS) engine/mp4_reader.cpp tests/fuzz/mp4_reader_fuzz.cpp -lfaad \
	  -o build-fuzz/mp4_reader_fuzz
	build-fuzz/mp4_reader_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	  -print_final_stats=1 -artifact_prefix=build-fuzz/ fuzz-corpus tests/data

# Pictures of the windows in the states the UI tests reach, in build/screenshots/:
# on a real X server when xvfb-run is there, offscreen otherwise.
SHOTS := $(abspath $(BUILD))/screenshots
ifneq ($(shell command -v xvfb-run),)
SHOT_RUN := QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24"
else
SHOT_RUN := QT_QPA_PLATFORM=offscreen
endif
screenshots: build
	rm -rf $(SHOTS) && mkdir -p $(SHOTS)
	cd $(BUILD) && KORVANE_SCREENSHOT_DIR=$(SHOTS) $(SHOT_RUN) ctest -L ui --output-on-failure
	@ls $(SHOTS)

clean:
	rm -rf $(BUILD) $(BUILD)-tsan $(BUILD)-asan build-fuzz
