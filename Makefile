# Korvane: `make run` builds and starts the program, `make test` runs every test.
JOBS      ?= $(shell nproc)
BUILD     ?= build
GEN       := -G Ninja

.PHONY: all deps build run test test-main test-tsan test-asan screenshots clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(GEN) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/korvane-cli --help

test: deps test-main test-tsan test-asan

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
	rm -rf $(BUILD) $(BUILD)-tsan $(BUILD)-asan
