# make run: install what is missing, build, count the bundled sample.
# make gui: the same, then start the desktop program.
# make test: install what is missing, build, run every test.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# make fuzz: build the libFuzzer programs (clang, ASan+UBSan) in build-fuzz.
# make test-sanitize: build and run every test under ASan+UBSan in build-sanitize.
.PHONY: all deps configure build run gui test bench clean fuzz test-sanitize

all: build

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/talq count

gui: build
	$(BUILD)/src/ui/talq-gui

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	bash bench/run-all.sh

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTALQ_FUZZ=ON -DTALQ_BUILD_GUI=OFF -DTALQ_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzzers

test-sanitize: deps
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALQ_SANITIZE=ON \
	  -DTALQ_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) build-fuzz build-sanitize
